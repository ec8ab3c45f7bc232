#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "controls/ControlClasses.h"
#include "controls/SelectPnl.h"
#include "platform/CodePage.h"
#include "tests/controls/LookupForm.h"
#include "tests/ui/ControlInput.h"
#include "ui/Canvas.h"
#include "ui/Dialogs.h"
#include "ui/FormReader.h"
#include "ui/TypeInfo.h"

namespace ox {
namespace {

using test::TLookupForm;

// Logs what the panel raises.
struct PanelLog {
  std::string log;
  bool acceptDelete = true;
  bool acceptStyle = true;

  void Named(const char* event, TObject* sender) {
    const std::string& name = static_cast<TComponent*>(sender)->Name();
    log += std::string(event) + ":" + (name.empty() ? "?" : name) + " ";
  }
  void Click(TObject* sender) { Named("click", sender); }
  void TypeClick(TObject* sender) { Named("type", sender); }
  void ClearClick(TObject* sender) { Named("clear", sender); }
  void DeleteClick(TObject* sender, bool& accept) {
    Named("delete", sender);
    accept = acceptDelete;
  }
  void OpenWin(TObject*, TWinControl* target) { Named("open", target); }
  void StyleChanging(TObject*, TSelectStyle from, TSelectStyle& to, bool& accept) {
    log += "changing:" + SelectStyleNames()[static_cast<int>(from)] + ">" +
           SelectStyleNames()[static_cast<int>(to)] + " ";
    accept = acceptStyle;
  }
  void StyleChange(TObject*, TSelectStyle from, TSelectStyle to) {
    log += "change:" + SelectStyleNames()[static_cast<int>(from)] + ">" +
           SelectStyleNames()[static_cast<int>(to)] + " ";
  }
  void MouseDown(TObject* sender, TMouseButton, TShiftState, int x, int y) {
    Named("down", sender);
    log += std::to_string(x) + "," + std::to_string(y) + " ";
  }
  void KeyDown(TObject* sender, std::uint16_t&, TShiftState) { Named("key", sender); }
  void ItemSelect(TObject*, TListItem* item, int index, bool selected) {
    log += "select:" + item->Caption() + "@" + std::to_string(index) + (selected ? "+" : "-") + " ";
  }
  std::string Take() { return std::exchange(log, std::string()); }
};

class SelectPanelTest : public ::testing::Test {
 protected:
  void SetUp() override { HeadlessMessages().Reset(); }
  void TearDown() override { HeadlessMessages().Reset(); }

  TSelectPanel* MakePanel(const char* name = "Sp01") {
    auto* made = new TSelectPanel(form.get());
    made->SetName(name);
    made->SetParent(form.get());
    made->SetLeft(10);
    made->SetTop(10);
    made->SetCaption(Gb("工单"));
    return made;
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (int i = 0; i < panel->Items()->Count(); ++i) {
      const TListItem* item = panel->Items()->Item(i);
      std::string row = item->Caption();
      for (int j = 0; j < item->SubItems()->Count(); ++j)
        row += "|" + item->SubItems()->Strings(j);
      rows.push_back(row);
    }
    return rows;
  }
  void Hook() {
    panel->OnClick = MakeMethod<&PanelLog::Click>(&events);
    panel->OnTypeClick = MakeMethod<&PanelLog::TypeClick>(&events);
    panel->OnClearClick = MakeMethod<&PanelLog::ClearClick>(&events);
    panel->OnDeleteClick = MakeMethod<&PanelLog::DeleteClick>(&events);
    panel->OnOpenWinClick = MakeMethod<&PanelLog::OpenWin>(&events);
    panel->OnStyleChanging = MakeMethod<&PanelLog::StyleChanging>(&events);
    panel->OnStyleChange = MakeMethod<&PanelLog::StyleChange>(&events);
    panel->OnMouseDown = MakeMethod<&PanelLog::MouseDown>(&events);
    panel->OnKeyDown = MakeMethod<&PanelLog::KeyDown>(&events);
    panel->OnItemSelect = MakeMethod<&PanelLog::ItemSelect>(&events);
  }
  // Leaves the panel with the focus for another edit of the form.
  void Leave() {
    form->Show();
    panel->edBegin()->SetFocus();
    other->SetFocus();
  }

