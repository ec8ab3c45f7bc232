#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "tests/ui/ControlInput.h"
#include "ui/BitBtn.h"
#include "ui/Button.h"
#include "ui/Edit.h"
#include "ui/FormReader.h"
#include "ui/Forms.h"
#include "ui/SpeedButton.h"

namespace ox {
namespace {

using test::ClickAt;
using test::Press;
using test::PressAlt;

// Records clicks and exits as "name " words, and what a click saw of the form.
struct Log {
  std::string text;
  TModalResult resultSeen = -1;
  TModalResult keepOpenWith = -1;  // a click handler resets the modal result to this
  TWinControl* activeOnExit = nullptr;
  bool refuseExit = false;

  void Clicked(TObject* sender) {
    auto* control = static_cast<TControl*>(sender);
    text += control->Name() + " ";
    if (auto* speed = dynamic_cast<TSpeedButton*>(control)) text += speed->Down() ? "v " : "^ ";
    if (TCustomForm* form = control->ParentForm()) {
      resultSeen = form->ModalResult();
      if (keepOpenWith >= 0) form->SetModalResult(keepOpenWith);
    }
  }
  void Exited(TObject* sender) {
    auto* control = static_cast<TWinControl*>(sender);
    activeOnExit = control->ParentForm()->ActiveControl();
    if (refuseExit) control->SetFocus();
  }
};

class ButtonTest : public ::testing::Test {
 protected:
  ButtonTest() { form->SetBounds(0, 0, 400, 300); }

