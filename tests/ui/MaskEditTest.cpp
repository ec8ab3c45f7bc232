#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Machine.h"
#include "tests/ui/ControlInput.h"
#include "ui/Button.h"
#include "ui/EditMask.h"
#include "ui/FormReader.h"
#include "ui/Forms.h"
#include "ui/MaskEdit.h"

namespace ox {
namespace {

using test::Press;
using test::Type;

constexpr const char* kDateMask = "9999/99/99;1; ";
constexpr const char* kOrderMask = "!aaaa-aaaaaaaaaaa;0; ";

TEST(EditMaskTest, ReadsTheMaskItsFlagAndItsBlankCharacter) {
  struct Case {
    const char* mask;
    std::string blankText;
    bool saveLiterals;
    char blank;
  };
  const std::vector<Case> cases{
      {kDateMask, "    /  /  ", true, ' '},
      {kOrderMask, "    -           ", false, ' '},
      {"99:99", "__:__", true, '_'},
      {"999;0", "___", false, '_'},  // a flag without a blank keeps "_"
      {"(999)_000;1;*", "(***) ***", true, '*'},
      {"\\9\\\\99;0;#", "9\\##", false, '#'},  // escaped literals
      {">LL<ll", "____", true, '_'},
      {"a;c", "_;_", true, '_'},                // too short for fields: ";" is a literal
      {"99;99-99;1;_", "__;__-__", true, '_'},  // fields only among the last four
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    const EditMask mask(c.mask);
    EXPECT_EQ(mask.BlankText(), c.blankText);
    EXPECT_EQ(mask.SaveLiterals(), c.saveLiterals);
    EXPECT_EQ(mask.Blank(), c.blank);
    EXPECT_EQ(mask.MaxChars(), static_cast<int>(c.blankText.size()));
  }
  EXPECT_FALSE(EditMask("").IsMasked());
}

TEST(EditMaskTest, TextsGoInAndComeOutAsTheFrameworkFormatsThem) {
  struct Case {
    const char* mask;
    std::string text;
    std::string editText;
    std::string textBack;
  };
  const std::vector<Case> cases{
      {kDateMask, "2024/05/01", "2024/05/01", "2024/05/01"},
      {kDateMask, "20240501", "2024/05/01", "2024/05/01"},
      {kDateMask, "2024/5/1", "2024/5 /1 ", "2024/5 /1 "},
      {kDateMask, "", "    /  /  ", "    /  /  "},
      {"9999/99;1;_", "", "____/__", "    /  "},
      {"9999/99;1;_", "2024/5", "2024/5_", "2024/5 "},
      {"999;0;_", "12", "12_", "12"},
      // A right-aligned mask fills from the end; a text longer than the mask keeps its
      // extra characters, so the text comes back as it went in.
      {kOrderMask, "AB", "    -         AB", "AB"},
      {kOrderMask, "AB  -12345      ", "AB  --12345      ", "AB  -12345      "},
      {kOrderMask, "", "    -           ", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mask) + " <- '" + c.text + "'");
    const EditMask mask(c.mask);
    EXPECT_EQ(mask.EditTextFor(c.text), c.editText);
    EXPECT_EQ(mask.Text(c.editText), c.textBack);
  }
}

TEST(EditMaskTest, PositionsAcceptOnlyWhatFits) {
  const EditMask mask(">L<l0#Ac;0;_");
  struct Case {
    int pos;
    std::string typed;
    std::optional<std::string> stored;
  };
  const std::vector<Case> cases{
      {0, "a", "A"},          {0, "1", std::nullopt}, {1, "B", "b"},
      {2, "7", "7"},          {2, "x", std::nullopt}, {3, "-", "-"},
      {3, " ", " "},          {3, "x", std::nullopt}, {4, "z", "z"},
      {4, "5", "5"},          {4, "?", std::nullopt}, {5, "?", "?"},
      {6, "a", std::nullopt},  // past the end
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.pos) + " '" + c.typed + "'");
    EXPECT_EQ(mask.Accept(c.pos, c.typed), c.stored);
  }
}

// Remembers the buttons clicked.
struct Clicks {
  int cancel = 0;
  void Cancelled(TObject*) { ++cancel; }
};

class MaskEditTest : public ::testing::Test {
 protected:
  MaskEditTest() {
    form->SetBounds(0, 0, 300, 200);
    date->SetName("edDate");
    date->SetParent(form.get());
    date->SetEditMask(kDateMask);
    cancel->SetName("btnCancel");
    cancel->SetParent(form.get());
    cancel->SetTop(50);
    cancel->SetCancel(true);
    cancel->OnClick = MakeMethod<&Clicks::Cancelled>(&clicks);
  }
  void Reenter() {
    cancel->SetFocus();
    date->SetFocus();
  }

  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TMaskEdit* date = new TMaskEdit(form.get());
  TButton* cancel = new TButton(form.get());
  Clicks clicks;
};

TEST_F(MaskEditTest, AnEmptyMaskedEditShowsTheBlankTemplate) {
  EXPECT_EQ(date->EditText(), "    /  /  ");
  EXPECT_EQ(date->Text(), "    /  /  ");
  EXPECT_EQ(GetWindowText(date->Handle()), "    /  /  ");
  // The published Text is the masked one.
  date->SetText("2024/05/01");
  EXPECT_EQ(GetPropValue(*date, *date->classInfo().FindProperty("Text")).asString(), "2024/05/01");

  // A new mask takes the input characters along; no mask leaves them plain.
  date->SetEditMask("9999-99-99;0;_");
  EXPECT_EQ(date->EditText(), "2024-05-01");
  EXPECT_EQ(date->Text(), "20240501");
  date->SetEditMask("");
  EXPECT_EQ(date->Text(), "20240501");
  EXPECT_FALSE(date->IsMasked());
}

