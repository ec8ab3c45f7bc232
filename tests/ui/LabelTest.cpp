#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/ControlInput.h"
#include "ui/Canvas.h"
#include "ui/Edit.h"
#include "ui/FormReader.h"
#include "ui/Forms.h"
#include "ui/Label.h"

namespace ox {
namespace {

class LabelTest : public ::testing::Test {
 protected:
  LabelTest() {
    form->SetBounds(0, 0, 400, 300);
    label->SetName("lblName");
    label->SetParent(form.get());
    edit->SetName("edName");
    edit->SetParent(form.get());
    other->SetName("edOther");
    other->SetParent(form.get());
    label->SetFocusControl(edit);
  }
  int TextWidth(const std::string& text) const {
    TCanvas canvas;
    canvas.Font().Assign(*label->Font());
    return canvas.TextWidth(text);
  }

  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TLabel* label = new TLabel(form.get());
  TEdit* edit = new TEdit(form.get());
  TEdit* other = new TEdit(form.get());
};

TEST_F(LabelTest, AutoSizeFitsTheCaptionAndKeepsTheAlignedEdge) {
  struct Case {
    const char* name;
    std::string caption;
    TAlignment alignment;
    bool showAccelChar;
    bool autoSize;
    int width;  // expected; -1: the shown text's width
    std::string shown;
  };
  const std::vector<Case> cases{
      {"plain", "Name", TAlignment::taLeftJustify, true, true, -1, "Name"},
      {"the accelerator mark takes no room", "&Name", TAlignment::taLeftJustify, true, true, -1,
       "Name"},
      {"without accelerators the mark is text", "&Name", TAlignment::taLeftJustify, false, true, -1,
       "&Name"},
      {"an empty caption keeps a blank's width", "", TAlignment::taLeftJustify, true, true, -1,
       " "},
      {"without AutoSize the size stays", "Name", TAlignment::taLeftJustify, true, false, 100, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    label->SetAutoSize(false);
    label->SetBounds(50, 10, 100, 30);
    label->SetShowAccelChar(c.showAccelChar);
    label->SetAlignment(c.alignment);
    label->SetCaption(c.caption);
    label->SetAutoSize(c.autoSize);
    EXPECT_EQ(label->Width(), c.width < 0 ? TextWidth(c.shown) : c.width);
    EXPECT_EQ(label->Left(), 50);
  }
  // A right-justified label grows to the left; the font's height sets its height.
  label->SetAutoSize(false);
  label->SetBounds(50, 10, 100, 30);
  label->SetAlignment(TAlignment::taRightJustify);
  label->SetAutoSize(true);
  const int width = TextWidth("Name");
  EXPECT_EQ(label->BoundsRect(), (TRect{150 - width, 10, 150, 10 + label->Height()}));
  label->Font()->SetHeight(-20);
  EXPECT_GT(label->Width(), width);
  EXPECT_EQ(label->BoundsRect().Right, 150);

  // Several lines take the widest one's width.
  label->SetAlignment(TAlignment::taLeftJustify);
  label->SetCaption("a\r\nwider line");
  EXPECT_EQ(label->Width(), TextWidth("wider line"));
}

TEST_F(LabelTest, TheAcceleratorFocusesTheFocusControl) {
  label->SetCaption("&Name");
  form->Show();
  EXPECT_TRUE(edit->Focused());
  other->SetFocus();
  test::PressAlt(*other, 'n');
  EXPECT_TRUE(edit->Focused());

  struct Case {
    const char* name;
    bool labelEnabled;
    bool showAccelChar;
    bool editEnabled;
  };
  const std::vector<Case> refused{
      {"a disabled label", false, true, true},
      {"accelerators off", true, false, true},
      {"a disabled control", true, true, false},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(c.name);
    label->SetEnabled(c.labelEnabled);
    label->SetShowAccelChar(c.showAccelChar);
    edit->SetEnabled(c.editEnabled);
    other->SetFocus();
    test::PressAlt(*other, 'n');
    EXPECT_TRUE(other->Focused());
    label->SetEnabled(true);
    label->SetShowAccelChar(true);
    edit->SetEnabled(true);
  }

  // A freed control is forgotten.
  edit->Free();
  EXPECT_EQ(label->FocusControl(), nullptr);
  test::PressAlt(*other, 'n');
  EXPECT_TRUE(other->Focused());
}

TEST_F(LabelTest, FormResourcesResolveTheFocusControlAndSizeOnceRead) {
  ReadComponentResource(*form, R"(object frm: TForm
  object lbl01: TLabel
    Left = 8
    Top = 4
    Width = 200
    Height = 40
    Caption = '&Year'
    FocusControl = ed01
    Layout = tlCenter
    Transparent = True
  end
  object ed01: TEdit
    Left = 60
  end
end
)");
  auto* lbl01 = dynamic_cast<TLabel*>(form->FindComponent("lbl01"));
  ASSERT_NE(lbl01, nullptr);
  EXPECT_EQ(lbl01->FocusControl(), form->FindComponent("ed01"));
  EXPECT_EQ(lbl01->Width(), TextWidth("Year"));
  EXPECT_EQ(lbl01->Layout(), TTextLayout::tlCenter);
  EXPECT_TRUE(lbl01->Transparent());
}

}  // namespace
}  // namespace ox
