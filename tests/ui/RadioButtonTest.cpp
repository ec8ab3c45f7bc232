#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/ControlInput.h"
#include "ui/Forms.h"
#include "ui/Panel.h"
#include "ui/RadioButton.h"

namespace ox {
namespace {

using test::ClickAt;
using test::Press;

// Three radio buttons on a panel and one beside it on the form, their clicks and
// enter events logged.
class RadioButtonTest : public ::testing::Test {
 protected:
  RadioButtonTest() {
    form->SetBounds(0, 0, 400, 300);
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, 200, 100);
    for (const char* name : {"rdo1", "rdo2", "rdo3"})
      panel_.push_back(Add(name, panel));
    outside = Add("rdoOutside", form.get());
    outside->SetTop(150);
  }

  TRadioButton* Add(const char* name, TWinControl* parent) {
    auto* button = new TRadioButton(form.get());
    button->SetName(name);
    button->SetCaption(std::string("&") + name[3]);
    button->SetParent(parent);
    button->SetTop(20 * parent->ControlCount());
    button->OnClick = MakeMethod<&test::Recorder::Clicked>(&recorder);
    button->OnEnter = MakeMethod<&test::Recorder::Entered>(&recorder);
    return button;
  }

  std::string Checked() const {
    std::string names;
    for (const TRadioButton* button : {panel_[0], panel_[1], panel_[2], outside})
      if (button->Checked()) names += button->Name() + " ";
    return names;
  }

  test::Recorder recorder;
  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  std::vector<TRadioButton*> panel_;
  TRadioButton* outside = nullptr;
};

TEST_F(RadioButtonTest, CheckingOneUnchecksItsSiblingsOnlyAndClicksOnce) {
  outside->SetChecked(true);
  panel_[0]->SetChecked(true);
  recorder.Take();
  panel_[2]->SetChecked(true);
  EXPECT_EQ(Checked(), "rdo3 rdoOutside ");
  EXPECT_EQ(recorder.Take(), "click:rdo3 ");
  panel_[2]->SetChecked(true);  // no change, no click
  panel_[2]->SetChecked(false);
  EXPECT_EQ(Checked(), "rdoOutside ");
  EXPECT_EQ(recorder.Take(), "");
  // Only the checked buttons are tab stops.
  EXPECT_FALSE(panel_[0]->TabStop());
  EXPECT_TRUE(outside->TabStop());
}

TEST_F(RadioButtonTest, AClickFocusesThenChecksAndAClickOnTheCheckedOneDoesNothing) {
  panel_[0]->SetChecked(true);
  form->Show();
  recorder.Take();
  ClickAt(*panel_[1], 5, 5);
  EXPECT_EQ(recorder.Take(), "enter:rdo2 click:rdo2 ");
  EXPECT_EQ(Checked(), "rdo2 ");
  ClickAt(*panel_[1], 5, 5);
  EXPECT_EQ(recorder.Take(), "");
}

TEST_F(RadioButtonTest, TheKeyboardChecksTheButtonItFocuses) {
  panel_[1]->SetChecked(true);
  form->Show();
  EXPECT_TRUE(panel_[1]->Focused());  // Tab order finds only the checked button
  recorder.Take();
  struct Step {
    std::uint16_t key;
    const char* focused;
    const char* log;
  };
  // Arrows move among the buttons of the same parent, wrapping around.
  const std::vector<Step> steps{{VK_DOWN, "rdo3", "enter:rdo3 click:rdo3 "},
                                {VK_RIGHT, "rdo1", "enter:rdo1 click:rdo1 "},
                                {VK_UP, "rdo3", "enter:rdo3 click:rdo3 "}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.focused);
    Press(*static_cast<TWinControl*>(form->ActiveControl()), step.key);
    EXPECT_EQ(form->ActiveControl()->Name(), step.focused);
    EXPECT_EQ(Checked(), std::string(step.focused) + " ");
    EXPECT_EQ(recorder.Take(), step.log);
  }
  // The accelerator of a caption focuses and so checks that button.
  test::PressAlt(*form, 'O');
  EXPECT_EQ(recorder.Take(), "enter:rdoOutside click:rdoOutside ");
  EXPECT_EQ(Checked(), "rdo3 rdoOutside ");
}

TEST_F(RadioButtonTest, SpaceChecksTheFocusedButton) {
  form->Show();
  panel_[0]->SetFocus();  // a focus set by code checks too, as the window control does
  EXPECT_EQ(recorder.Take(), "enter:rdo1 click:rdo1 ");
  panel_[0]->SetChecked(false);
  Press(*panel_[0], VK_SPACE);
  EXPECT_EQ(recorder.Take(), "click:rdo1 ");
  EXPECT_TRUE(panel_[0]->Checked());
}

}  // namespace
}  // namespace ox
