#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "tests/ui/ControlInput.h"
#include "ui/Button.h"
#include "ui/FormReader.h"
#include "ui/Forms.h"
#include "ui/Memo.h"

namespace ox {
namespace {

using test::Press;
using test::Type;

struct Counter {
  int count = 0;
  void Bump(TObject*) { ++count; }
};

std::vector<std::string> LinesOf(const TStrings& lines) {
  std::vector<std::string> result;
  for (int i = 0; i < lines.Count(); ++i)
    result.push_back(lines.Strings(i));
  return result;
}

class MemoTest : public ::testing::Test {
 protected:
  MemoTest() {
    form->SetBounds(0, 0, 300, 300);
    memo->SetName("memo");
    memo->SetParent(form.get());
    memo->OnChange = MakeMethod<&Counter::Bump>(&changes);
    ok->SetName("btnOk");
    ok->SetParent(form.get());
    ok->SetTop(150);
    ok->SetDefault(true);
    ok->OnClick = MakeMethod<&Counter::Bump>(&clicks);
  }

  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TMemo* memo = new TMemo(form.get());
  TButton* ok = new TButton(form.get());
  Counter changes;
  Counter clicks;
};

TEST_F(MemoTest, LinesAndTextStayEqualBothWays) {
  struct Case {
    const char* name;
    std::string initial;
    std::function<void(TStrings&)> change;  // null: only the initial text is set
    std::string text;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases{
      {"text without a final break", "a\r\nb", nullptr, "a\r\nb", {"a", "b"}},
      {"a final break adds no line", "a\r\nb\r\n", nullptr, "a\r\nb\r\n", {"a", "b"}},
      {"an empty line in between", "a\r\n\r\nb", nullptr, "a\r\n\r\nb", {"a", "", "b"}},
      {"empty", "", nullptr, "", {}},
      {"added to an empty memo", "", [](TStrings& l) { l.Add("x"); }, "x\r\n", {"x"}},
      {"added after a last line without break",
       "a",
       [](TStrings& l) { l.Add("b"); },
       "a\r\nb",
       {"a", "b"}},
      {"deleted", "a\r\nb\r\n", [](TStrings& l) { l.Delete(0); }, "b\r\n", {"b"}},
      {"changed in place",
       "a\r\nb",
       [](TStrings& l) { l.SetStrings(1, "c"); },
       "a\r\nc",
       {"a", "c"}},
      {"a line holding a break becomes two",
       "",
       [](TStrings& l) { l.Add("p\r\nq"); },
       "p\r\nq\r\n",
       {"p", "q"}},
      {"cleared", "a\r\nb", [](TStrings& l) { l.Clear(); }, "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    memo->SetText(c.initial);
    changes.count = 0;
    if (c.change) {
      c.change(*memo->Lines());
      EXPECT_EQ(changes.count, 1);
    }
    EXPECT_EQ(memo->Text(), c.text);
    EXPECT_EQ(LinesOf(*memo->Lines()), c.lines);
  }
}

TEST_F(MemoTest, EnterInsertsALineBreakOnlyWhenTheMemoWantsIt) {
  form->Show();
  Type("ab");
  Press(VK_RETURN);
  Type("cd");
  EXPECT_EQ(memo->Text(), "ab\r\ncd");
  EXPECT_EQ(LinesOf(*memo->Lines()), (std::vector<std::string>{"ab", "cd"}));
  EXPECT_EQ(memo->CaretPos(), (TPoint{2, 1}));
  EXPECT_EQ(clicks.count, 0);

  // Without WantReturns Enter is the form's: the default button takes it.
  memo->SetWantReturns(false);
  Press(VK_RETURN);
  EXPECT_EQ(memo->Text(), "ab\r\ncd");
  EXPECT_EQ(clicks.count, 1);

  // Tab moves on unless the memo wants tabs.
  Press(VK_TAB);
  EXPECT_TRUE(ok->Focused());
  memo->SetFocus();
  memo->SetWantTabs(true);
  Press(VK_TAB);
  EXPECT_TRUE(memo->Focused());
  EXPECT_EQ(memo->Text(), "ab\r\ncd\t");
}

TEST_F(MemoTest, TheCaretMovesByLinesAndStepsOverLineBreaks) {
  form->Show();
  memo->SetText("abc\r\nd\r\nefgh");
  struct Step {
    std::uint16_t key;
    TShiftState shift;
    TPoint caret;
  };
  const std::vector<Step> steps{
      {VK_END, 0, {3, 0}},      {VK_DOWN, 0, {1, 1}},      {VK_DOWN, 0, {1, 2}},
      {VK_DOWN, 0, {1, 2}},     {VK_END, 0, {4, 2}},       {VK_UP, 0, {1, 1}},
      {VK_HOME, 0, {0, 1}},     {VK_LEFT, 0, {3, 0}},      {VK_RIGHT, 0, {0, 1}},
      {VK_END, ssCtrl, {4, 2}}, {VK_HOME, ssCtrl, {0, 0}}, {VK_UP, 0, {0, 0}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.key);
    Press(step.key, step.shift);
    EXPECT_EQ(memo->CaretPos(), step.caret);
    EXPECT_TRUE(memo->Focused());
  }
  // Backspace at the start of a line and Delete at the end join lines.
  Press(VK_DOWN);
  Press(VK_BACK);
  EXPECT_EQ(memo->Text(), "abcd\r\nefgh");
  EXPECT_EQ(memo->CaretPos(), (TPoint{3, 0}));
  Press(VK_END);
  Press(VK_DELETE);
  EXPECT_EQ(memo->Text(), "abcdefgh");
}

TEST_F(MemoTest, FormResourcesFillTheLines) {
  ReadComponentResource(*form, R"(object frm: TForm
  object me04: TMemo
    Lines.Strings = (
      '[F2]'#31995#32479
      'second')
    ScrollBars = ssVertical
    WantReturns = False
    Visible = False
  end
end
)");
  auto* me04 = dynamic_cast<TMemo*>(form->FindComponent("me04"));
  ASSERT_NE(me04, nullptr);
  EXPECT_EQ(me04->Text(), "[F2]" + Gb("系统") + "\r\nsecond\r\n");
  EXPECT_EQ(me04->Lines()->Strings(0), "[F2]" + Gb("系统"));
  EXPECT_EQ(me04->ScrollBars(), TScrollStyle::ssVertical);
  EXPECT_FALSE(me04->WantReturns());
}

}  // namespace
}  // namespace ox
