#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/ControlInput.h"
#include "ui/FormReader.h"
#include "ui/Forms.h"
#include "ui/GroupBox.h"
#include "ui/RadioGroup.h"

namespace ox {
namespace {

using test::ClickAt;
using test::Press;

class RadioGroupTest : public ::testing::Test {
 protected:
  RadioGroupTest() {
    form->SetBounds(0, 0, 400, 300);
    group = new TRadioGroup(form.get());
    group->SetName("rgKind");
    group->SetParent(form.get());
    group->OnClick = MakeMethod<&test::Recorder::Clicked>(&recorder);
    group->Items()->SetCommaText("Day,Week,Month,Hour,Minute");
  }

  std::string CheckedButtons() const {
    std::string indexes;
    for (int i = 0; i < group->ButtonCount(); ++i)
      if (group->Buttons(i)->Checked()) indexes += std::to_string(i) + " ";
    return indexes;
  }

  test::Recorder recorder;
  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TRadioGroup* group = nullptr;
};

TEST_F(RadioGroupTest, ButtonsFillTheColumnsTopToBottomBelowTheCaption) {
  group->SetColumns(2);  // 185 x 105: 3 rows of 29 pixels, columns 87 wide
  struct Expected {
    int index;
    TRect bounds;
  };
  for (const Expected& e : std::vector<Expected>{{0, {8, 14, 95, 43}},
                                                 {2, {8, 72, 95, 101}},
                                                 {3, {95, 14, 182, 43}},
                                                 {4, {95, 43, 182, 72}}}) {
    SCOPED_TRACE(e.index);
    const TRadioButton* button = group->Buttons(e.index);
    EXPECT_EQ(button->BoundsRect(), e.bounds);
    EXPECT_TRUE(button->Visible());
    EXPECT_EQ(button->Parent(), group);
    EXPECT_EQ(button->Owner(), group);
  }
  EXPECT_EQ(group->Buttons(3)->Caption(), "Hour");
  group->SetHeight(200);  // the buttons follow the size: 60 high, 1 more margin
  EXPECT_EQ(group->Buttons(1)->Top(), 15 + 60);
}

TEST_F(RadioGroupTest, ItemIndexAndTheCheckedButtonStayInStep) {
  group->SetItemIndex(2);
  EXPECT_EQ(CheckedButtons(), "2 ");
  EXPECT_EQ(recorder.Take(), "click:rgKind ");
  form->Show();
  ClickAt(*group->Buttons(0), 5, 5);
  EXPECT_EQ(group->ItemIndex(), 0);
  EXPECT_EQ(CheckedButtons(), "0 ");
  EXPECT_EQ(recorder.Take(), "click:rgKind ");
  group->SetItemIndex(99);  // the last button
  EXPECT_EQ(group->ItemIndex(), 4);
  EXPECT_EQ(recorder.Take(), "click:rgKind ");
  group->SetItemIndex(-1);  // nothing checked, nothing reported
  EXPECT_EQ(CheckedButtons(), "");
  EXPECT_EQ(recorder.Take(), "");
}

TEST_F(RadioGroupTest, ChangingTheItemsKeepsTheIndexInsideThemSilently) {
  group->SetItemIndex(4);
  recorder.Take();
  group->Items()->Delete(4);
  group->Items()->Delete(3);
  EXPECT_EQ(group->ButtonCount(), 3);
  EXPECT_EQ(group->ItemIndex(), 2);
  EXPECT_EQ(CheckedButtons(), "2 ");
  group->Items()->Clear();
  EXPECT_EQ(group->ButtonCount(), 0);
  EXPECT_EQ(group->ItemIndex(), -1);
  EXPECT_EQ(recorder.Take(), "");
}

TEST_F(RadioGroupTest, ArrowsMoveTheSelectionAndKeysReachTheGroup) {
  struct KeyLog {
    std::string keys;
    void Pressed(TObject* sender, char& key) {
      keys += static_cast<TComponent*>(sender)->Name() + ":" + key + " ";
    }
  } keyLog;
  group->OnKeyPress = MakeMethod<&KeyLog::Pressed>(&keyLog);
  group->SetItemIndex(1);
  form->Show();
  EXPECT_TRUE(group->Buttons(1)->Focused());
  recorder.Take();
  Press(*group->Buttons(1), VK_DOWN);
  EXPECT_EQ(group->ItemIndex(), 2);
  EXPECT_EQ(recorder.Take(), "click:rgKind ");
  test::Type(*group->Buttons(2), "x");
  EXPECT_EQ(keyLog.keys, "rgKind:x ");
}

TEST_F(RadioGroupTest, TheButtonsFollowTheGroupsEnabledState) {
  group->SetEnabled(false);
  group->Items()->Add("Second");
  for (int i = 0; i < group->ButtonCount(); ++i)
    EXPECT_FALSE(group->Buttons(i)->Enabled()) << i;
  group->SetEnabled(true);
  EXPECT_TRUE(group->Buttons(5)->Enabled());
}

// A form whose radio group comes from a form resource.
class TGroupForm : public TForm {
 public:
  OX_CLASS_INFO()
  using TForm::TForm;
  void rgClick(TObject*) { ++clicks; }
  int clicks = 0;
};

const ClassInfo& TGroupForm::StaticClassInfo() {
  static const ClassInfo info = ClassBuilder<TGroupForm>("TGroupForm", &TForm::StaticClassInfo())
                                    .handler<&TGroupForm::rgClick>("rgClick")
                                    .build();
  return info;
}

TEST(RadioGroupResource, AnIndexReadBeforeTheItemsChecksItsButtonSilently) {
  Owned<TGroupForm> form{new TGroupForm(nullptr)};
  ReadComponentResource(*form, R"(object GroupForm: TGroupForm
  object rg: TRadioGroup
    Caption = 'Mode'
    ItemIndex = 1
    OnClick = rgClick
    Columns = 2
    Items.Strings = (
      'A'
      'B'
      'C')
  end
end)");
  auto* rg = dynamic_cast<TRadioGroup*>(form->FindComponent("rg"));
  ASSERT_NE(rg, nullptr);
  EXPECT_EQ(rg->ItemIndex(), 1);
  ASSERT_EQ(rg->ButtonCount(), 3);
  EXPECT_TRUE(rg->Buttons(1)->Checked());
  EXPECT_TRUE(rg->Buttons(2)->Visible());
  EXPECT_EQ(rg->Buttons(2)->Left(), 8 + (185 - 10) / 2);
  EXPECT_EQ(form->clicks, 0);
}

TEST(GroupBox, AlignedChildrenFillTheFrameAndTheAcceleratorFocusesInside) {
  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  form->SetBounds(0, 0, 400, 300);
  auto* outside = new TWinControl(form.get());  // has the focus first
  outside->SetParent(form.get());
  outside->SetTabStop(true);
  auto* box = new TGroupBox(form.get());
  box->SetCaption("&Dates");
  box->SetParent(form.get());
  auto* plain = new TWinControl(form.get());
  plain->SetParent(box);
  plain->SetAlign(TAlign::alClient);
  auto* tabStop = new TWinControl(form.get());
  tabStop->SetParent(box);
  tabStop->SetTabStop(true);
  EXPECT_EQ(plain->BoundsRect(), (TRect{2, 15, 183, 103}));  // below a 13-pixel caption
  form->Show();
  ASSERT_EQ(form->ActiveControl(), outside);
  test::PressAlt(*outside, 'd');
  EXPECT_EQ(form->ActiveControl(), tabStop);
}

}  // namespace
}  // namespace ox
