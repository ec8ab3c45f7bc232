#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "tests/support/TestMachine.h"
#include "tests/ui/ControlInput.h"
#include "ui/FormReader.h"
#include "ui/FormWriter.h"
#include "ui/Forms.h"
#include "ui/ListView.h"

namespace ox {
namespace {

using test::Press;
using test::Type;

const char* ChangeName(TItemChange change) {
  return change == TItemChange::ctText    ? "text"
         : change == TItemChange::ctImage ? "image"
                                          : "state";
}

// Records what the list view reports and answers its questions.
struct Recorder {
  std::string log;
  TListItem* refuse = nullptr;  // OnChanging refuses changes of this item
  bool allowEditing = true;
  std::string editedSuffix;  // OnEdited appends it to the new caption

  static std::string Name(const TListItem* item) { return item ? item->Caption() : "null"; }
  void SelectItem(TObject*, TListItem* item, bool selected) {
    log += Name(item) + (selected ? "+ " : "- ");
  }
  void Change(TObject*, TListItem* item, TItemChange change) {
    log += "change:" + Name(item) + ":" + ChangeName(change) + " ";
  }
  void Changing(TObject*, TListItem* item, TItemChange, bool& allow) { allow = item != refuse; }
  void Editing(TObject*, TListItem*, bool& allow) { allow = allowEditing; }
  void Edited(TObject*, TListItem* item, std::string& text) {
    log += "edited:" + item->Caption() + "->" + text + " ";
    text += editedSuffix;
  }
  void ColumnClick(TObject*, TListColumn* column) { log += "column:" + column->Caption() + " "; }
  void Deletion(TObject*, TListItem* item) { log += "deleted:" + item->Caption() + " "; }
  void FormKey(TObject*, std::uint16_t& key, TShiftState) {
    log += "formkey:" + std::to_string(key) + " ";
  }
  void FormChar(TObject*, char& key) { log += "formchar:" + std::to_string(key) + " "; }
  // Orders by the number Data points to.
  void CompareData(TObject*, TListItem* a, TListItem* b, int, int& result) {
    result = *static_cast<int*>(a->Data()) - *static_cast<int*>(b->Data());
  }
};

// A shown form with a report-style list view that has the focus: a caption column of
// 60 pixels and a second column of 100.
class ListViewTest : public ::testing::Test {
 protected:
  ListViewTest() {
    form->SetBounds(0, 0, 400, 300);
    list = new TListView(form.get());
    list->SetParent(form.get());
    list->SetBounds(0, 0, 300, 200);
    list->SetViewStyle(TViewStyle::vsReport);
    TListColumn* caption = list->Columns()->Add();
    caption->SetCaption("Name");
    caption->SetWidth(60);
    TListColumn* second = list->Columns()->Add();
    second->SetCaption("Date");
    second->SetWidth(100);
    form->Show();
    list->SetFocus();
  }

  void Fill(const std::vector<std::string>& captions) {
    for (const std::string& caption : captions)
      list->Items()->Add()->SetCaption(caption);
  }
  void Listen() {
    list->OnSelectItem = MakeMethod<&Recorder::SelectItem>(&rec);
    list->OnChange = MakeMethod<&Recorder::Change>(&rec);
    list->OnChanging = MakeMethod<&Recorder::Changing>(&rec);
  }
  std::string Captions() const {
    std::string text;
    for (int i = 0; i < list->Items()->Count(); ++i)
      text += (i ? " " : "") + list->Items()->Item(i)->Caption();
    return text;
  }
  void Click(int x, int y, TShiftState shift = 0) const { test::ClickAt(*list, x, y, shift); }
  // The middle of row `row` in the caption column.
  int RowY(int row) const {
    return list->HeaderHeight() + row * TListView::RowHeight() + TListView::RowHeight() / 2;
  }