  Owned<TLookupForm> form{CreateForm<TLookupForm>(nullptr)};
  TSelectPanel* panel = MakePanel();
  TEdit* other = [this] {
    auto* edit = new TEdit(form.get());
    edit->SetName("edOther");
    edit->SetParent(form.get());
    edit->SetBounds(10, 250, 100, 21);
    return edit;
  }();
  PanelLog events;
};

TEST_F(SelectPanelTest, StartsAsAHorizontalRangeWithItsChildren) {
  EXPECT_EQ(panel->Width(), 353);
  EXPECT_EQ(panel->Height(), 45);
  const struct {
    const char* property;
    Variant value;
  } defaults[] = {
      {"AutoChangeDateSite", true},
      {"ColumnsAutoSize", true},
      {"CanOpenWin", true},
      {"CheckDuplicate", "cd_None"},
      {"DateType", "dt_NoneCare"},
      {"DateSign", "/"},
      {"Discard", ""},
      {"EditMask", ""},
      {"GlyphIndex", 8},
      {"HintWord", Gb("区间选择")},
      {"HideSelection", false},
      {"OtherHeight", 105},
      {"OtherWidth", 200},
      {"ShowColumnHeader", false},
      {"SortListBox", false},
      {"Style", "sp_Range"},
      {"UseDiscard", false},
      {"UserChoice", true},
      {"UseVertical", false},
      {"ValueType", "vt_String"},
  };
  for (const auto& [property, value] : defaults) {
    SCOPED_TRACE(property);
    const PropInfo* prop = panel->classInfo().FindProperty(property);
    ASSERT_NE(prop, nullptr);
    EXPECT_EQ(VarToStr(GetPropValue(*panel, *prop)), VarToStr(value));
  }
  EXPECT_EQ(panel->BeginWords()->Text(), Gb("起\r\n起\r\n"));
  EXPECT_EQ(panel->FinalWords()->Text(), Gb("止\r\n止\r\n"));
  EXPECT_EQ(panel->FindComponent("edBegin"), panel->edBegin());
  EXPECT_EQ(panel->FindComponent("edFinal"), panel->edFinal());
  EXPECT_EQ(panel->FindComponent("ListBox"), panel->ListBox());
  EXPECT_EQ(panel->BeginLabel()->Caption(), Gb("起"));
  EXPECT_EQ(panel->ChildHints()->Count(), 9);
  EXPECT_EQ(panel->ListButton()->Hint(), Gb("多选-信息开窗"));
  EXPECT_EQ(panel->ClearButton()->Hint(), Gb("多选-删除己选信息"));
  EXPECT_FALSE(panel->Switch()->Visible());
  EXPECT_TRUE(panel->RangePage()->Visible());
  EXPECT_FALSE(panel->ListPage()->Visible());
  EXPECT_EQ(panel->DeleteButton()->GlyphIndex(), 47);
  EXPECT_EQ(panel->ClearButton()->NumGlyphs(), 2);
  EXPECT_TRUE(panel->ListBox()->MultiSelect());
  EXPECT_EQ(panel->ListBox()->ViewStyle(), TViewStyle::vsReport);

  // A changed hint list goes to the children by position, as far as it reaches.
  panel->ChildHints()->SetText("a\r\nb\r\n");
  EXPECT_EQ(panel->Switch()->Hint(), "a");
  EXPECT_EQ(panel->edBegin()->Hint(), "b");
  EXPECT_EQ(panel->BeginButton()->Hint(), Gb("区间选择-起始信息开窗"));
}

TEST_F(SelectPanelTest, TheHorizontalRowFillsThePageAndTheVerticalRowsSplitTheHeight) {
  const TPanel& page = *panel->RangePage();
  const int captionHeight = FontTextHeight(*panel->Font());
  EXPECT_EQ(page.BoundsRect(), (TRect{2, captionHeight + 3, 351, 43}));
  const TF2Button& last = *panel->FinalButton();
  EXPECT_EQ(last.Left() + last.Width(), page.Width());
  EXPECT_EQ(panel->edBegin()->Width(), panel->edFinal()->Width());
  EXPECT_EQ(panel->edBegin()->Left(), 2 + panel->BeginLabel()->Width() + 1);

  panel->SetUseVertical(true);  // two rows take the other size
  EXPECT_EQ(panel->Width(), 200);
  EXPECT_EQ(panel->Height(), 105);
  const int third = (page.Height() - 2 * 24) / 3;
  EXPECT_EQ(panel->edBegin()->Top(), third);
  EXPECT_EQ(panel->edFinal()->Top(), third + 24 + third);
  EXPECT_EQ(panel->edFinal()->Left(), panel->edBegin()->Left());
  EXPECT_EQ(panel->BeginButton()->Left() + 23 + 4, page.Width());
}

TEST_F(SelectPanelTest, StyleChangesSwapTheSizeOnlyBetweenRangeAndList) {
  Hook();
  panel->SetStyle(TSelectStyle::sp_Discrete);
  EXPECT_EQ(events.Take(), "changing:sp_Range>sp_Discrete change:sp_Range>sp_Discrete ");
  EXPECT_EQ(panel->Width(), 200);
  EXPECT_EQ(panel->Height(), 105);
  EXPECT_EQ(panel->OtherWidth(), 353);
  EXPECT_EQ(panel->OtherHeight(), 45);
  EXPECT_TRUE(panel->ListPage()->Visible());

  panel->SetStyle(TSelectStyle::sp_UserChoice);
  EXPECT_EQ(panel->Width(), 200);
  EXPECT_TRUE(panel->Switch()->Visible());
  EXPECT_TRUE(panel->RangePage()->Visible());  // UserChoice: the range
  events.Take();

  events.acceptStyle = false;
  panel->SetStyle(TSelectStyle::sp_Range);
  EXPECT_EQ(panel->Style(), TSelectStyle::sp_UserChoice);
  events.acceptStyle = true;
  panel->SetStyle(TSelectStyle::sp_Range);
  EXPECT_EQ(panel->Width(), 353);
  EXPECT_EQ(panel->Height(), 45);
}

TEST_F(SelectPanelTest, TheSwitchActsOnlyInUserChoice) {
  Hook();
  panel->SetUserChoice(false);
  EXPECT_TRUE(panel->UserChoice());
  panel->Switch()->Click();
  EXPECT_TRUE(panel->IsRangeMode());
  EXPECT_TRUE(panel->Switch()->Checked());
  EXPECT_EQ(events.Take(), "click:Sp01 ");

  panel->SetStyle(TSelectStyle::sp_UserChoice);
  events.Take();
  panel->Switch()->Click();
  EXPECT_FALSE(panel->UserChoice());
  EXPECT_FALSE(panel->IsRangeMode());
  EXPECT_TRUE(panel->ListPage()->Visible());
  EXPECT_FALSE(panel->RangePage()->Visible());
  EXPECT_EQ(events.Take(), "type:Sp01 click:Sp01 ");
  panel->SetUserChoice(true);
  EXPECT_TRUE(panel->IsRangeMode());
  EXPECT_TRUE(panel->RangePage()->Visible());
  // The vertical layout labels the edits with the second entry of the words.
  panel->SetBeginWords(nullptr);
  panel->BeginWords()->SetText("From\r\nFrom:\r\nignored\r\n");
  EXPECT_EQ(panel->BeginWords()->Count(), 2);
  EXPECT_EQ(panel->BeginLabel()->Caption(), "From:");
}

TEST_F(SelectPanelTest, AddItemAddsColumnsAndPadsRows) {
  panel->ColumnCaptions()->SetText(Gb("工单\r\n"));
  EXPECT_FALSE(panel->AddItem({}));
  EXPECT_TRUE(panel->AddItem({"A1", "x", "y"}));
  EXPECT_TRUE(panel->AddItem({"B2"}));
  EXPECT_TRUE(panel->AddItem({"C3", "z"}));
  EXPECT_EQ(Rows(), (std::vector<std::string>{"A1|x|y", "B2||", "C3|z|"}));
  ASSERT_EQ(panel->Columns()->Count(), 3);
  EXPECT_EQ(panel->ColumnCaptions()->Text(), Gb("工单\r\nData2\r\nData3\r\n"));

  // A wider row later pads all the others.
  EXPECT_TRUE(panel->AddItem({"D4", "", "", "w"}));
  EXPECT_EQ(Rows(), (std::vector<std::string>{"A1|x|y|", "B2|||", "C3|z||", "D4|||w"}));

  // Each column as wide as "W" times its longest text, caption included.
  TCanvas canvas;
  canvas.Font().Assign(*panel->ListBox()->Font());
  const int w = canvas.TextWidth("W");
  EXPECT_EQ(panel->Columns()->Items(0)->Width(), w * 4);  // the caption: 4 GB bytes
  EXPECT_EQ(panel->Columns()->Items(1)->Width(), w * 5);  // "Data2"
  panel->AddItem({"E5", "a long text"});
  EXPECT_EQ(panel->Columns()->Items(1)->Width(), w * 11);
  panel->SetColumnsAutoSize(false);
  panel->AddItem({"F6", "an even longer text"});
  EXPECT_EQ(panel->Columns()->Items(1)->Width(), w * 11);
}

TEST_F(SelectPanelTest, DuplicateChecksSortAndDropRepeatedFirstColumns) {
  const struct {
    TCheckDuplicate check;
    std::vector<std::string> rows;
  } cases[] = {
      {TCheckDuplicate::cd_None, {"b", "ABC", "abc", "ABC"}},
      {TCheckDuplicate::cd_CheckCase, {"ABC", "abc", "b"}},
      {TCheckDuplicate::cd_CaseInsensitive, {"ABC", "b"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(CheckDuplicateNames()[static_cast<int>(c.check)]);
    panel->Clear();
    panel->SetCheckDuplicate(c.check);
    for (const char* value : {"b", "ABC", "abc", "ABC"})
      EXPECT_TRUE(panel->AddItem({value}));
    EXPECT_EQ(Rows(), c.rows);
  }
  EXPECT_TRUE(panel->SortListBox());

  // Rows put in without AddItem are cleaned when the check is set in list mode.
  panel->SetCheckDuplicate(TCheckDuplicate::cd_None);
  panel->SetSortListBox(false);
  panel->Clear();
  for (const char* value : {"x", "X", "y"})
    panel->Items()->Add()->SetCaption(value);
  panel->SetCheckDuplicate(TCheckDuplicate::cd_CaseInsensitive);
  EXPECT_EQ(Rows().size(), 3u);  // range mode: nothing removed
  panel->SetStyle(TSelectStyle::sp_Discrete);
  panel->SetCheckDuplicate(TCheckDuplicate::cd_CaseInsensitive);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"X", "y"}));
}

// The panel keeps what it knows of its rows between additions and checks only the new
// row's neighbours for duplicates. A twin panel whose list is touched before every
// addition works everything out afresh; both must always agree.
TEST_F(SelectPanelTest, AddingRowByRowAgreesWithWorkingEverythingOutAfresh) {
  TSelectPanel* twin = MakePanel("Sp02");
  std::mt19937 random(52);
  const auto text = [&](int longest) {
    std::string made;
    for (int n = static_cast<int>(random() % static_cast<unsigned>(longest + 1)); n > 0; --n)
      made += "aAbB"[random() % 4];
    return made;
  };
  for (TCheckDuplicate check : {TCheckDuplicate::cd_CaseInsensitive, TCheckDuplicate::cd_CheckCase,
                                TCheckDuplicate::cd_None}) {
    SCOPED_TRACE(CheckDuplicateNames()[static_cast<int>(check)]);
    for (TSelectPanel* sp : {panel, twin}) {
      sp->Clear();
      sp->SetCheckDuplicate(check);
      sp->SetSortListBox(check != TCheckDuplicate::cd_None);
    }
    for (int step = 0; step < 300; ++step) {
      std::vector<std::string> values{text(3)};
      for (int n = static_cast<int>(random() % 4); n > 0; --n)
        values.push_back(text(6));
      if (step % 50 == 49) panel->ColumnClick(static_cast<int>(random() % 3));
      // The twin follows the panel's sort order with clicks of its own.
      while (twin->SortColumn() != panel->SortColumn() ||
             twin->SortAscending() != panel->SortAscending())
        twin->ColumnClick(panel->SortColumn());
      // A row that comes and goes moves the change stamp: nothing known is kept.
      twin->Items()->Add();
      twin->Items()->Delete(twin->Items()->Count() - 1);
      panel->AddItem(values);
      twin->AddItem(values);
      std::swap(panel, twin);
      const std::vector<std::string> twinRows = Rows();
      std::swap(panel, twin);
      ASSERT_EQ(Rows(), twinRows) << "step " << step;
      for (int c = 0; c < panel->Columns()->Count(); ++c)
        ASSERT_EQ(panel->Columns()->Items(c)->Width(), twin->Columns()->Items(c)->Width());
    }
  }
}

TEST_F(SelectPanelTest, SortingFollowsTheColumnAndItsTieRules) {
  panel->SetSortListBox(true);
  for (std::vector<std::string> row :
       {std::vector<std::string>{"b", "1", "k"}, {"a", "2", "k"}, {"a", "1", "k"}, {"c", "1", "j"}})
    panel->AddItem(row);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"a|1|k", "a|2|k", "b|1|k", "c|1|j"}));
  const struct {
    int column;
    std::vector<std::string> rows;
  } clicks[] = {
      {2, {"c|1|j", "a|1|k", "a|2|k", "b|1|k"}},  // ties: caption, then column 1
      {2, {"b|1|k", "a|2|k", "a|1|k", "c|1|j"}},  // same column: reversed
      {1, {"a|1|k", "b|1|k", "c|1|j", "a|2|k"}},  // ties: caption
      {0, {"a|1|k", "a|2|k", "b|1|k", "c|1|j"}},  // ties: column 1
  };
  for (const auto& click : clicks) {
    SCOPED_TRACE(click.column);
    panel->ColumnClick(click.column);
    EXPECT_EQ(Rows(), click.rows);
  }
  // New rows take their place in the order in use.
  panel->ColumnClick(0);  // descending
  panel->AddItem({"bb", "0", "z"});
  EXPECT_EQ(Rows(), (std::vector<std::string>{"c|1|j", "bb|0|z", "b|1|k", "a|2|k", "a|1|k"}));
}

