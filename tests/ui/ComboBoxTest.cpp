#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "tests/ui/ControlInput.h"
#include "ui/ComboBox.h"
#include "ui/FormReader.h"
#include "ui/Forms.h"

namespace ox {
namespace {

using test::Press;
using test::Type;

// A combo box with four lines on a shown form, every event it fires logged.
class ComboBoxTest : public ::testing::Test {
 protected:
  ComboBoxTest() {
    form->SetBounds(0, 0, 400, 300);
    combo = new TComboBox(form.get());
    combo->SetName("cbo");
    combo->SetParent(form.get());
    combo->Items()->SetCommaText("Week,Month,Monday,Year");
    combo->OnChange = MakeMethod<&test::Recorder::Changed>(&recorder);
    combo->OnClick = MakeMethod<&test::Recorder::Clicked>(&recorder);
    combo->OnDropDown = MakeMethod<&test::Recorder::DroppedDown>(&recorder);
    combo->OnCloseUp = MakeMethod<&test::Recorder::ClosedUp>(&recorder);
    form->Show();
  }

  test::Recorder recorder;
  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TComboBox* combo = nullptr;
};

TEST_F(ComboBoxTest, CodeSetsTheSelectionAndTextWithoutEvents) {
  for (TComboBoxStyle style : {TComboBoxStyle::csDropDown, TComboBoxStyle::csDropDownList}) {
    SCOPED_TRACE(ComboBoxStyleNames()[static_cast<int>(style)]);
    combo->SetStyle(style);
    combo->SetItemIndex(2);
    EXPECT_EQ(combo->Text(), "Monday");
    combo->SetItemIndex(-1);  // no line, no text
    EXPECT_EQ(combo->Text(), "");
    combo->SetItemIndex(40);
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(recorder.Take(), "");
  }
  // Without an edit part a text selects its line; with one it is only the text.
  combo->SetText("month");
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->Text(), "Month");
  combo->SetText("Decade");
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), "");
  combo->SetStyle(TComboBoxStyle::csDropDown);
  combo->SetText("Decade");
  EXPECT_EQ(combo->Text(), "Decade");
  EXPECT_EQ(GetWindowText(combo->Handle()), "Decade");
  EXPECT_EQ(recorder.Take(), "");
}

TEST_F(ComboBoxTest, ArrowKeysSelectAndReportClickThenChangeOrSelect) {
  combo->SetFocus();
  struct Step {
    std::uint16_t key;
    int index;
    const char* log;
  };
  const std::vector<Step> steps{{VK_DOWN, 0, "click:cbo change:cbo "},
                                {VK_DOWN, 1, "click:cbo change:cbo "},
                                {VK_UP, 0, "click:cbo change:cbo "},
                                {VK_UP, 0, ""}};
  for (const Step& step : steps) {
    Press(*combo, step.key);
    EXPECT_EQ(combo->ItemIndex(), step.index);
    EXPECT_EQ(combo->Text(), combo->Items()->Strings(step.index));
    EXPECT_EQ(recorder.Take(), step.log);
  }
  combo->OnSelect = MakeMethod<&test::Recorder::Selected>(&recorder);
  Press(*combo, VK_DOWN);
  EXPECT_EQ(recorder.Take(), "click:cbo select:cbo ");
  EXPECT_TRUE(combo->Focused());  // the arrows never moved the focus
}

TEST_F(ComboBoxTest, TypingEditsTheTextLikeAnEditAndClearsTheSelection) {
  ASSERT_TRUE(combo->Focused());
  combo->SetMaxLength(6);
  combo->SetCharCase(TEditCharCase::ecUpperCase);
  combo->SetItemIndex(1);  // a line shown in the focused box is selected
  EXPECT_EQ(combo->Text(), "MONTH");
  EXPECT_EQ(combo->SelLength(), 5);
  Type(*combo, "ye");
  EXPECT_EQ(combo->Text(), "YE");
  EXPECT_EQ(combo->ItemIndex(), -1);
  Press(*combo, VK_HOME);
  Type(*combo, "a");
  Press(*combo, VK_END);
  Type(*combo, "\bRLY!?");  // Backspace, then only what MaxLength leaves room for
  EXPECT_EQ(combo->Text(), "AYRLY!");
  EXPECT_EQ(combo->SelStart(), 6);
  std::string expected;  // one change for each byte that changed the text, "?" none
  for (int changes = 0; changes < 8; ++changes)
    expected += "change:cbo ";
  EXPECT_EQ(recorder.Take(), expected);
}

