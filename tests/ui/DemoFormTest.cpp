// A small form built from a form resource, driven end to end the way a person (or an
// automating host) would: through window handles and messages only.
#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "platform/WinMessages.h"
#include "tests/ui/ControlInput.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/Edit.h"
#include "ui/Forms.h"
#include "ui/PageControl.h"

namespace ox {
namespace {

constexpr std::string_view kDemoResource = R"(object frmDemo: TfrmDemo
  Left = 192
  Top = 120
  Width = 420
  Height = 260
  Caption = '材料差异汇总表'
  KeyPreview = True
  ActiveControl = edName
  OnKeyDown = FormKeyDown
  object pgOption: TPageControl
    Left = 0
    Top = 0
    Width = 412
    Height = 190
    Align = alClient
    object tsOption1: TTabSheet
      Caption = '条件'
      object edName: TEdit
        Left = 80
        Top = 16
        Width = 121
        Height = 21
        TabOrder = 0
        OnExit = edNameExit
      end
      object chk03: TCheckBox
        Left = 80
        Top = 48
        Width = 97
        Height = 17
        Caption = '分别列示'
        TabOrder = 1
      end
    end
  end
  object btnOk: TButton
    Left = 240
    Top = 200
    Width = 75
    Height = 25
    Caption = '确定'
    Default = True
    TabOrder = 1
    OnClick = btnOkClick
  end
  object btnCancel: TButton
    Left = 320
    Top = 200
    Width = 75
    Height = 25
    Caption = '取消'
    Cancel = True
    ModalResult = 2
    TabOrder = 2
  end
end
)";

class TfrmDemo : public TForm {
 public:
  OX_CLASS_INFO()
  using TForm::TForm;

  void btnOkClick(TObject*) {
    log += "ok ";
    SetModalResult(mrOk);
  }
  void edNameExit(TObject* sender) { log += "exit:" + static_cast<TEdit*>(sender)->Text() + " "; }
  void FormKeyDown(TObject*, std::uint16_t& key, TShiftState) {
    if (key == VK_F2) {
      log += "F2 ";
      key = 0;
    }
  }

  std::string log;

 protected:
  std::string_view ResourceText() const override { return kDemoResource; }
};

const ClassInfo& TfrmDemo::StaticClassInfo() {
  static const ClassInfo info = ClassBuilder<TfrmDemo>("TfrmDemo", &TForm::StaticClassInfo())
                                    .handler<&TfrmDemo::btnOkClick>("btnOkClick")
                                    .handler<&TfrmDemo::edNameExit>("edNameExit")
                                    .handler<&TfrmDemo::FormKeyDown>("FormKeyDown")
                                    .build();
  return info;
}

HWND Find(TCustomForm& form, std::string_view name) {
  return FindChildWindow(form.Handle(), name);
}

TEST(DemoForm, IsBuiltFromItsResourceAndDrivenThroughHandles) {
  Owned<TfrmDemo> form(CreateForm<TfrmDemo>(nullptr));
  EXPECT_EQ(form->Caption(), Gb("材料差异汇总表"));
  auto* edName = static_cast<TEdit*>(form->FindComponent("edName"));
  auto* chk03 = static_cast<TCheckBox*>(form->FindComponent("chk03"));
  ASSERT_NE(edName, nullptr);
  ASSERT_NE(chk03, nullptr);
  EXPECT_EQ(edName->Parent()->Name(), "tsOption1");

  Application().SetModalDriver([&](TCustomForm& modal) {
    // Type into the active edit, Tab to the check box and tick it with Space, use a
    // previewed key, then confirm with Enter (the default button).
    HWND focus = GetFocusWindow();
    EXPECT_EQ(focus, Find(modal, "edName"));
    test::Type(focus, "WO-001");
    test::Press(focus, VK_TAB);
    EXPECT_EQ(GetFocusWindow(), Find(modal, "chk03"));
    test::Press(VK_SPACE);
    test::Press(VK_F2);
    test::Press(VK_RETURN);
    return true;
  });
  EXPECT_EQ(form->ShowModal(), mrOk);
  Application().SetModalDriver(nullptr);
  EXPECT_EQ(edName->Text(), "WO-001");
  EXPECT_TRUE(chk03->Checked());
  EXPECT_EQ(form->log, "exit:WO-001 F2 ok ");
}

TEST(DemoForm, EscapeClicksTheCancelButtonAndClosingFreesTheForm) {
  TfrmDemo* form = CreateForm<TfrmDemo>(nullptr);
  Application().SetModalDriver([](TCustomForm&) {
    test::Press(VK_ESCAPE);
    return true;
  });
  EXPECT_EQ(form->ShowModal(), mrCancel);
  Application().SetModalDriver(nullptr);

  // Closing a shown form through its window frees it when OnClose says so.
  struct FreeOnClose {
    void Close(TObject*, TCloseAction& action) { action = TCloseAction::caFree; }
  } freeOnClose;
  form->OnClose = MakeMethod<&FreeOnClose::Close>(&freeOnClose);
  form->Show();
  HWND handle = form->Handle();
  ComponentRef<TfrmDemo> ref(form);
  PostMessage(handle, WM_CLOSE, 0, 0);
  ProcessMessages();
  EXPECT_EQ(ref.get(), nullptr);
  EXPECT_FALSE(IsWindow(handle));
}

}  // namespace
}  // namespace ox