TEST_F(SelectPanelTest, LeavingThePanelPutsTheRangeInOrder) {
  const struct {
    TValueType type;
    TDateType dateType;
    const char* begin;
    const char* final;
    const char* wantBegin;
    const char* wantFinal;
  } cases[] = {
      {TValueType::vt_Number, TDateType::dt_NoneCare, "20", "3", "3", "20"},
      {TValueType::vt_Number, TDateType::dt_NoneCare, "x", "-1", "-1", "x"},
      {TValueType::vt_Number, TDateType::dt_NoneCare, " 3 ", "20", "3", "20"},
      {TValueType::vt_Date, TDateType::dt_YYYYMMDD, "2024/05", "2024/04/30", "2024/04/30",
       "2024/05"},
      {TValueType::vt_Date, TDateType::dt_YYYYMMDD, "2024/05/01", "2024/05", "2024/05/01",
       "2024/05"},
      {TValueType::vt_Date, TDateType::dt_YYYYMMDD, "2024/05/01", "bad", "bad", "2024/05/01"},
      {TValueType::vt_Date, TDateType::dt_NoneCare, "2024/5", "2024/10", "2024/10", "2024/5"},
      {TValueType::vt_Date, TDateType::dt_YYYMMDD, "113/02/01", "112/12/31", "112/12/31",
       "113/02/01"},
      {TValueType::vt_Float, TDateType::dt_NoneCare, "10.5", "9.75", "9.75", "10.5"},
      {TValueType::vt_Float, TDateType::dt_NoneCare, "10.5", "abc", "10.5", "abc"},
      {TValueType::vt_String, TDateType::dt_NoneCare, "b", "a", "a", "b"},
      {TValueType::vt_String, TDateType::dt_NoneCare, "b", "", "b", ""},
      {TValueType::vt_Time, TDateType::dt_NoneCare, "12:00", "09:30", "09:30", "12:00"},
      {TValueType::vt_OtherMask, TDateType::dt_NoneCare, "b", "a", "b", "a"},
  };
  form->Show();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.begin) + " / " + c.final);
    panel->SetValueType(c.type);
    panel->SetDateType(c.dateType);
    panel->edBegin()->SetText(c.begin);
    panel->edFinal()->SetText(c.final);
    Leave();
    EXPECT_EQ(panel->edBegin()->Text(), c.wantBegin);
    EXPECT_EQ(panel->edFinal()->Text(), c.wantFinal);
  }
}

