#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/WinMessages.h"

namespace ox {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Reaction = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

// Windows with recording procedures. The layer is process-wide, so every test destroys
// what it created.
class WinMessagesTest : public ::testing::Test {
 protected:
  // A control's procedure: logs every message, keeps a text, and runs the test's
  // reaction to the other messages.
  class Recorder : public WindowProcedure {
   public:
    Recorder(WinMessagesTest& test, std::string name) : test_(test), name_(std::move(name)) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      test_.log_.push_back(name_ + " " + test_.Describe(message, wParam));
      switch (message) {
        case WM_SETTEXT:
          text = reinterpret_cast<const char*>(lParam);
          return 1;
        case WM_GETTEXTLENGTH:
          return static_cast<LRESULT>(text.size());
        case WM_GETTEXT:
          return AnswerGetText(text, wParam, lParam);
        default:
          return react ? react(message, wParam, lParam) : 0;
      }
    }

    Reaction react;
    std::string text;

   private:
    WinMessagesTest& test_;
    std::string name_;
  };

  void SetUp() override { ASSERT_THAT(GetTopLevelWindows(), IsEmpty()); }

  void TearDown() override {
    for (auto& [handle, recorder] : recorders_)
      recorder->react = nullptr;
    for (HWND window : GetTopLevelWindows())
      DestroyWindowHandle(window);
    EXPECT_FALSE(HasQueuedMessages());
    EXPECT_EQ(GetFocusWindow(), nullptr);
  }

  HWND Make(const std::string& name, HWND parent = nullptr) {
    auto recorder = std::make_unique<Recorder>(*this, name);
    HWND handle = CreateWindowHandle(recorder.get(), parent, "TTestControl", name);
    names_[handle] = name;
    recorders_[handle] = std::move(recorder);
    return handle;
  }

  Recorder& Proc(HWND window) { return *recorders_.at(window); }

  std::string NameOf(WPARAM handle) const {
    if (handle == 0) return "none";
    const auto found = names_.find(reinterpret_cast<HWND>(handle));
    return found != names_.end() ? found->second : "?";
  }

  std::string Describe(UINT message, WPARAM wParam) const {
    switch (message) {
      case WM_DESTROY:
        return "destroy";
      case WM_SETFOCUS:
        return "setfocus from " + NameOf(wParam);
      case WM_KILLFOCUS:
        return "killfocus to " + NameOf(wParam);
      case WM_CLOSE:
        return "close";
      case WM_LBUTTONDOWN:
        return "press";
      case WM_LBUTTONUP:
        return "click";
      case WM_SETTEXT:
        return "settext";
      case WM_GETTEXTLENGTH:
        return "gettextlength";
      case WM_GETTEXT:
        return "gettext " + std::to_string(wParam);
      case WM_USER:
        return "user " + std::to_string(wParam);
      default:
        return "message " + std::to_string(message);
    }
  }

  std::vector<std::string> TakeLog() { return std::exchange(log_, {}); }

  std::vector<std::string> log_;

 private:
  std::map<HWND, std::unique_ptr<Recorder>> recorders_;  // outlive their windows
  std::map<HWND, std::string> names_;
};

TEST_F(WinMessagesTest, KeepsParentsChildrenAndNames) {
  HWND form = Make("frmMain");
  HWND panel = Make("pnlTop", form);
  HWND edit = Make("edCode", panel);
  HWND button = Make("btnOk", form);
  HWND gone = Make("gone");
  DestroyWindowHandle(gone);

  EXPECT_THAT(GetTopLevelWindows(), ElementsAre(form));
  EXPECT_THAT(GetChildWindows(form), ElementsAre(panel, button));
  EXPECT_EQ(GetParent(form), nullptr);
  EXPECT_EQ(GetParent(edit), panel);
  EXPECT_EQ(GetWindowClassName(edit), "TTestControl");
  SetWindowName(edit, "edName");
  EXPECT_EQ(GetWindowName(edit), "edName");

  // A moved child takes its creation place among its new siblings.
  SetParent(edit, form);
  EXPECT_THAT(GetChildWindows(form), ElementsAre(panel, edit, button));
  EXPECT_THAT(GetChildWindows(panel), IsEmpty());
  EXPECT_EQ(GetParent(edit), form);

  // No cycles, no stale parents.
  SetParent(form, panel);
  SetParent(form, form);
  SetParent(button, gone);
  EXPECT_EQ(GetParent(form), nullptr);
  EXPECT_EQ(GetParent(button), form);

  SetParent(panel, nullptr);
  EXPECT_THAT(GetTopLevelWindows(), ElementsAre(form, panel));

  Recorder spare(*this, "spare");
  EXPECT_EQ(CreateWindowHandle(nullptr, form, "TTestControl", "x"), nullptr);
  EXPECT_EQ(CreateWindowHandle(&spare, gone, "TTestControl", "x"), nullptr);
}