  test::TestMachine machine{936};
  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TListView* list = nullptr;
  Recorder rec;
};

TEST_F(ListViewTest, KeysAndClicksMoveASingleSelection) {
  Fill({"a", "b", "c", "d", "e"});
  struct Step {
    const char* what;
    std::function<void()> act;
    int selected;
  };
  const std::vector<Step> steps{
      {"Down from nothing takes the first", [] { Press(VK_DOWN); }, 0},
      {"Down", [] { Press(VK_DOWN); }, 1},
      {"End", [] { Press(VK_END); }, 4},
      {"Down at the end stays", [] { Press(VK_DOWN); }, 4},
      {"Home", [] { Press(VK_HOME); }, 0},
      {"Up at the top stays", [] { Press(VK_UP); }, 0},
      {"Page Down goes a page", [] { Press(VK_NEXT); }, 4},
      {"click on a row", [this] { Click(10, RowY(3)); }, 3},
      {"click beside the caption column", [this] { Click(80, RowY(1)); }, -1},
      {"whole rows take clicks with RowSelect",
       [this] {
         list->SetRowSelect(true);
         Click(80, RowY(1));
       },
       1},
      {"click below the rows clears", [this] { Click(10, RowY(7)); }, -1},
      {"the header takes no row clicks", [this] { Click(10, 5); }, -1},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    EXPECT_EQ(list->ItemIndex(), step.selected);
    EXPECT_EQ(list->SelCount(), step.selected < 0 ? 0 : 1);
  }
  // The arrows never leave the list for the next control.
  EXPECT_EQ(form->ActiveControl(), list);
}

TEST_F(ListViewTest, SelectionEventsComeInTheControlsOrderAndOnChangingCanRefuse) {
  Fill({"a", "b", "c"});
  Listen();
  Click(10, RowY(0));
  rec.log.clear();
  Press(VK_DOWN);
  EXPECT_EQ(rec.log, "change:a:state a- change:b:state b+ change:a:state change:b:state ");

  rec.log.clear();
  rec.refuse = list->Items()->Item(2);
  Click(10, RowY(2));
  EXPECT_EQ(list->Selected(), nullptr) << "b went, c refused";
  EXPECT_EQ(rec.log.find("c+"), std::string::npos);
}

TEST_F(ListViewTest, CtrlAndShiftClicksBuildAMultipleSelection) {
  Fill({"a", "b", "c", "d", "e"});
  list->SetMultiSelect(true);
  struct Step {
    const char* what;
    TShiftState shift;
    int row;
    std::vector<int> selected;
  };
  const std::vector<Step> steps{
      {"plain click", 0, 1, {1}},
      {"Ctrl adds", ssCtrl, 3, {1, 3}},
      {"Ctrl removes", ssCtrl, 1, {3}},
      {"Shift takes the range from the last clicked item", ssShift, 0, {0, 1}},
      {"a plain click starts again", 0, 4, {4}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    Click(10, RowY(step.row), step.shift);
    std::vector<int> selected;
    for (int i = 0; i < list->Items()->Count(); ++i)
      if (list->Items()->Item(i)->Selected()) selected.push_back(i);
    EXPECT_EQ(selected, step.selected);
  }
  EXPECT_EQ(list->SelCount(), 1);
  list->Items()->Item(2)->SetSelected(true);
  list->SetMultiSelect(false);  // the first selected item stays
  EXPECT_EQ(list->SelCount(), 1);
  EXPECT_EQ(list->ItemIndex(), 2);
}

TEST_F(ListViewTest, ChangesReportTheirKindAndAnUpdateReportsOnceAtItsEnd) {
  Fill({"a"});
  TListItem* item = list->Items()->Item(0);
  Listen();
  item->SetCaption("b");
  item->SubItems()->Add("x");
  item->SetImageIndex(2);
  item->SetChecked(true);
  EXPECT_EQ(rec.log, "change:b:text change:b:text change:b:image change:b:state ");

  rec.log.clear();
  list->Items()->BeginUpdate();
  list->Items()->BeginUpdate();
  item->SetCaption("c");
  list->Items()->Add()->SetCaption("d");
  list->Items()->EndUpdate();
  EXPECT_EQ(rec.log, "") << "still inside the outer update";
  list->Items()->EndUpdate();
  EXPECT_EQ(rec.log, "change:null:text ");

  rec.log.clear();
  list->Items()->BeginUpdate();
  list->Items()->EndUpdate();
  EXPECT_EQ(rec.log, "") << "nothing changed";
}

TEST_F(ListViewTest, SortedListsKeepTheirOrder) {
  Fill({"c", "A", "b"});
  EXPECT_EQ(Captions(), "c A b");
  list->SetSortType(TSortType::stText);
  EXPECT_EQ(Captions(), "A b c");
  list->Items()->Add()->SetCaption("B2");
  list->Items()->Item(0)->SetCaption("z");
  EXPECT_EQ(Captions(), "b B2 c z");

  // An order given by code: by the second column, backwards.
  const char* dates[] = {"2", "4", "1", "3"};
  for (int i = 0; i < 4; ++i)
    list->Items()->Item(i)->SubItems()->Add(dates[i]);
  list->SetSortType(TSortType::stNone);
  list->CustomSort(
      [](TListItem* a, TListItem* b, std::intptr_t) {
        return CompareItemText(b->SubItems()->Strings(0), a->SubItems()->Strings(0));
      },
      0);
  EXPECT_EQ(Captions(), "B2 z b c");

  // By data through OnCompare; a data change sorts again.
  int numbers[] = {30, 10, 20, 40};
  for (int i = 0; i < 4; ++i)
    list->Items()->Item(i)->SetData(&numbers[i]);
  list->OnCompare = MakeMethod<&Recorder::CompareData>(&rec);
  list->SetSortType(TSortType::stData);
  EXPECT_EQ(Captions(), "z b B2 c");
  numbers[0] = 5;  // B2's number, changed behind the list's back
  list->Items()->Item(2)->Update();
  EXPECT_EQ(Captions(), "B2 z b c");
}

// A sorted list places each new or changed item where a stable sort of the whole list
// would: after the items with an equal caption that stood before it, before the others.
TEST_F(ListViewTest, ASortedListPlacesChangedItemsAsAStableSortWould) {
  list->SetSortType(TSortType::stText);
  std::vector<TListItem*> expected;
  std::mt19937 random(7);
  const auto caption = [&] { return std::string(1, "aAbBc"[random() % 5]); };
  const auto stableOrder = [&] {
    std::stable_sort(expected.begin(), expected.end(), [](TListItem* x, TListItem* y) {
      return CompareItemText(x->Caption(), y->Caption()) < 0;
    });
  };
  for (int step = 0; step < 200; ++step) {
    if (step % 3 == 2) {
      expected[random() % expected.size()]->SetCaption(caption() + "x");
    } else {
      TListItem* item = list->Items()->Add();
      expected.push_back(item);
      item->SetCaption(caption());
    }
    stableOrder();
    for (int i = 0; i < list->Items()->Count(); ++i)
      ASSERT_EQ(list->Items()->Item(i), expected[static_cast<std::size_t>(i)]) << "step " << step;
  }
}

TEST_F(ListViewTest, CaptionsAreEditedInPlace) {
  const std::string zhong = Gb("中");
  struct Case {
    const char* what;
    std::function<void()> keys;
    std::string caption;
    bool edited;
  };
  const std::vector<Case> cases{
      {"typing replaces the selected caption",
       [] {
         Type("xy");
         Press(VK_RETURN);
       },
       "xy", true},
      {"caret keys, Backspace and a double-byte character",
       [&] {
         Press(VK_END);
         Press(VK_BACK);
         Type(zhong);
         Press(VK_HOME);
         Press(VK_DELETE);
         Press(VK_RETURN);
       },
       "lph" + zhong, true},
      {"Escape drops the edit",
       [] {
         Type("zz");
         Press(VK_ESCAPE);
       },
       "Alpha", false},
  };
  form->SetKeyPreview(true);
  form->OnKeyDown = MakeMethod<&Recorder::FormKey>(&rec);
  form->OnKeyPress = MakeMethod<&Recorder::FormChar>(&rec);
  list->OnEdited = MakeMethod<&Recorder::Edited>(&rec);
  Fill({"Alpha"});
  TListItem* item = list->Items()->Item(0);
  list->SetItemFocused(item);
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    item->SetCaption("Alpha");
    rec.log.clear();
    Press(*list, VK_F2);
    ASSERT_TRUE(list->IsEditing());
    rec.log.clear();
    test.keys();
    EXPECT_FALSE(list->IsEditing());
    EXPECT_EQ(item->Caption(), test.caption);
    // The editor's keys, and the Enter or Escape that ended it, are the editor's own.
    EXPECT_EQ(rec.log, test.edited ? "edited:Alpha->" + test.caption + " " : "");
  }

  // OnEdited may change the new caption.
  rec.editedSuffix = "!";
  EXPECT_TRUE(item->EditCaption());
  Type("n");
  Press(VK_RETURN);
  EXPECT_EQ(item->Caption(), "n!");
}

TEST_F(ListViewTest, EditingNeedsAWritableListAndOnEditingsConsent) {
  Fill({"a"});
  TListItem* item = list->Items()->Item(0);
  list->SetItemFocused(item);
  list->OnEditing = MakeMethod<&Recorder::Editing>(&rec);
  rec.allowEditing = false;
  Press(VK_F2);
  EXPECT_FALSE(list->IsEditing());
  rec.allowEditing = true;
  list->SetReadOnly(true);
  EXPECT_FALSE(item->EditCaption());
  list->SetReadOnly(false);

  // A click elsewhere keeps the edit; deleting the edited item drops it.
  ASSERT_TRUE(item->EditCaption());
  Type("b");
  Click(10, RowY(3));
  EXPECT_EQ(item->Caption(), "b");
  ASSERT_TRUE(item->EditCaption());
  list->OnDeletion = MakeMethod<&Recorder::Deletion>(&rec);
  list->Items()->Clear();
  EXPECT_FALSE(list->IsEditing());
  EXPECT_EQ(rec.log, "deleted:b ");
}

TEST_F(ListViewTest, SpaceTogglesTheFocusedCheckBox) {
  Fill({"a", "b"});
  Press(VK_DOWN);
  Press(VK_SPACE);
  EXPECT_FALSE(list->Items()->Item(0)->Checked()) << "no check boxes";
  list->SetCheckboxes(true);
  Press(VK_SPACE);
  EXPECT_TRUE(list->Items()->Item(0)->Checked());
  Press(VK_SPACE);
  EXPECT_FALSE(list->Items()->Item(0)->Checked());
  EXPECT_FALSE(list->Items()->Item(1)->Checked());
}

TEST_F(ListViewTest, HeaderClicksReportTheirColumn) {
  Fill({"a"});
  list->OnColumnClick = MakeMethod<&Recorder::ColumnClick>(&rec);
  Click(80, 5);
  SendMessage(list->Handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(10, 5));  // pressed on one,
  SendMessage(list->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(80, 5));    // released on another
  list->SetColumnClick(false);
  Click(10, 5);
  EXPECT_EQ(rec.log, "column:Date ");
  list->SetShowColumnHeaders(false);
  EXPECT_EQ(list->HeaderHeight(), 0);
  Click(10, 5);
  EXPECT_EQ(list->ItemIndex(), 0) << "without headers the first row starts at the top";
}

TEST_F(ListViewTest, ColumnsFitTheirTextsOrShareTheWidth) {
  TListColumn* name = list->Column(0);
  TListColumn* date = list->Column(1);
  Fill({"a"});
  name->SetWidth(-1);
  const int narrow = name->Width();
  list->Items()->Add()->SetCaption("a much longer caption");
  EXPECT_GT(name->Width(), narrow) << "a fitted width follows the texts";
  name->SetWidth(-2);
  name->SetCaption("a caption wider than every item's caption");
  const int withCaption = name->Width();
  name->SetWidth(-1);
  EXPECT_GT(withCaption, name->Width()) << "-2 fits the caption too";
  name->SetMaxWidth(40);
  EXPECT_EQ(name->Width(), 40);

  // Client width 300: a fixed column of 100 leaves 200 to two sharing columns.
  name->SetMaxWidth(0);
  name->SetWidth(100);
  date->SetAutoSize(true);
  TListColumn* third = list->Columns()->Add();
  third->SetAutoSize(true);
  EXPECT_EQ(date->Width(), 100);
  EXPECT_EQ(third->Width(), 100);
  list->SetWidth(401);
  EXPECT_EQ(date->Width(), 151) << "the first sharing column takes the odd pixel";
  EXPECT_EQ(third->Width(), 150);
  third->SetMinWidth(200);
  EXPECT_EQ(third->Width(), 200);
}

TEST(ListViewResource, FormResourcesDescribeListViews) {
  test::TestMachine machine{936};
  Owned<TComponent> root = CreateComponentFromResource(
      "object f: TForm\n"
      "  object lstCondition: TListView\n"
      "    SmallImages = ImageList1\n"
      "    Columns = <\n"
      "      item\n"
      "        Alignment = taRightJustify\n"
      "        Caption = 'A'\n"
      "        Width = 45\n"
      "      end\n"
      "      item\n"
      "        AutoSize = True\n"
      "      end>\n"
      "    HideSelection = False\n"
      "    ReadOnly = True\n"
      "    RowSelect = True\n"
      "    MultiSelect = True\n"
      "    ShowColumnHeaders = False\n"
      "    SortType = stText\n"
      "    ViewStyle = vsReport\n"
      "  end\n"
      "  object ImageList1: TImageList\n"
      "  end\n"
      "end",
      nullptr);
  auto* list = dynamic_cast<TListView*>(root->FindComponent("lstCondition"));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->ViewStyle(), TViewStyle::vsReport);
  EXPECT_EQ(list->SortType(), TSortType::stText);
  EXPECT_TRUE(list->ReadOnly() && list->RowSelect() && list->MultiSelect());
  EXPECT_FALSE(list->HideSelection() || list->ShowColumnHeaders());
  ASSERT_EQ(list->Columns()->Count(), 2);
  EXPECT_EQ(list->Column(0)->Alignment(), TAlignment::taRightJustify);
  EXPECT_EQ(list->Column(0)->Width(), 45);
  EXPECT_TRUE(list->Column(1)->AutoSize());
  EXPECT_EQ(list->SmallImages(), root->FindComponent("ImageList1"));
  EXPECT_EQ(list->LargeImages(), nullptr);

  // Written back, only what differs from the defaults appears.
  const std::string text = WriteComponentResource(*root);
  EXPECT_NE(text.find("ViewStyle = vsReport"), std::string::npos);
  EXPECT_NE(text.find("HideSelection = False"), std::string::npos);
  EXPECT_EQ(text.find("ColumnClick"), std::string::npos);
  EXPECT_EQ(text.find("Checkboxes"), std::string::npos);
}

}  // namespace
}  // namespace ox
