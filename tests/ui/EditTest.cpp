#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Machine.h"
#include "tests/ui/ControlInput.h"
#include "ui/Canvas.h"
#include "ui/Edit.h"
#include "ui/FormReader.h"
#include "ui/Forms.h"

namespace ox {
namespace {

using test::Press;
using test::Type;

// Counts changes and remembers what OnChange saw.
struct ChangeLog {
  int changes = 0;
  bool modifiedSeen = false;
  int caretSeen = -1;
  void Changed(TObject* sender) {
    auto* edit = static_cast<TCustomEdit*>(sender);
    ++changes;
    modifiedSeen = edit->Modified();
    caretSeen = edit->SelStart();
  }
  void RefuseExit(TObject* sender) { static_cast<TWinControl*>(sender)->SetFocus(); }
};

MachineSettings GbMachine() {
  MachineSettings settings = Machine();
  settings.ansiCodePage = 936;
  return settings;
}

class EditTest : public ::testing::Test {
 protected:
  EditTest() {
    form->SetBounds(0, 0, 300, 200);
    other->SetTop(40);
    edit->OnChange = MakeMethod<&ChangeLog::Changed>(&log);
  }
  template <typename T>
  T* Add(const char* name) {
    auto* control = new T(form.get());
    control->SetName(name);
    control->SetParent(form.get());
    return control;
  }

  MachineScope machine{GbMachine()};
  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TEdit* edit = Add<TEdit>("edit");
  TEdit* other = Add<TEdit>("other");
  ChangeLog log;
};

// One step of a person's input: a key (with modifiers) or typed text.
struct Step {
  std::uint16_t key = 0;
  TShiftState shift = 0;
  std::string text;
};
Step Key(std::uint16_t key, TShiftState shift = 0) {
  return {key, shift, {}};
}
Step Text(std::string text) {
  return {0, 0, std::move(text)};
}

TEST_F(EditTest, KeysAndCharactersEditAtTheCaretLikeTheSystemEdit) {
  struct Case {
    const char* name;
    std::string initial;
    std::vector<Step> steps;
    std::string text;
    int selStart;
    int selLength;
  };
  const std::vector<Case> cases{
      {"typing replaces the text selected on entry", "old", {Text("new")}, "new", 3, 0},
      {"insert before the last character",
       "",
       {Text("abc"), Key(VK_LEFT), Text("X")},
       "abXc",
       3,
       0},
      {"home and end", "hello", {Key(VK_HOME), Text("<"), Key(VK_END), Text(">")}, "<hello>", 7, 0},
      {"shift extends, typing replaces",
       "hello",
       {Key(VK_HOME), Key(VK_RIGHT, ssShift), Key(VK_RIGHT, ssShift), Text("J")},
       "Jllo",
       1,
       0},
      {"shift from the end selects backwards",
       "hello",
       {Key(VK_END), Key(VK_LEFT, ssShift)},
       "hello",
       4,
       1},
      {"backspace and delete",
       "hello",
       {Key(VK_END), Key(VK_BACK), Key(VK_HOME), Key(VK_DELETE)},
       "ell",
       0,
       0},
      {"backspace and delete at the ends do nothing",
       "ab",
       {Key(VK_HOME), Key(VK_BACK), Key(VK_END), Key(VK_DELETE)},
       "ab",
       2,
       0},
      {"up and down move like left and right",
       "abc",
       {Key(VK_HOME), Key(VK_DOWN), Key(VK_DOWN), Key(VK_UP)},
       "abc",
       1,
       0},
      {"a double-byte character is one step",
       Gb("中文a"),
       {Key(VK_HOME), Key(VK_RIGHT), Key(VK_RIGHT, ssShift), Key(VK_BACK)},
       Gb("中a"),
       2,
       0},
      {"a typed double-byte character arrives in two bytes",
       "ab",
       {Key(VK_HOME), Key(VK_RIGHT), Text(Gb("好"))},
       "a" + Gb("好") + "b",
       3,
       0},
      {"delete removes both bytes", Gb("中文"), {Key(VK_HOME), Key(VK_DELETE)}, Gb("文"), 0, 0},
  };
  form->Show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    edit->SetText(c.initial);
    other->SetFocus();
    edit->SetFocus();  // AutoSelect selects the whole text
    for (const Step& step : c.steps) {
      if (step.key != 0)
        Press(step.key, step.shift);
      else
        Type(step.text);
    }
    EXPECT_EQ(edit->Text(), c.text);
    EXPECT_EQ(edit->SelStart(), c.selStart);
    EXPECT_EQ(edit->SelLength(), c.selLength);
    EXPECT_TRUE(edit->Focused());  // the arrows never moved the focus
  }
}

TEST_F(EditTest, LimitsReadOnlyAndCharCaseApplyToTyping) {
  struct Case {
    const char* name;
    int maxLength;
    bool readOnly;
    TEditCharCase charCase;
    std::string typed;
    std::string text;
  };
  const std::vector<Case> cases{
      {"max length stops typing", 3, false, TEditCharCase::ecNormal, "abcd", "abc"},
      {"a double-byte character needs room for both bytes", 3, false, TEditCharCase::ecNormal,
       "ab" + Gb("中") + "c", "abc"},
      {"read-only refuses characters and backspace", 0, true, TEditCharCase::ecNormal, "x\b",
       "start"},
      {"upper case", 0, false, TEditCharCase::ecUpperCase, "aB1", "AB1"},
      {"lower case keeps double-byte characters", 0, false, TEditCharCase::ecLowerCase,
       "Ab" + Gb("中"), "ab" + Gb("中")},
  };
  form->Show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    edit->SetReadOnly(false);
    edit->SetCharCase(TEditCharCase::ecNormal);
    edit->SetText(c.readOnly ? "start" : "");
    edit->SetMaxLength(c.maxLength);
    edit->SetReadOnly(c.readOnly);
    edit->SetCharCase(c.charCase);
    edit->SetFocus();
    edit->SetSelStart(5);
    Type(c.typed);
    EXPECT_EQ(edit->Text(), c.text);
  }
}

