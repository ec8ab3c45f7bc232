#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/ControlInput.h"
#include "ui/Forms.h"
#include "ui/ListBox.h"

namespace ox {
namespace {

using test::ClickAt;
using test::Press;

// A 121 x 97 list box with ten lines on a shown form: rows are 13 pixels high, seven
// whole rows show in the 93-pixel client area.
class ListBoxTest : public ::testing::Test {
 protected:
  ListBoxTest() {
    form->SetBounds(0, 0, 400, 300);
    list = new TListBox(form.get());
    list->SetName("lst");
    list->SetParent(form.get());
    list->Items()->SetCommaText("Apple,Banana,Cherry,Date,Elder,Fig,Grape,Hazel,Ivy,Juniper");
    list->OnClick = MakeMethod<&test::Recorder::Clicked>(&recorder);
    form->Show();
  }

  std::string Marked() const {
    std::string indexes;
    for (int i = 0; i < list->Items()->Count(); ++i)
      if (list->Selected(i)) indexes += std::to_string(i) + " ";
    return indexes;
  }

  test::Recorder recorder;
  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TListBox* list = nullptr;
};

TEST_F(ListBoxTest, AClickSelectsTheRowUnderItAndAlwaysReportsIt) {
  EXPECT_EQ(list->ItemHeight(), 13);
  ClickAt(*list, 10, 2 * 13 + 5);
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_TRUE(list->Focused());
  ClickAt(*list, 10, 2 * 13 + 1);  // the same line again
  EXPECT_EQ(recorder.Take(), "click:lst click:lst ");
  while (list->Items()->Count() > 5)
    list->Items()->Delete(5);
  ClickAt(*list, 10, 5 * 13 + 1);  // below the last line: nothing
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(recorder.Take(), "");
}

TEST_F(ListBoxTest, KeysMoveTheSelectionScrollAndReportChangesOnly) {
  struct Step {
    std::uint16_t key;
    int index;
    int top;
    bool reported;
  };
  list->SetFocus();
  const std::vector<Step> steps{
      {VK_DOWN, 0, 0, true},   // no line selected yet: the first
      {VK_UP, 0, 0, false},    // already at the top
      {VK_END, 9, 3, true},    // scrolls the last line into view
      {VK_DOWN, 9, 3, false},  // already at the end
      {VK_PRIOR, 3, 3, true},  // a page is one line less than the seven shown
      {VK_LEFT, 2, 2, true},   // one column: left is up
      {VK_HOME, 0, 0, true},  {VK_NEXT, 6, 0, true}, {VK_RIGHT, 7, 1, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.key);
    Press(*list, step.key);
    EXPECT_EQ(list->ItemIndex(), step.index);
    EXPECT_EQ(list->TopIndex(), step.top);
    EXPECT_EQ(recorder.Take(), step.reported ? "click:lst " : "");
  }
  EXPECT_TRUE(list->Focused());  // the arrows never moved the focus
}

TEST_F(ListBoxTest, ATypedCharacterSelectsTheNextLineStartingWithIt) {
  list->Items()->Add("avocado");
  list->SetFocus();
  test::Type(*list, "a");
  EXPECT_EQ(list->ItemIndex(), 0);
  test::Type(*list, "A");
  EXPECT_EQ(list->ItemIndex(), 10);
  test::Type(*list, "a");  // round to the first again
  EXPECT_EQ(list->ItemIndex(), 0);
  test::Type(*list, "z");
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(recorder.Take(), "click:lst click:lst click:lst ");
}

TEST_F(ListBoxTest, MultiSelectClicksFollowTheSelectionMode) {
  struct Click {
    int row;
    TShiftState shift;
    const char* marked;
  };
  struct Case {
    const char* name;
    bool extended;
    std::vector<Click> clicks;
  };
  const std::vector<Case> cases{
      {"extended",
       true,
       {{1, 0, "1 "},
        {4, ssShift, "1 2 3 4 "},
        {2, ssCtrl, "1 3 4 "},
        {6, 0, "6 "},
        {3, ssShift, "3 4 5 6 "}}},
      {"simple", false, {{1, 0, "1 "}, {4, ssShift, "1 4 "}, {1, 0, "4 "}}},
  };
  list->SetMultiSelect(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    list->SetExtendedSelect(c.extended);
    for (int i = 0; i < 10; ++i)
      list->SetSelected(i, false);
    for (const Click& click : c.clicks) {
      ClickAt(*list, 5, click.row * 13 + 3, click.shift);
      EXPECT_EQ(Marked(), click.marked);
      EXPECT_EQ(list->ItemIndex(), click.row);  // the caret line
    }
    EXPECT_EQ(list->SelCount(), static_cast<int>(std::string(c.clicks.back().marked).size() / 2));
  }
}

TEST_F(ListBoxTest, ExtendedKeysSelectAndShiftExtends) {
  list->SetMultiSelect(true);
  list->SetFocus();
  EXPECT_EQ(list->ItemIndex(), 0);  // the caret starts on the first line
  Press(*list, VK_DOWN);
  Press(*list, VK_DOWN, ssShift);
  Press(*list, VK_DOWN, ssShift);
  EXPECT_EQ(Marked(), "1 2 3 ");
  Press(*list, VK_DOWN, ssCtrl);  // the caret alone
  EXPECT_EQ(list->ItemIndex(), 4);
  EXPECT_EQ(Marked(), "1 2 3 ");
  EXPECT_EQ(recorder.Take(), "click:lst click:lst click:lst click:lst ");
}

TEST_F(ListBoxTest, TheSelectionStaysOnItsLineWhileTheLinesChange) {
  list->SetItemIndex(3);  // "Date"; code reports nothing
  list->Items()->Insert(0, "Zucchini");
  EXPECT_EQ(list->ItemIndex(), 4);
  list->SetSorted(true);
  EXPECT_EQ(list->Items()->Strings(list->ItemIndex()), "Date");
  EXPECT_EQ(list->Items()->Add("coconut"), 3);  // sorted lists add in order
  EXPECT_EQ(list->Items()->Strings(list->ItemIndex()), "Date");
  list->Items()->Delete(list->ItemIndex());
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_EQ(recorder.Take(), "");
  EXPECT_EQ(list->SelCount(), -1);  // single-select boxes count no marks
  EXPECT_THROW(list->Selected(99), EListError);
  list->Clear();
  EXPECT_EQ(list->Items()->Count(), 0);
  EXPECT_EQ(list->TopIndex(), 0);
}

}  // namespace
}  // namespace ox