  template <typename T>
  T* Add(const char* name, int top, TWinControl* parent = nullptr) {
    auto* control = new T(form.get());
    control->SetName(name);
    control->SetParent(parent != nullptr ? parent : form.get());
    control->SetTop(top);
    control->OnClick = MakeMethod<&Log::Clicked>(&log);
    return control;
  }

  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  Log log;
};

TEST_F(ButtonTest, AClickSetsTheFormsModalResultBeforeOnClick) {
  auto* ok = Add<TButton>("ok", 0);
  auto* plain = Add<TButton>("plain", 30);
  ok->SetModalResult(mrOk);

  // The modal driver clicks as a person would; a handler may keep the form open.
  int rounds = 0;
  log.keepOpenWith = mrNone;
  Application().SetModalDriver([&](TCustomForm&) {
    if (++rounds == 2) log.keepOpenWith = -1;
    ClickAt(*ok, 5, 5);
    return true;
  });
  EXPECT_EQ(form->ShowModal(), mrOk);
  Application().SetModalDriver(nullptr);
  EXPECT_EQ(rounds, 2);
  EXPECT_EQ(log.resultSeen, mrOk);
  EXPECT_EQ(log.text, "ok ok ");

  // A button without a modal result leaves the form's alone.
  form->SetModalResult(mrRetry);
  plain->Click();
  EXPECT_EQ(form->ModalResult(), mrRetry);
}

TEST_F(ButtonTest, EnterAndEscapeGoToTheDefaultAndCancelButtons) {
  auto* edit = Add<TEdit>("edit", 0);
  auto* def = Add<TButton>("def", 30);
  auto* cancel = Add<TButton>("cancel", 60);
  auto* other = Add<TButton>("other", 90);
  def->SetDefault(true);
  cancel->SetCancel(true);
  struct Case {
    const char* name;
    TWinControl* focus;
    std::uint16_t key;
    TShiftState shift;
    TButton* disabled;
    TButton* hidden;
    std::string clicked;
  };
  const std::vector<Case> cases{
      {"enter in an edit", edit, VK_RETURN, 0, nullptr, nullptr, "def "},
      {"escape in an edit", edit, VK_ESCAPE, 0, nullptr, nullptr, "cancel "},
      {"enter on a focused button clicks that one", other, VK_RETURN, 0, nullptr, nullptr,
       "other "},
      {"escape on a focused button still cancels", other, VK_ESCAPE, 0, nullptr, nullptr,
       "cancel "},
      {"a disabled default button", edit, VK_RETURN, 0, def, nullptr, ""},
      {"a hidden cancel button", edit, VK_ESCAPE, 0, nullptr, cancel, ""},
      {"with a modifier held", edit, VK_RETURN, ssShift, nullptr, nullptr, ""},
      {"space clicks the focused button", other, VK_SPACE, 0, nullptr, nullptr, "other "},
      {"space in an edit types", edit, VK_SPACE, 0, nullptr, nullptr, ""},
  };
  form->Show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (TButton* button : {def, cancel, other}) {
      button->SetEnabled(button != c.disabled);
      button->SetVisible(button != c.hidden);
    }
    c.focus->SetFocus();
    log.text.clear();
    Press(c.key, c.shift);
    EXPECT_EQ(log.text, c.clicked);
    EXPECT_TRUE(c.focus->Focused());
  }
  EXPECT_EQ(edit->Text(), " ");
}

TEST_F(ButtonTest, AnAcceleratorClicksWithoutTakingTheFocus) {
  auto* edit = Add<TEdit>("edit", 0);
  auto* panel = Add<TWinControl>("panel", 30);
  auto* save = Add<TButton>("save", 0, panel);
  auto* amp = Add<TButton>("amp", 60);
  save->SetCaption("&Save");
  amp->SetCaption("A&&B");  // "&&" is no accelerator
  form->Show();
  edit->SetFocus();
  for (char key : {'s', 'S', 'b', 'x'})
    PressAlt(*edit, key);
  EXPECT_EQ(log.text, "save save ");
  EXPECT_TRUE(edit->Focused());
  save->SetEnabled(false);
  PressAlt(*edit, 's');
  EXPECT_EQ(log.text, "save save ");
}

TEST_F(ButtonTest, APressTakesTheFocusAndAKeptFocusCancelsTheClick) {
  auto* edit = Add<TEdit>("edit", 0);
  auto* cancel = Add<TButton>("btnCancel", 30);
  edit->OnExit = MakeMethod<&Log::Exited>(&log);
  form->Show();
  ClickAt(*cancel, 5, 5);
  // The edit is left before the click: its OnExit already sees the button as active.
  EXPECT_EQ(log.activeOnExit, cancel);
  EXPECT_EQ(log.text, "btnCancel ");
  EXPECT_TRUE(cancel->Focused());

  edit->SetFocus();
  log.text.clear();
  log.refuseExit = true;
  ClickAt(*cancel, 5, 5);
  EXPECT_EQ(log.text, "");
  EXPECT_TRUE(edit->Focused());

  // A release outside the button is no click either.
  log.refuseExit = false;
  SendMessage(cancel->Handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
  SendMessage(cancel->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
  EXPECT_EQ(log.text, "");
}

TEST_F(ButtonTest, BitmapButtonKindsGiveCaptionResultAndRole) {
  struct Case {
    TBitBtnKind kind;
    std::string caption;
    TModalResult result;
    bool isDefault;
    bool isCancel;
  };
  const std::vector<Case> cases{
      {TBitBtnKind::bkOK, "OK", mrOk, true, false},
      {TBitBtnKind::bkCancel, "Cancel", mrCancel, false, true},
      {TBitBtnKind::bkYes, "&Yes", mrYes, true, false},
      {TBitBtnKind::bkNo, "&No", mrNo, false, true},
      {TBitBtnKind::bkHelp, "&Help", mrNone, false, false},
      {TBitBtnKind::bkClose, "&Close", mrNone, false, false},
      {TBitBtnKind::bkAbort, "Abort", mrAbort, false, false},
      {TBitBtnKind::bkRetry, "&Retry", mrRetry, false, false},
      {TBitBtnKind::bkIgnore, "&Ignore", mrIgnore, false, false},
      {TBitBtnKind::bkAll, "&All", mrAll, false, false},
  };
  auto* button = Add<TBitBtn>("bit", 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    button->SetKind(c.kind);
    EXPECT_EQ(button->Kind(), c.kind);
    EXPECT_EQ(button->Caption(), c.caption);
    EXPECT_EQ(button->ModalResult(), c.result);
    EXPECT_EQ(button->Default(), c.isDefault);
    EXPECT_EQ(button->Cancel(), c.isCancel);
    EXPECT_EQ(button->NumGlyphs(), 2);
  }
  // Changing what the kind gave makes the button a custom one.
  button->SetKind(TBitBtnKind::bkOK);
  button->SetModalResult(mrNone);
  EXPECT_EQ(button->Kind(), TBitBtnKind::bkCustom);
  button->SetKind(TBitBtnKind::bkOK);
  EXPECT_EQ(button->ModalResult(), mrOk);
  TBitmap picture;
  picture.SetSize(16, 16);
  button->SetGlyph(&picture);
  EXPECT_EQ(button->Kind(), TBitBtnKind::bkCustom);
}

TEST_F(ButtonTest, ACloseButtonClosesItsFormInsteadOfClicking) {
  auto* close = Add<TBitBtn>("close", 0);
  close->SetKind(TBitBtnKind::bkClose);
  form->Show();
  ClickAt(*close, 5, 5);
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(log.text, "");
}

TEST_F(ButtonTest, FormResourcesKeepTheCaptionBeforeTheKind) {
  ReadComponentResource(*form, R"(object frm: TForm
  object btnOk: TBitBtn
    Caption = #30830#23450
    TabOrder = 0
    Kind = bkOK
    NumGlyphs = 2
    Spacing = 6
  end
  object btnCancel: TButton
    Caption = #21462#28040
    Cancel = True
    ModalResult = 2
  end
end
)");
  auto* ok = dynamic_cast<TBitBtn*>(form->FindComponent("btnOk"));
  auto* cancel = dynamic_cast<TButton*>(form->FindComponent("btnCancel"));
  ASSERT_NE(ok, nullptr);
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(ok->Caption(), Gb("确定"));
  EXPECT_EQ(ok->Kind(), TBitBtnKind::bkOK);
  EXPECT_EQ(ok->ModalResult(), mrOk);
  EXPECT_TRUE(ok->Default());
  EXPECT_EQ(ok->Spacing(), 6);
  EXPECT_EQ(cancel->Caption(), Gb("取消"));
  EXPECT_EQ(cancel->ModalResult(), mrCancel);
  EXPECT_TRUE(cancel->Cancel());
}

TEST(ButtonGlyphTest, TheGlyphCountFollowsTheBitmapShape) {
  struct Case {
    int width;
    int height;
    int count;
  };
  const std::vector<Case> cases{{26, 13, 2}, {30, 13, 3}, {13, 13, 1}, {52, 13, 4},
                                {65, 13, 1}, {39, 13, 3}, {0, 0, 3}};
  TButtonGlyph glyph;
  glyph.SetNumGlyphs(3);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    TBitmap bitmap;
    bitmap.SetSize(c.width, c.height);
    glyph.SetNumGlyphs(3);
    glyph.SetGlyph(&bitmap);
    EXPECT_EQ(glyph.NumGlyphs(), c.count);
    EXPECT_EQ(glyph.Glyph()->Width(), c.width);
  }
  glyph.SetNumGlyphs(9);
  EXPECT_EQ(glyph.NumGlyphs(), 4);
  glyph.SetNumGlyphs(0);
  EXPECT_EQ(glyph.NumGlyphs(), 1);
}

TEST_F(ButtonTest, SpeedButtonsOfAGroupStayDownOneAtATime) {
  auto* edit = Add<TEdit>("edit", 100);
  auto* a = Add<TSpeedButton>("a", 0);
  auto* b = Add<TSpeedButton>("b", 30);
  auto* c = Add<TSpeedButton>("c", 60);
  auto* elsewhere = Add<TSpeedButton>("x", 0, Add<TWinControl>("panel", 150));
  for (TSpeedButton* button : {a, b, elsewhere})
    button->SetGroupIndex(1);
  c->SetGroupIndex(2);
  elsewhere->SetDown(true);
  edit->OnExit = MakeMethod<&Log::Exited>(&log);
  form->Show();

  const auto click = [&](TSpeedButton* button) {
    ClickAt(*form, button->Left() + 2, button->Top() + 2);
  };
  click(a);
  click(b);
  click(b);  // a down button stays down without AllowAllUp
  click(c);
  EXPECT_EQ(log.text, "a v b v b v c v ");
  EXPECT_FALSE(a->Down());
  EXPECT_TRUE(b->Down());
  EXPECT_TRUE(c->Down());
  EXPECT_TRUE(elsewhere->Down());  // another parent is another group
  EXPECT_TRUE(edit->Focused());    // speed buttons never take the focus
  EXPECT_EQ(log.activeOnExit, nullptr);

  // AllowAllUp set on one button holds for the whole group.
  a->SetAllowAllUp(true);
  log.text.clear();
  click(b);
  EXPECT_EQ(log.text, "b ^ ");
  EXPECT_FALSE(b->Down());

  // Without a group a button never stays down; the accelerator clicks it.
  auto* plain = Add<TSpeedButton>("plain", 200);
  plain->SetCaption("&Go");
  plain->SetDown(true);
  EXPECT_FALSE(plain->Down());
  log.text.clear();
  PressAlt(*edit, 'g');
  EXPECT_EQ(log.text, "plain ^ ");
}

}  // namespace
}  // namespace ox