TEST_F(WinMessagesTest, FindsDescendantsDepthFirstIgnoringAsciiCase) {
  HWND form = Make("frmMain");
  HWND panel = Make("pnlTop", form);
  Make("EDTARGET", form);  // the panel's next sibling
  HWND nested = Make("edTarget", panel);
  HWND gbName = Make("\xc4\xe3", panel);
  HWND other = Make("frmOther");
  HWND only = Make("edOnly", other);
  HWND gone = Make("gone");
  DestroyWindowHandle(gone);

  struct Case {
    const char* what;
    HWND parent;
    std::string name;
    HWND expected;
  };
  const std::vector<Case> cases = {
      {"depth first: the panel's child before the later sibling", form, "edtarget", nested},
      {"below a child", panel, "EdTarget", nested},
      {"a direct child", form, "PNLTOP", panel},
      {"the parent itself is not searched", form, "frmMain", nullptr},
      {"another form's control", form, "edOnly", nullptr},
      {"null parent: top-level windows", nullptr, "frmother", other},
      {"null parent: their descendants", nullptr, "EDONLY", only},
      {"GB name", form, "\xc4\xe3", gbName},
      {"GB bytes compare exactly", form, "\xe4\xe3", nullptr},
      {"prefix only", form, "edTarge", nullptr},
      {"empty name", form, "", nullptr},
      {"stale parent", gone, "edTarget", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FindChildWindow(c.parent, c.name), c.expected);
  }
}

TEST_F(WinMessagesTest, SendAnswersAtOncePostedMessagesWaitForTheLoopInOrder) {
  HWND a = Make("a");
  HWND b = Make("b");
  Proc(a).react = [b](UINT, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (wParam == 1) PostMessage(b, WM_USER, 4, 0);
    return static_cast<LRESULT>(wParam) + lParam;
  };

  EXPECT_TRUE(PostMessage(a, WM_USER, 1, 0));
  EXPECT_TRUE(PostMessage(b, WM_USER, 2, 0));
  EXPECT_EQ(SendMessage(a, WM_USER, 40, 2), 42);
  EXPECT_THAT(TakeLog(), ElementsAre("a user 40"));

  EXPECT_EQ(ProcessMessages(), 3);
  EXPECT_THAT(TakeLog(), ElementsAre("a user 1", "b user 2", "b user 4"));

  PostMessage(a, WM_USER, 5, 0);
  PostMessage(b, WM_USER, 6, 0);
  EXPECT_TRUE(ProcessOneMessage());
  EXPECT_THAT(TakeLog(), ElementsAre("a user 5"));
  EXPECT_TRUE(HasQueuedMessages());
  EXPECT_TRUE(ProcessOneMessage());
  EXPECT_FALSE(ProcessOneMessage());
  EXPECT_FALSE(HasQueuedMessages());
  EXPECT_THAT(TakeLog(), ElementsAre("b user 6"));
}

TEST_F(WinMessagesTest, ProcessMessagesStopsAtItsLimitWhenAProcedureRepostsForever) {
  HWND a = Make("a");
  Proc(a).react = [a](UINT, WPARAM, LPARAM) -> LRESULT { return PostMessage(a, WM_USER, 0, 0); };
  PostMessage(a, WM_USER, 0, 0);

  EXPECT_EQ(ProcessMessages(), kMaxProcessedMessages);
  EXPECT_TRUE(HasQueuedMessages());
  DestroyWindowHandle(a);
  EXPECT_FALSE(HasQueuedMessages());
}

