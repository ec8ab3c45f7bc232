#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/ui/ControlInput.h"
#include "ui/CheckBox.h"
#include "ui/FormReader.h"
#include "ui/FormWriter.h"
#include "ui/Forms.h"

namespace ox {
namespace {

using test::ClickAt;
using test::Press;

// Logs the state a check box has when its OnClick fires.
struct StateLog {
  TCheckBox* box = nullptr;
  std::string log;
  void Clicked(TObject*) { log += CheckBoxStateNames()[static_cast<int>(box->State())] + " "; }
};

class CheckBoxTest : public ::testing::Test {
 protected:
  CheckBoxTest() {
    auto* other = new TCheckBox(form.get());  // takes the focus when the form shows
    other->SetParent(form.get());
    box = new TCheckBox(form.get());
    box->SetName("chkNotify");
    box->SetCaption("&Keep");
    box->SetParent(form.get());
    box->SetBounds(10, 40, 97, 17);
    states.box = box;
    box->OnClick = MakeMethod<&StateLog::Clicked>(&states);
    form->SetBounds(0, 0, 300, 200);
    form->Show();
  }

  StateLog states;
  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TCheckBox* box = nullptr;
};

TEST_F(CheckBoxTest, EveryWayOfTogglingStepsThroughTheStatesAndReportsEachStep) {
  struct Case {
    const char* input;
    std::function<void(TCheckBox&)> toggle;
  };
  const std::vector<Case> inputs{
      {"click", [](TCheckBox& b) { ClickAt(b, 5, 5); }},
      {"space",
       [](TCheckBox& b) {
         b.SetFocus();
         Press(b, VK_SPACE);  // its character toggles nothing more
       }},
      {"accelerator", [](TCheckBox& b) { test::PressAlt(b, 'k'); }},
  };
  for (const Case& input : inputs) {
    for (bool grayed : {false, true}) {
      SCOPED_TRACE(std::string(input.input) + (grayed ? " with grayed" : ""));
      box->SetAllowGrayed(grayed);
      box->SetState(TCheckBoxState::cbUnchecked);
      states.log.clear();
      for (int i = 0; i < 3; ++i)
        input.toggle(*box);
      EXPECT_EQ(states.log,
                grayed ? "cbGrayed cbChecked cbUnchecked " : "cbChecked cbUnchecked cbChecked ");
      EXPECT_TRUE(box->Focused());
      form->SetActiveControl(static_cast<TWinControl*>(form->Controls(0)));
    }
  }
}

TEST_F(CheckBoxTest, APressReleasedOutsideOrRefusedTheFocusChangesNothing) {
  SendMessage(box->Handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
  SendMessage(box->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(150, 5));
  // The control being left keeps the focus (a field check that failed).
  struct Keeper {
    void Exited(TObject* sender) { static_cast<TWinControl*>(sender)->SetFocus(); }
  } keeper;
  auto* first = static_cast<TWinControl*>(form->Controls(0));
  form->SetActiveControl(first);
  first->OnExit = MakeMethod<&Keeper::Exited>(&keeper);
  ClickAt(*box, 5, 5);
  EXPECT_EQ(form->ActiveControl(), first);
  EXPECT_EQ(box->State(), TCheckBoxState::cbUnchecked);
  EXPECT_EQ(states.log, "");
}

TEST_F(CheckBoxTest, CodeThatChangesTheStateFiresOnClickAndCheckedMeansOnlyChecked) {
  box->SetChecked(true);
  box->SetChecked(true);  // no change, no event
  EXPECT_EQ(states.log, "cbChecked ");
  box->SetState(TCheckBoxState::cbGrayed);
  EXPECT_FALSE(box->Checked());
  box->SetChecked(false);
  EXPECT_EQ(states.log, "cbChecked cbGrayed cbUnchecked ");
}

// A form whose check box is read from a form resource.
class TCheckForm : public TForm {
 public:
  OX_CLASS_INFO()
  using TForm::TForm;
  void chkClick(TObject*) { ++clicks; }
  int clicks = 0;
};

const ClassInfo& TCheckForm::StaticClassInfo() {
  static const ClassInfo info = ClassBuilder<TCheckForm>("TCheckForm", &TForm::StaticClassInfo())
                                    .handler<&TCheckForm::chkClick>("chkClick")
                                    .build();
  return info;
}

TEST(CheckBoxResource, ReadingAStateFiresNothingAndOnlyTheStateIsWrittenBack) {
  Owned<TCheckForm> form{new TCheckForm(nullptr)};
  ReadComponentResource(*form, R"(object CheckForm: TCheckForm
  object chk: TCheckBox
    OnClick = chkClick
    Caption = 'Both'
    AllowGrayed = True
    State = cbGrayed
    Alignment = taLeftJustify
  end
end)");
  auto* chk = dynamic_cast<TCheckBox*>(form->FindComponent("chk"));
  ASSERT_NE(chk, nullptr);
  EXPECT_EQ(form->clicks, 0);
  EXPECT_EQ(chk->State(), TCheckBoxState::cbGrayed);
  EXPECT_EQ(chk->Alignment(), TAlignment::taLeftJustify);
  const std::string text = WriteComponentResource(*form);
  EXPECT_NE(text.find("State = cbGrayed"), std::string::npos) << text;
  EXPECT_EQ(text.find("Checked"), std::string::npos) << text;
  chk->Toggle();
  EXPECT_EQ(form->clicks, 1);
}

}  // namespace
}  // namespace ox
