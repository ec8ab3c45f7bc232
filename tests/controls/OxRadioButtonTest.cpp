#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/ControlClasses.h"
#include "controls/OxRadioButton.h"
#include "tests/ui/ControlInput.h"
#include "ui/Canvas.h"
#include "ui/FormReader.h"
#include "ui/Forms.h"

namespace ox {
namespace {

using test::ClickAt;

TEST(OxRadioButton, CaptionOffsetGrowsWithTheFontSize) {
  struct Case {
    int points;
    int offset;
  };
  for (const Case& c : std::vector<Case>{{0, 44},  {1, 17},  {8, 17},  {9, 19},  {15, 19}, {16, 20},
                                         {17, 20}, {18, 21}, {23, 21}, {24, 23}, {29, 23}, {30, 25},
                                         {35, 25}, {36, 27}, {41, 27}, {42, 29}, {43, 29}, {44, 31},
                                         {60, 31}, {61, 39}, {80, 39}, {81, 44}, {-9, 44}}) {
    SCOPED_TRACE(c.points);
    EXPECT_EQ(RadioCaptionOffset(c.points), c.offset);
  }
}

class OxRadioButtonTest : public ::testing::Test {
 protected:
  OxRadioButtonTest() {
    form->SetBounds(0, 0, 300, 200);
    auto* panel = new TWinControl(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, 200, 100);
    for (const char* name : {"rbA", "rbB", "rbC"}) {
      auto* button = new TOxRadioButton(form.get());
      button->SetName(name);
      button->SetParent(panel);
      button->SetBounds(0, 20 * static_cast<int>(buttons.size()), 113, 17);
      button->OnClick = MakeMethod<&test::Recorder::Clicked>(&recorder);
      buttons.push_back(button);
    }
  }

  std::string Checked() const {
    std::string names;
    for (const TOxRadioButton* button : buttons)
      if (button->Checked()) names += button->Name() + " ";
    return names;
  }

  test::Recorder recorder;
  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  std::vector<TOxRadioButton*> buttons;
};

TEST_F(OxRadioButtonTest, StartsAsThePlatformButtonDoes) {
  const TOxRadioButton& button = *buttons[0];
  EXPECT_EQ(button.Width(), 113);
  EXPECT_EQ(button.Height(), 17);
  EXPECT_FALSE(button.Checked());
  EXPECT_FALSE(button.TabStop());
  EXPECT_EQ(button.Alignment(), TAlignment::taRightJustify);
}

TEST_F(OxRadioButtonTest, CheckingOneUnchecksItsSiblingsWithOneClick) {
  buttons[0]->SetChecked(true);
  EXPECT_EQ(recorder.Take(), "click:rbA ");
  form->Show();
  ClickAt(*buttons[2], 5, 5);
  EXPECT_EQ(Checked(), "rbC ");
  EXPECT_EQ(recorder.Take(), "click:rbC ");
  EXPECT_TRUE(buttons[2]->TabStop());
  EXPECT_FALSE(buttons[0]->TabStop());
  ClickAt(*buttons[2], 5, 5);  // already checked: nothing to report
  EXPECT_EQ(recorder.Take(), "");
}

TEST_F(OxRadioButtonTest, PaintsTheCaptionOverAFilledTextArea) {
  TOxRadioButton& button = *buttons[1];
  button.SetCaption("&Monthly");
  button.SetColor(clAqua);
  button.Font()->SetSize(20);  // offset 21
  TCanvas canvas;
  button.Paint(canvas);
  const std::vector<TCanvasOp>& ops = canvas.Operations();
  ASSERT_EQ(ops.size(), 2u);
  EXPECT_EQ(ops[0].kind, TCanvasOpKind::Rectangle);
  EXPECT_EQ(ops[0].rect, (TRect{17, -4, 117, 21}));
  EXPECT_EQ(ops[0].brush.Color(), clAqua);
  EXPECT_EQ(ops[0].pen.Color(), clAqua);
  EXPECT_EQ(ops[1].kind, TCanvasOpKind::TextRect);
  EXPECT_EQ(ops[1].rect, (TRect{21, 0, 113, 17}));
  EXPECT_EQ(ops[1].text, "&Monthly");
  EXPECT_EQ(ops[1].format, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  EXPECT_EQ(ops[1].font->Size(), 20);
}

TEST_F(OxRadioButtonTest, TheAcceleratorFocusesAndChecksTheButton) {
  buttons[1]->SetCaption("&Weekly");
  form->Show();
  test::PressAlt(*form, 'w');
  EXPECT_EQ(form->ActiveControl(), buttons[1]);
  EXPECT_EQ(Checked(), "rbB ");
  EXPECT_EQ(recorder.Take(), "click:rbB ");
}

TEST(OxRadioButtonResource, AFormResourceCreatesTheButton) {
  RegisterControlClasses();
  Owned<TForm> form{new TForm(nullptr)};
  ReadComponentResource(*form, R"(object F: TForm
  object rb: TOxRadioButton
    Caption = 'Daily'
    Checked = True
  end
end)");
  auto* rb = dynamic_cast<TOxRadioButton*>(form->FindComponent("rb"));
  ASSERT_NE(rb, nullptr);
  EXPECT_TRUE(rb->Checked());
  EXPECT_TRUE(rb->TabStop());
}

}  // namespace
}  // namespace ox