TEST_F(WinMessagesTest, DestroySendsDestroyToTheWindowThenItsChildrenDepthFirst) {
  HWND form = Make("form");
  HWND a = Make("a", form);
  HWND a1 = Make("a1", a);
  HWND b = Make("b", form);
  HWND other = Make("other");
  HWND c = Make("c", other);
  SetFocusWindow(a1);
  PostMessage(form, WM_USER, 1, 0);
  PostMessage(a1, WM_USER, 2, 0);
  PostMessage(other, WM_USER, 3, 0);
  PostMessage(b, WM_USER, 4, 0);
  TakeLog();

  DestroyWindowHandle(form);
  EXPECT_THAT(TakeLog(), ElementsAre("form destroy", "a destroy", "a1 destroy", "b destroy"));
  for (HWND gone : {form, a, a1, b})
    EXPECT_FALSE(IsWindow(gone));
  EXPECT_EQ(GetFocusWindow(), nullptr);
  EXPECT_THAT(GetTopLevelWindows(), ElementsAre(other));

  EXPECT_EQ(ProcessMessages(), 1);
  EXPECT_THAT(TakeLog(), ElementsAre("other user 3"));

  DestroyWindowHandle(form);
  DestroyWindowHandle(c);
  EXPECT_THAT(TakeLog(), ElementsAre("c destroy"));
  EXPECT_THAT(GetChildWindows(other), IsEmpty());
}

TEST_F(WinMessagesTest, ProceduresMayDestroyWindowsWhileMessagesAreDelivered) {
  HWND form = Make("form");
  HWND button = Make("button", form);
  HWND edit = Make("edit", form);
  HWND dialog = Make("dialog");
  HWND other = Make("other");
  bool buttonAliveAfterClose = true;
  // A click that closes its form, and a close request that frees the window.
  Proc(button).react = [&](UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_LBUTTONUP) {
      DestroyWindowHandle(form);
      buttonAliveAfterClose = IsWindow(button);
    }
    return 0;
  };
  Proc(dialog).react = [dialog](UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_CLOSE) DestroyWindowHandle(dialog);
    return 0;
  };
  PostMessage(button, WM_LBUTTONDOWN, 0, MAKELPARAM(3, 4));
  PostMessage(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
  PostMessage(edit, WM_USER, 1, 0);
  PostMessage(form, WM_USER, 2, 0);
  PostMessage(dialog, WM_CLOSE, 0, 0);
  PostMessage(dialog, WM_USER, 3, 0);
  PostMessage(other, WM_USER, 4, 0);

  EXPECT_EQ(ProcessMessages(), 4);
  EXPECT_THAT(TakeLog(),
              ElementsAre("button press", "button click", "form destroy", "button destroy",
                          "edit destroy", "dialog close", "dialog destroy", "other user 4"));
  EXPECT_FALSE(buttonAliveAfterClose);
  EXPECT_THAT(GetTopLevelWindows(), ElementsAre(other));
}

TEST_F(WinMessagesTest, DestroyProceduresMayDestroyAncestorsAndCreateChildren) {
  HWND form = Make("form");
  HWND a = Make("a", form);
  HWND a1 = Make("a1", a);
  HWND b = Make("b", form);
  HWND late = nullptr;
  Proc(a).react = [&](UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_DESTROY) late = Make("late", a);
    return 0;
  };
  Proc(a1).react = [&](UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_DESTROY) {
      DestroyWindowHandle(form);  // an ancestor, while a is being destroyed
      DestroyWindowHandle(a1);    // itself, again
    }
    return 0;
  };

  DestroyWindowHandle(a);
  EXPECT_THAT(TakeLog(),
              ElementsAre("a destroy", "a1 destroy", "form destroy", "b destroy", "late destroy"));
  for (HWND gone : {form, a, a1, b, late})
    EXPECT_FALSE(IsWindow(gone));
  EXPECT_THAT(GetTopLevelWindows(), IsEmpty());
}