TEST_F(SelectPanelTest, DiscardAndBlankMaskTextAreNeverSwapped) {
  panel->SetValueType(TValueType::vt_String);
  panel->SetUseDiscard(true);
  panel->SetDiscard(" 9999 ");
  panel->edBegin()->SetText("9999");
  panel->edFinal()->SetText("0001");
  Leave();
  EXPECT_EQ(panel->edBegin()->Text(), "9999");
  panel->SetUseDiscard(false);
  Leave();
  EXPECT_EQ(panel->edBegin()->Text(), "0001");

  panel->SetAutoChangeDateSite(false);
  panel->SetValueType(TValueType::vt_Date);
  panel->SetDateType(TDateType::dt_YYYYMMDD);
  panel->edBegin()->SetText("2024/02/01");
  panel->edFinal()->SetText("2024/01/01");
  Leave();
  EXPECT_EQ(panel->edBegin()->Text(), "2024/02/01");
}

TEST_F(SelectPanelTest, EditMaskKeepsTheTextsAndRecordsTheBlankText) {
  panel->edBegin()->SetText("20240105");
  int changes = 0;
  struct Counter {
    int* count;
    void Changed(TObject*) { ++*count; }
  } counter{&changes};
  panel->edBegin()->OnChange = MakeMethod<&Counter::Changed>(&counter);
  panel->SetEditMask("9999/99/99;1;_");
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(panel->BlankMaskText(), "    /  /  ");
  EXPECT_EQ(panel->edBegin()->Text(), "2024/01/05");
  EXPECT_EQ(panel->edFinal()->EditMask(), "9999/99/99;1;_");

  // The blank text of an empty edit counts as no bound.
  panel->SetValueType(TValueType::vt_Date);
  panel->SetDateType(TDateType::dt_YYYYMMDD);
  panel->edFinal()->SetText("");
  Leave();
  EXPECT_EQ(panel->edBegin()->Text(), "2024/01/05");
}

