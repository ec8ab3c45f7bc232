#include <gtest/gtest.h>

#include <string>

#include "controls/ControlClasses.h"
#include "controls/OxRadioGroup.h"
#include "tests/ui/ControlInput.h"
#include "ui/FormReader.h"
#include "ui/Forms.h"

namespace ox {
namespace {

using test::ClickAt;
using test::Press;

class OxRadioGroupTest : public ::testing::Test {
 protected:
  OxRadioGroupTest() {
    form->SetBounds(0, 0, 400, 300);
    group = new TOxRadioGroup(form.get());
    group->SetName("rgKind");
    group->SetParent(form.get());
    group->OnClick = MakeMethod<&test::Recorder::Clicked>(&recorder);
    group->OnKeyDown = MakeMethod<&OxRadioGroupTest::GroupKey>(this);
    group->Items()->SetCommaText("Day,Week,Month");
  }

  void GroupKey(TObject*, std::uint16_t& key, TShiftState) { keys += std::to_string(key) + " "; }

  test::Recorder recorder;
  std::string keys;
  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TOxRadioGroup* group = nullptr;
};

TEST_F(OxRadioGroupTest, ButtonsAreOwnGroupButtonsSetUpByTheGroup) {
  EXPECT_EQ(group->Columns(), 1);
  EXPECT_EQ(group->ItemIndex(), -1);
  ASSERT_EQ(group->ButtonCount(), 3);
  for (int i = 0; i < group->ButtonCount(); ++i) {
    SCOPED_TRACE(i);
    TRadioButton* button = group->Buttons(i);
    EXPECT_NE(dynamic_cast<TOxGroupButton*>(button), nullptr);
    EXPECT_EQ(button->Parent(), group);
    EXPECT_FALSE(button->ParentShowHint());
  }
  group->SetEnabled(false);
  group->Items()->Add("Year");
  EXPECT_FALSE(group->Buttons(3)->Enabled());
}

TEST_F(OxRadioGroupTest, OneClickOnAButtonChecksItAndReportsOnce) {
  form->Show();
  ClickAt(*group->Buttons(1), 5, 5);
  EXPECT_EQ(group->ItemIndex(), 1);
  EXPECT_TRUE(group->Buttons(1)->Checked());
  EXPECT_EQ(recorder.Take(), "click:rgKind ");
  ClickAt(*group->Buttons(2), 5, 5);
  EXPECT_EQ(group->ItemIndex(), 2);
  EXPECT_FALSE(group->Buttons(1)->Checked());
  EXPECT_EQ(recorder.Take(), "click:rgKind ");
}

TEST_F(OxRadioGroupTest, KeysTypedOnAButtonReachTheGroup) {
  group->SetItemIndex(0);
  form->Show();
  group->Buttons(0)->SetFocus();
  Press(*group->Buttons(0), 'X');
  EXPECT_EQ(keys, "88 ");
}

TEST(OxRadioGroupResource, AFormResourceMakesTheGroupWithItsIndex) {
  RegisterControlClasses();
  Owned<TForm> form{new TForm(nullptr)};
  ReadComponentResource(*form, R"(object F: TForm
  object rg: TOxRadioGroup
    ItemIndex = 1
    Items.Strings = (
      'A'
      'B')
  end
end)");
  auto* rg = dynamic_cast<TOxRadioGroup*>(form->FindComponent("rg"));
  ASSERT_NE(rg, nullptr);
  ASSERT_EQ(rg->ButtonCount(), 2);
  EXPECT_TRUE(rg->Buttons(1)->Checked());
  EXPECT_NE(dynamic_cast<TOxGroupButton*>(rg->Buttons(1)), nullptr);
}

}  // namespace
}  // namespace ox