TEST_F(WinMessagesTest, ProceduresMaySendAndRunTheLoopReentrantly) {
  HWND a = Make("a");
  HWND b = Make("b");
  int innerDelivered = -1;
  Proc(a).react = [b](UINT, WPARAM wParam, LPARAM) -> LRESULT {
    return wParam == 1 ? 10 + SendMessage(b, WM_USER, 2, 0) : 3;
  };
  Proc(b).react = [&](UINT, WPARAM wParam, LPARAM) -> LRESULT {
    if (wParam == 2) return 2 * SendMessage(a, WM_USER, 3, 0);
    PostMessage(a, WM_USER, 5, 0);
    innerDelivered = ProcessMessages();  // a modal loop inside a delivered message
    return 0;
  };

  EXPECT_EQ(SendMessage(a, WM_USER, 1, 0), 16);
  EXPECT_THAT(TakeLog(), ElementsAre("a user 1", "b user 2", "a user 3"));

  PostMessage(b, WM_USER, 4, 0);
  PostMessage(a, WM_USER, 6, 0);
  EXPECT_EQ(ProcessMessages(), 1);
  EXPECT_EQ(innerDelivered, 2);
  EXPECT_THAT(TakeLog(), ElementsAre("b user 4", "a user 6", "a user 5"));
}

TEST_F(WinMessagesTest, FocusChangeKillsTheOldThenSetsTheNew) {
  HWND a = Make("a");
  HWND b = Make("b");
  HWND gone = Make("gone");
  DestroyWindowHandle(gone);
  TakeLog();

  struct Step {
    HWND target;
    HWND answer;
    std::vector<std::string> log;
    HWND focus;
  };
  const std::vector<Step> steps = {
      {a, nullptr, {"a setfocus from none"}, a},
      {b, a, {"a killfocus to b", "b setfocus from a"}, b},
      {b, b, {}, b},
      {gone, nullptr, {}, b},
      {nullptr, b, {"b killfocus to none"}, nullptr},
      {nullptr, nullptr, {}, nullptr},
  };
  for (std::size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE("step " + std::to_string(i));
    EXPECT_EQ(SetFocusWindow(steps[i].target), steps[i].answer);
    EXPECT_EQ(TakeLog(), steps[i].log);
    EXPECT_EQ(GetFocusWindow(), steps[i].focus);
  }
}

TEST_F(WinMessagesTest, TheLosingWindowsProcedureDecidesWhereTheFocusGoes) {
  HWND a = Make("a");
  HWND b = Make("b");
  HWND c = Make("c");
  SetFocusWindow(a);
  HWND focusDuringKill = a;
  Proc(a).react = [&](UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_KILLFOCUS) {
      focusDuringKill = GetFocusWindow();
      SetFocusWindow(c);
    }
    return 0;
  };
  Proc(c).react = [b](UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_KILLFOCUS) DestroyWindowHandle(b);
    return 0;
  };
  TakeLog();

  EXPECT_EQ(SetFocusWindow(b), a);
  EXPECT_THAT(TakeLog(), ElementsAre("a killfocus to b", "c setfocus from none"));
  EXPECT_EQ(focusDuringKill, nullptr);
  EXPECT_EQ(GetFocusWindow(), c);

  EXPECT_EQ(SetFocusWindow(b), c);
  EXPECT_THAT(TakeLog(), ElementsAre("c killfocus to b", "b destroy"));
  EXPECT_EQ(GetFocusWindow(), nullptr);
}

TEST_F(WinMessagesTest, TextRoundTripsThroughTheProcedure) {
  HWND a = Make("a");
  const std::vector<std::string> texts = {"OK", "", "\xb2\xc4\xc1\xcf \xb2\xee\xd2\xec",
                                          std::string(5000, 'x')};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text.substr(0, 10));
    SetWindowText(a, text);
    EXPECT_EQ(Proc(a).text, text);
    EXPECT_EQ(GetWindowText(a), text);
  }

  SetWindowText(a, "OK");
  TakeLog();
  GetWindowText(a);
  EXPECT_THAT(TakeLog(), ElementsAre("a gettextlength", "a gettext 3"));
}