TEST_F(SelectPanelTest, ReadPanelDateFollowsTheDateType) {
  const auto date = [](int y, int m, int d) { return EncodeDate(y, m, d); };
  const struct {
    const char* text;
    TDateType type;
    std::optional<TDateTime> want;
  } cases[] = {
      {"2024/05", TDateType::dt_YYYYMMDD, date(2024, 5, 1)},
      {" 2024/05/31 ", TDateType::dt_YYYYMMDD, date(2024, 5, 31)},
      {"05/2024", TDateType::dt_MMDDYYYY, date(2024, 5, 1)},
      {"12/25/2024", TDateType::dt_MMDDYYYY, date(2024, 12, 25)},
      {"05/2024", TDateType::dt_DDMMYYYY, date(2024, 5, 1)},
      {"25/12/2024", TDateType::dt_DDMMYYYY, date(2024, 12, 25)},
      {"113/02/29", TDateType::dt_YYYMMDD, date(2024, 2, 29)},
      {"13/02", TDateType::dt_YYMMDD, date(1924, 2, 1)},
      {"2024/02/30", TDateType::dt_YYYYMMDD, std::nullopt},
      {"2024/x/01", TDateType::dt_YYYYMMDD, std::nullopt},
      {"2024", TDateType::dt_YYYYMMDD, std::nullopt},
      {"2024/01/01/01", TDateType::dt_YYYYMMDD, std::nullopt},
      {"2024/01/01", TDateType::dt_NoneCare, std::nullopt},
      {"", TDateType::dt_YYYYMMDD, std::nullopt},
      {"____/__", TDateType::dt_YYYYMMDD, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ReadPanelDate(c.text, "/", c.type, "____/__ "), c.want);
  }
  EXPECT_EQ(ReadPanelDate("2024-05", "-", TDateType::dt_YYYYMMDD, ""), date(2024, 5, 1));
}