TEST_F(ComboBoxTest, TypingWithTheListDownSelectsTheFirstLineTheTextBegins) {
  combo->SetFocus();
  Press(*combo, VK_F4);
  EXPECT_TRUE(combo->DroppedDown());
  Type(*combo, "mo");
  EXPECT_EQ(combo->ItemIndex(), 1);  // "Month" before "Monday"
  Type(*combo, "nd");
  EXPECT_EQ(combo->ItemIndex(), 2);
  Press(*combo, VK_RETURN);  // closes the list and clicks no default button
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(recorder.Take(),
            "dropdown:cbo change:cbo change:cbo change:cbo change:cbo closeup:cbo ");
}

TEST_F(ComboBoxTest, AListStyleSelectsByTheFirstCharacterTyped) {
  combo->SetStyle(TComboBoxStyle::csDropDownList);
  combo->SetFocus();
  const std::vector<std::pair<char, int>> typed{{'m', 1}, {'M', 2}, {'m', 1}, {'y', 3}, {'q', 3}};
  for (auto [key, index] : typed) {
    SCOPED_TRACE(key);
    Type(*combo, std::string(1, key));
    EXPECT_EQ(combo->ItemIndex(), index);
  }
  EXPECT_EQ(combo->Text(), "Year");
  Press(*combo, VK_HOME);
  EXPECT_EQ(combo->Text(), "Week");
  Press(*combo, VK_RIGHT);  // steps like Down
  EXPECT_EQ(combo->ItemIndex(), 1);
  std::string expected;
  for (int changes = 0; changes < 6; ++changes)  // 'q' finds nothing
    expected += "click:cbo change:cbo ";
  EXPECT_EQ(recorder.Take(), expected);
}

TEST_F(ComboBoxTest, TheListDropsDownByKeyOrClickAndClosesWhenTheFocusLeaves) {
  auto* other = new TComboBox(form.get());
  other->SetParent(form.get());
  combo->SetFocus();
  Press(*combo, VK_DOWN, ssAlt);
  EXPECT_TRUE(combo->DroppedDown());
  Press(*combo, VK_F4);
  EXPECT_FALSE(combo->DroppedDown());
  test::ClickAt(*combo, 10, 10);  // the edit part of csDropDown
  EXPECT_FALSE(combo->DroppedDown());
  test::ClickAt(*combo, combo->Width() - 5, 10);  // its button
  EXPECT_TRUE(combo->DroppedDown());
  other->SetFocus();
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(recorder.Take(), "dropdown:cbo closeup:cbo dropdown:cbo closeup:cbo ");
  combo->SetStyle(TComboBoxStyle::csSimple);  // its list always shows
  combo->SetDroppedDown(true);
  EXPECT_FALSE(combo->DroppedDown());
}

TEST_F(ComboBoxTest, ChangingTheLinesKeepsTheSelectionOnItsLine) {
  combo->SetStyle(TComboBoxStyle::csDropDownList);
  combo->SetItemIndex(2);
  combo->Items()->Insert(0, "Day");
  EXPECT_EQ(combo->ItemIndex(), 3);
  combo->SetSorted(true);
  EXPECT_EQ(combo->Text(), "Monday");
  combo->Items()->Delete(combo->ItemIndex());
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), "");
  // An edit part keeps its text when the lines go.
  combo->SetStyle(TComboBoxStyle::csDropDown);
  combo->SetItemIndex(0);
  combo->Items()->Clear();
  EXPECT_EQ(combo->Text(), "Day");
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(recorder.Take(), "");
}

TEST(ComboBoxResource, TheIndexReadBeforeTheLinesSelectsOnceLoaded) {
  Owned<TForm> form{new TForm(nullptr)};
  ReadComponentResource(*form, R"(object Form1: TForm
  object cboSetDay: TComboBox
    Style = csDropDownList
    ItemHeight = 13
    ItemIndex = 1
    Text = 'ignored'
    Items.Strings = (
      '周'
      '月')
  end
end)");
  auto* combo = dynamic_cast<TComboBox*>(form->FindComponent("cboSetDay"));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->Text(), Gb("月"));
  EXPECT_EQ(combo->ItemHeight(), 13);  // standard styles take the font's line height
}

}  // namespace
}  // namespace ox