TEST_F(EditTest, ChangesAreReportedAfterTheTextAndCaretMoved) {
  form->Show();
  edit->SetFocus();
  Type("ab");
  EXPECT_EQ(log.changes, 2);
  EXPECT_TRUE(log.modifiedSeen);
  EXPECT_EQ(log.caretSeen, 2);
  EXPECT_TRUE(edit->Modified());

  // Moving the caret is no change; setting the text is one, and clears Modified.
  Press(VK_LEFT);
  EXPECT_EQ(log.changes, 2);
  edit->SetText("xyz");
  EXPECT_EQ(log.changes, 3);
  EXPECT_FALSE(log.modifiedSeen);
  EXPECT_EQ(edit->SelStart(), 0);
  edit->SetText("xyz");
  EXPECT_EQ(log.changes, 3);

  // The window text is the edit's text both ways.
  SetWindowText(edit->Handle(), "set by handle");
  EXPECT_EQ(edit->Text(), "set by handle");
  EXPECT_EQ(GetWindowText(edit->Handle()), "set by handle");
}

TEST_F(EditTest, SelectionPropertiesFollowTheFramework) {
  edit->SetText("abcdef");
  edit->SetMaxLength(8);
  edit->SetSelStart(2);
  edit->SetSelLength(3);
  EXPECT_EQ(edit->SelText(), "cde");
  edit->SetSelText("1234567");  // only what fits the limit goes in
  EXPECT_EQ(edit->Text(), "ab12345f");
  EXPECT_EQ(edit->SelStart(), 7);
  EXPECT_TRUE(edit->Modified());

  edit->SetSelStart(99);
  EXPECT_EQ(edit->SelStart(), 8);
  edit->SetSelStart(-4);
  EXPECT_EQ(edit->SelStart(), 0);

  // Positions inside a double-byte character fall back to its start.
  edit->SetMaxLength(0);
  edit->SetText("a" + Gb("中") + "b");
  edit->SetSelStart(2);
  EXPECT_EQ(edit->SelStart(), 1);
  edit->SetSelLength(1);
  EXPECT_EQ(edit->SelLength(), 0);
  edit->SetSelLength(2);
  EXPECT_EQ(edit->SelText(), Gb("中"));

  // Setting the text ignores MaxLength and applies CharCase.
  edit->SetMaxLength(2);
  edit->SetCharCase(TEditCharCase::ecUpperCase);
  edit->SetText("longer");
  EXPECT_EQ(edit->Text(), "LONGER");
}

TEST_F(EditTest, KeyboardFocusSelectsAllButAClickPlacesTheCaret) {
  edit->SetText("abcd");
  other->SetText("wxyz");
  form->Show();  // the first edit has the focus, selected whole
  EXPECT_EQ(edit->SelLength(), 4);
  Press(VK_TAB);
  EXPECT_TRUE(other->Focused());
  EXPECT_EQ(other->SelLength(), 4);

  other->SetAutoSelect(false);
  other->SetSelStart(1);
  Press(VK_TAB, ssShift);
  Press(VK_TAB);
  EXPECT_EQ(other->SelStart(), 1);
  EXPECT_EQ(other->SelLength(), 0);

  // A click between "b" and "c" puts the caret there, without selecting.
  TCanvas canvas;
  canvas.Font().Assign(*edit->Font());
  const int x = 3 + canvas.TextWidth("ab");
  test::ClickAt(*edit, x, 5);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(edit->SelStart(), 2);
  EXPECT_EQ(edit->SelLength(), 0);

  // When the control being left keeps the focus, the click changes nothing.
  edit->OnExit = MakeMethod<&ChangeLog::RefuseExit>(&log);
  test::ClickAt(*other, 3, 5);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(other->SelStart(), 1);
}

TEST_F(EditTest, FormResourcesSetTheEditsProperties) {
  ReadComponentResource(*form, R"(object frm: TForm
  object edCode: TEdit
    Left = 8
    CharCase = ecUpperCase
    MaxLength = 6
    PasswordChar = '*'
    ReadOnly = True
    AutoSelect = False
    ImeName = 'Chinese'
    Text = 'abc'
  end
end
)");
  auto* code = dynamic_cast<TEdit*>(form->FindComponent("edCode"));
  ASSERT_NE(code, nullptr);
  EXPECT_EQ(code->Text(), "ABC");
  EXPECT_EQ(code->MaxLength(), 6);
  EXPECT_EQ(code->PasswordChar(), '*');
  EXPECT_TRUE(code->ReadOnly());
  EXPECT_FALSE(code->AutoSelect());
  EXPECT_FALSE(code->Modified());
  EXPECT_EQ(GetPropValue(*code, *code->classInfo().FindProperty("ImeName")).asString(), "Chinese");
}

}  // namespace
}  // namespace ox