TEST_F(MaskEditTest, TypingFillsInputPositionsAndSkipsLiterals) {
  struct Case {
    std::string typed;
    std::string editText;
    int selStart;
  };
  const std::vector<Case> cases{
      {"20240501", "2024/05/01", 10},
      {"2024/05/01", "2024/05/01", 10},  // typed literals are taken as the mask's own
      {"2024/5/1", "2024/5 /1 ", 9},     // a separator moves on to the next field
      {"20x24", "2024/  /  ", 5},        // a letter does not fit a digit position
      {"202405019", "2024/05/01", 10},   // nothing goes past the end
  };
  form->Show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    date->SetText("");
    Reenter();
    Type(c.typed);
    EXPECT_EQ(date->EditText(), c.editText);
    EXPECT_EQ(date->SelStart(), c.selStart);
    EXPECT_TRUE(date->Modified());
  }
}

TEST_F(MaskEditTest, TheCaretSelectsTheCharacterItStandsOn) {
  form->Show();
  date->SetText("2024/05/01");
  Reenter();
  Press(VK_END);
  EXPECT_EQ(date->SelStart(), 10);
  EXPECT_EQ(date->SelLength(), 0);
  struct Case {
    std::uint16_t key;
    int selStart;
    std::string editText;
  };
  const std::vector<Case> steps{
      {VK_BACK, 9, "2024/05/0 "},   {VK_BACK, 8, "2024/05/  "}, {VK_BACK, 6, "2024/0 /  "},
      {VK_LEFT, 5, "2024/0 /  "},   {VK_LEFT, 3, "2024/0 /  "}, {VK_RIGHT, 5, "2024/0 /  "},
      {VK_DELETE, 5, "2024/  /  "}, {VK_HOME, 0, "2024/  /  "}, {VK_UP, 0, "2024/  /  "},
      {VK_DELETE, 0, " 024/  /  "}, {VK_BACK, 0, " 024/  /  "},
  };
  for (const Case& step : steps) {
    SCOPED_TRACE(step.key);
    Press(step.key);
    EXPECT_EQ(date->EditText(), step.editText);
    EXPECT_EQ(date->SelStart(), step.selStart);
    EXPECT_EQ(date->SelLength(), 1);
  }
  // A wider selection is blanked by typing over it.
  date->SetText("2024/05/01");
  date->SetSelStart(2);
  date->SetSelLength(5);
  Type("9");
  EXPECT_EQ(date->EditText(), "209 /  /01");
}

TEST_F(MaskEditTest, EscapeUndoesTheChangesBeforeItCancelsTheForm) {
  form->Show();
  date->SetText("2024/05/01");
  Reenter();
  Press(VK_HOME);
  Type("1999");
  EXPECT_EQ(date->Text(), "1999/05/01");
  Press(VK_ESCAPE);
  EXPECT_EQ(date->Text(), "2024/05/01");
  EXPECT_FALSE(date->Modified());
  EXPECT_EQ(clicks.cancel, 0);
  Press(VK_ESCAPE);  // nothing left to undo: the cancel button takes it
  EXPECT_EQ(clicks.cancel, 1);
}

TEST_F(MaskEditTest, ReadOnlyAndCaseDirectivesRuleTyping) {
  form->Show();
  date->SetEditMask(">LLL<ll;0;_");
  Reenter();
  Type("abCDE");
  EXPECT_EQ(date->EditText(), "ABCde");
  EXPECT_EQ(date->Text(), "ABCde");

  date->SetReadOnly(true);
  Press(VK_HOME);
  Type("x");
  Press(VK_DELETE);
  Press(VK_END);
  Press(VK_BACK);
  EXPECT_EQ(date->EditText(), "ABCde");
}

TEST_F(MaskEditTest, DoubleByteCharactersTakeTwoPositionsOfTheSameKind) {
  MachineSettings settings = Machine();
  settings.ansiCodePage = 936;
  MachineScope machine(settings);
  form->Show();
  date->SetEditMask("CC-99;1;_");
  Reenter();
  Type(Gb("中"));
  EXPECT_EQ(date->EditText(), Gb("中") + "-__");
  Type(Gb("文"));  // two digit positions cannot hold it
  EXPECT_EQ(date->EditText(), Gb("中") + "-__");
  EXPECT_EQ(date->SelStart(), 3);
}

TEST_F(MaskEditTest, FormResourcesSetTheMaskBeforeTheText) {
  ReadComponentResource(*form, R"(object frm: TForm
  object ed01: TMaskEdit
    EditMask = '9999/99;1;_'
    MaxLength = 7
    Text = '2024/05'
  end
  object edEmpty: TMaskEdit
    EditMask = '!aaaa-aaaaaaaaaaa;0; '
  end
end
)");
  auto* ed01 = dynamic_cast<TMaskEdit*>(form->FindComponent("ed01"));
  auto* empty = dynamic_cast<TMaskEdit*>(form->FindComponent("edEmpty"));
  ASSERT_NE(ed01, nullptr);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(ed01->EditText(), "2024/05");
  EXPECT_EQ(empty->EditText(), "    -           ");
  EXPECT_EQ(empty->Text(), "");
}

}  // namespace
}  // namespace ox