TEST(AnswerGetTextTest, CopiesWhatFitsAndTerminates) {
  struct Case {
    std::string text;
    WPARAM size;
    std::string expected;
    LRESULT answer;
  };
  const std::vector<Case> cases = {
      {"abcd", 0, "", 0},     {"abcd", 1, "", 0},     {"abcd", 3, "ab", 2},
      {"abcd", 5, "abcd", 4}, {"abcd", 9, "abcd", 4}, {"", 4, "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " in " + std::to_string(c.size));
    std::string buffer(10, '#');
    EXPECT_EQ(AnswerGetText(c.text, c.size, reinterpret_cast<LPARAM>(buffer.data())), c.answer);
    if (c.size > 0) {
      EXPECT_EQ(std::string(buffer.c_str()), c.expected);
    }
    EXPECT_EQ(buffer[c.size], '#') << "wrote past the buffer";
  }
  EXPECT_EQ(AnswerGetText("abcd", 5, 0), 0);
}

TEST_F(WinMessagesTest, StaleAndForgedHandlesNameNoWindow) {
  HWND gone = Make("gone");
  HWND goneChild = Make("goneChild", gone);
  HWND focused = Make("focused");
  SetFocusWindow(focused);
  DestroyWindowHandle(gone);
  int local = 0;
  TakeLog();

  for (HWND stale : {gone, goneChild, reinterpret_cast<HWND>(&local), reinterpret_cast<HWND>(1)}) {
    EXPECT_FALSE(IsWindow(stale));
    EXPECT_EQ(SendMessage(stale, WM_USER, 1, 0), 0);
    EXPECT_FALSE(PostMessage(stale, WM_USER, 1, 0));
    EXPECT_EQ(GetParent(stale), nullptr);
    EXPECT_THAT(GetChildWindows(stale), IsEmpty());
    EXPECT_EQ(GetWindowName(stale), "");
    EXPECT_EQ(GetWindowClassName(stale), "");
    EXPECT_EQ(GetWindowText(stale), "");
    EXPECT_EQ(SetFocusWindow(stale), nullptr);
    SetWindowText(stale, "x");
    SetWindowName(stale, "x");
    SetParent(stale, focused);
    DestroyWindowHandle(stale);
  }
  EXPECT_THAT(TakeLog(), IsEmpty());
  EXPECT_FALSE(HasQueuedMessages());
  EXPECT_EQ(GetFocusWindow(), focused);
  EXPECT_THAT(GetChildWindows(focused), IsEmpty());

  HWND again = Make("again");
  EXPECT_NE(again, gone);
  EXPECT_NE(again, goneChild);
  SetFocusWindow(nullptr);
}

TEST(RegisterWindowMessageTest, OneNumberPerNameIgnoringAsciiCase) {
  const UINT refresh = RegisterWindowMessage("OxTest_Refresh");
  EXPECT_GE(refresh, 0xC000u);
  EXPECT_LE(refresh, 0xFFFFu);
  EXPECT_EQ(RegisterWindowMessage("oxtest_REFRESH"), refresh);
  const UINT close = RegisterWindowMessage("OxTest_Close");
  EXPECT_GE(close, 0xC000u);
  EXPECT_NE(close, refresh);
  EXPECT_NE(RegisterWindowMessage("OxTest_\xc4\xe3"), RegisterWindowMessage("OxTest_\xe4\xe3"));
  EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

TEST_F(WinMessagesTest, OtherThreadsMayPostWhileTheLoopRuns) {
  constexpr int kThreads = 4;
  constexpr int kEach = 2000;
  HWND a = Make("a");
  std::vector<int> nextOfThread(kThreads, 0);
  bool inOrder = true;
  Proc(a).react = [&](UINT, WPARAM thread, LPARAM index) -> LRESULT {
    inOrder = inOrder && index == nextOfThread[thread]++;
    return 0;
  };

  std::atomic<int> finished{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i)
        PostMessage(a, WM_USER, t, i);
      ++finished;
    });
  }
  int delivered = 0;
  while (finished < kThreads) {
    delivered += ProcessMessages();
    std::this_thread::yield();
  }
  for (std::thread& thread : threads)
    thread.join();
  delivered += ProcessMessages();

  EXPECT_EQ(delivered, kThreads * kEach);
  EXPECT_TRUE(inOrder);
  EXPECT_THAT(nextOfThread, ElementsAre(kEach, kEach, kEach, kEach));
}

}  // namespace
}  // namespace ox
