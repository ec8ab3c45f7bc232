#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/WinMessages.h"
#include "tests/ui/ControlInput.h"
#include "ui/FormReader.h"
#include "ui/Forms.h"
#include "ui/TabSet.h"

namespace ox {
namespace {

// Logs OnChange (refusing the tabs listed) and OnClick.
struct Recorder {
  std::string log;
  std::vector<int> refused;
  void Changing(TObject*, int newTab, bool& allowChange) {
    log += "change:" + std::to_string(newTab) + " ";
    allowChange = std::find(refused.begin(), refused.end(), newTab) == refused.end();
  }
  void Clicked(TObject*) { log += "click "; }
};

class TabSetTest : public ::testing::Test {
 protected:
  TabSetTest() {
    form->SetBounds(0, 0, 400, 300);
    tabs = new TTabSet(form.get());
    tabs->SetParent(form.get());
    tabs->SetBounds(0, 0, 300, 21);
    tabs->Tabs()->SetCommaText("First,Second,Third");
    tabs->OnChange = MakeMethod<&Recorder::Changing>(&recorder);
    tabs->OnClick = MakeMethod<&Recorder::Clicked>(&recorder);
  }

  Recorder recorder;
  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TTabSet* tabs = nullptr;
};

TEST_F(TabSetTest, ClickingATabAsksOnChangeThenClicksOnce) {
  EXPECT_EQ(tabs->TabIndex(), -1);
  const TRect second = tabs->TabRect(1);
  EXPECT_EQ(second.Left, tabs->TabRect(0).Right);
  test::ClickAt(*form, second.Left + 1, 5);
  EXPECT_EQ(tabs->TabIndex(), 1);
  EXPECT_EQ(recorder.log, "change:1 click ");

  recorder.log.clear();
  test::ClickAt(*form, second.Left + 1, 5);             // the selected tab
  test::ClickAt(*form, tabs->TabRect(2).Right + 5, 5);  // beyond the tabs
  EXPECT_EQ(recorder.log, "");

  recorder.refused = {0};
  test::ClickAt(*form, tabs->TabRect(0).Left + 1, 5);
  EXPECT_EQ(tabs->TabIndex(), 1);
  EXPECT_EQ(recorder.log, "change:0 ");
}

TEST_F(TabSetTest, CodeSelectsThroughTheSameEventsAndShrinkingTheListClampsSilently) {
  tabs->SetTabIndex(2);
  EXPECT_EQ(recorder.log, "change:2 click ");
  EXPECT_THROW(tabs->SetTabIndex(3), EListError);
  EXPECT_THROW(tabs->SetTabIndex(-2), EListError);

  recorder.log.clear();
  tabs->Tabs()->Delete(2);
  EXPECT_EQ(tabs->TabIndex(), 1);
  tabs->Tabs()->Clear();
  EXPECT_EQ(tabs->TabIndex(), -1);
  EXPECT_EQ(recorder.log, "");

  // Replacing the texts and putting the index back, as a text conversion does.
  tabs->Tabs()->SetCommaText("A,B,C");
  tabs->SetTabIndex(1);
  tabs->Tabs()->SetText("a\r\nb\r\nc");
  tabs->SetTabIndex(1);
  EXPECT_EQ(tabs->Tabs()->Strings(1), "b");
  EXPECT_EQ(tabs->TabIndex(), 1);
}

TEST(TabSetResource, TabsAreReadBeforeTheIndex) {
  Owned<TForm> form(CreateForm<TForm>(nullptr));
  ReadComponentResource(*form, R"(
object Form1: TForm
  object TabSet1: TTabSet
    Tabs.Strings = (
      'One'
      'Two')
    TabIndex = 1
  end
end)");
  auto* tabs = dynamic_cast<TTabSet*>(form->FindComponent("TabSet1"));
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->Tabs()->Count(), 2);
  EXPECT_EQ(tabs->TabIndex(), 1);
}

}  // namespace
}  // namespace ox