TEST_F(SelectPanelTest, OpenWindowButtonsFocusTheirTargetAndAskTheForm) {
  Hook();
  form->Show();
  panel->FinalButton()->Click();
  EXPECT_TRUE(panel->edFinal()->Focused());
  EXPECT_EQ(form->log, "openwin:edFinal:0 ");
  EXPECT_EQ(events.Take(), "open:edFinal click:Sp01 ");

  panel->SetStyle(TSelectStyle::sp_Discrete);
  events.Take();
  form->log.clear();
  panel->ListButton()->Click();
  EXPECT_TRUE(panel->ListBox()->Focused());
  EXPECT_EQ(form->log, "openwin:ListBox:0 ");

  panel->SetCanOpenWin(false);
  EXPECT_FALSE(panel->ListButton()->Visible());
  EXPECT_FALSE(panel->BeginButton()->Visible());
}

TEST_F(SelectPanelTest, DeleteAndClearButtons) {
  Hook();
  panel->SetStyle(TSelectStyle::sp_Discrete);
  for (const char* value : {"a", "b", "c"})
    panel->AddItem({value});
  events.Take();
  panel->Items()->Item(0)->SetSelected(true);
  panel->Items()->Item(2)->SetSelected(true);
  EXPECT_EQ(events.Take(), "select:a@0+ select:c@2+ ");

  events.acceptDelete = false;
  panel->DeleteButton()->Click();
  EXPECT_EQ(Rows().size(), 3u);
  events.acceptDelete = true;
  panel->DeleteButton()->Click();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"b"}));
  EXPECT_EQ(events.Take(), "delete:Sp01 click:Sp01 delete:Sp01 click:Sp01 ");

  form->Show();
  panel->ClearButton()->Click();
  EXPECT_TRUE(Rows().empty());
  EXPECT_TRUE(panel->ListBox()->Focused());
  EXPECT_EQ(events.Take(), "clear:Sp01 click:Sp01 ");
}

TEST_F(SelectPanelTest, ChildEventsArriveAsThePanels) {
  Hook();
  form->Show();
  test::ClickAt(*form, 10 + panel->edBegin()->BoundsIn(panel).Left + 3,
                10 + panel->edBegin()->BoundsIn(panel).Top + 3);
  EXPECT_EQ(events.Take(), "down:edBegin 3,3 click:edBegin ");
  // A label speaks through the panel, at the panel's coordinates.
  const TRect label = panel->FinalLabel()->BoundsIn(panel);
  test::ClickAt(*form, 10 + label.Left + 1, 10 + label.Top + 1);
  EXPECT_EQ(events.Take(), "down:Sp01 " + std::to_string(label.Left + 1) + "," +
                               std::to_string(label.Top + 1) + " click:Sp01 ");
  test::Press(*panel->edBegin(), VK_F5);
  EXPECT_EQ(events.Take(), "key:edBegin ");

  panel->SetEnabled(false);
  EXPECT_FALSE(panel->edBegin()->Enabled());
  EXPECT_FALSE(panel->ClearButton()->Enabled());
  panel->SetEnabled(true);
  EXPECT_TRUE(panel->ListBox()->Enabled());
}

TEST_F(SelectPanelTest, AGlyphThatCannotBeLoadedLeavesTheButtonsWithout) {
  panel->SetGlyphIndex(9);
  EXPECT_EQ(panel->GlyphIndex(), 9);
  EXPECT_EQ(panel->ListButton()->GlyphIndex(), 9);
  panel->SetGlyphIndex(5);  // a number the library has no picture for
  EXPECT_EQ(panel->GlyphIndex(), 9);
  EXPECT_EQ(panel->BeginButton()->GlyphIndex(), 0);
  EXPECT_TRUE(panel->BeginButton()->Glyph()->Empty());
  ASSERT_FALSE(HeadlessMessages().Records().empty());
  EXPECT_EQ(HeadlessMessages().Records()[0].request.text, Gb("读取 BMP 发生错误"));
}

TEST_F(SelectPanelTest, IsReadFromAFormResource) {
  RegisterControlClasses();
  Owned<TLookupForm> read{new TLookupForm(nullptr)};
  ReadComponentResource(*read, R"(object frm: TLookupForm
  object Sp02: TSelectPanel
    Left = 8
    Top = 8
    Width = 300
    Height = 120
    Caption = 'Orders'
    BeginWords.Strings = ('From' 'From:')
    ColumnCaptions.Strings = ('Order' 'Name')
    Style = sp_UserChoice
    UserChoice = False
    ValueType = vt_Number
    CheckDuplicate = cd_CaseInsensitive
  end
end)");
  auto* sp = static_cast<TSelectPanel*>(read->FindComponent("Sp02"));
  ASSERT_NE(sp, nullptr);
  EXPECT_EQ(sp->Width(), 300);  // no size swap while loading
  EXPECT_EQ(sp->Style(), TSelectStyle::sp_UserChoice);
  EXPECT_FALSE(sp->UserChoice());
  EXPECT_FALSE(sp->IsRangeMode());
  EXPECT_TRUE(sp->ListPage()->Visible());
  EXPECT_EQ(sp->BeginLabel()->Caption(), "From:");
  EXPECT_EQ(sp->Columns()->Count(), 2);
  EXPECT_EQ(sp->Columns()->Items(1)->Caption(), "Name");
  EXPECT_TRUE(sp->SortListBox());
}

}  // namespace
}  // namespace ox
