#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "lib/LibVCLs.h"
#include "platform/WinMessages.h"
#include "ui/Controls.h"
#include "ui/Graphics.h"

namespace ox {
namespace {

// A windowless control with the property kinds the model's controls lack: a character,
// a float, a set, read-only properties.
class TProbe : public TGraphicControl {
 public:
  OX_CLASS_INFO()
  using TGraphicControl::TGraphicControl;
  char accel = static_cast<char>(0xA1);
  double ratio = 1.5;
  int options = 5;
};

const ClassInfo& TProbe::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TProbe>("TProbe", &TGraphicControl::StaticClassInfo())
          .property(
              "Accel", [](const TProbe& p) { return p.accel; },
              [](TProbe& p, char v) { p.accel = v; })
          .property(
              "Ratio", [](const TProbe& p) { return p.ratio; },
              [](TProbe& p, double v) { p.ratio = v; })
          .set(
              "Options", [](const TProbe& p) { return p.options; },
              [](TProbe& p, int v) { p.options = v; }, {"opA", "opB", "opC"})
          .property(
              "CaptionLength", [](const TProbe& p) { return static_cast<int>(p.Caption().size()); },
              nullptr)
          .property(
              "Summary", [](const TProbe& p) { return p.Name() + ":" + p.Caption(); }, nullptr)
          .build();
  return info;
}

// Records what mouse and click events reach which control.
struct EventLog {
  std::string text;
  static std::string NameOf(TObject* sender) { return static_cast<TComponent*>(sender)->Name(); }
  void Clicked(TObject* sender) { text += "click:" + NameOf(sender) + " "; }
  void Down(TObject* sender, TMouseButton, TShiftState shift, int x, int y) {
    text += "down:" + NameOf(sender) + "@" + std::to_string(x) + "," + std::to_string(y) +
            ((shift & ssLeft) ? "L " : " ");
  }
  void Up(TObject* sender, TMouseButton, TShiftState, int x, int y) {
    text += "up:" + NameOf(sender) + "@" + std::to_string(x) + "," + std::to_string(y) + " ";
  }
  void Watch(TControl& control) {
    control.OnClick = MakeMethod<&EventLog::Clicked>(this);
    control.OnMouseDown = MakeMethod<&EventLog::Down>(this);
    control.OnMouseUp = MakeMethod<&EventLog::Up>(this);
  }
};

class LibVCLsTest : public ::testing::Test {
 protected:
  LibVCLsTest() {
    probe_.SetName("lblProbe");
    probe_.SetCaption("Hello");
    probe_.SetLeft(12);
    probe_.SetAlign(TAlign::alRight);
    probe_.SetEnabled(false);
    probe_.SetTag(-7);
    probe_.OnClick = clickHandler_;
  }

  EventLog log_;
  const TMethod clickHandler_ = MakeMethod<&EventLog::Clicked>(&log_);
  TProbe probe_{nullptr};
};

// ---- reading ---------------------------------------------------------------

TEST_F(LibVCLsTest, ReadersAnswerByKindForgiveWhatIsMissingAndRaiseForTheWrongKind) {
  enum class Method { None, Handler, Raises };
  struct Case {
    const TComponent* c;
    std::string name;
    std::optional<std::string> text;  // nullopt: EPropertyError
    std::optional<int> ordinal;       // nullopt: EPropertyError
    Method method;
    bool exists;
  };
  const TComponent* probe = &probe_;
  const std::vector<Case> cases = {
      {probe, "Caption", "Hello", std::nullopt, Method::Raises, true},
      {probe, "cAPTION", "Hello", std::nullopt, Method::Raises, true},
      {probe, "Summary", "lblProbe:Hello", std::nullopt, Method::Raises, true},
      {probe, "Left", std::nullopt, 12, Method::Raises, true},
      {probe, "CaptionLength", std::nullopt, 5, Method::Raises, true},
      {probe, "Tag", std::nullopt, -7, Method::Raises, true},
      {probe, "Color", std::nullopt, static_cast<int>(clBtnFace), Method::Raises, true},
      {probe, "Align", std::nullopt, static_cast<int>(TAlign::alRight), Method::Raises, true},
      {probe, "Options", std::nullopt, 5, Method::Raises, true},
      {probe, "Visible", std::nullopt, 1, Method::Raises, true},
      {probe, "Enabled", std::nullopt, 0, Method::Raises, true},
      {probe, "Accel", std::nullopt, 0xA1, Method::Raises, true},
      {probe, "Ratio", std::nullopt, std::nullopt, Method::Raises, true},
      {probe, "Font", std::nullopt, std::nullopt, Method::Raises, true},
      {probe, "OnClick", std::nullopt, std::nullopt, Method::Handler, true},
      {probe, "onmousedown", std::nullopt, std::nullopt, Method::None, true},
      {probe, "NoSuchProperty", "", 0, Method::None, false},
      {probe, "", "", 0, Method::None, false},
      {nullptr, "Caption", "", 0, Method::Raises, false},
      {nullptr, "", "", 0, Method::Raises, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE((c.c ? "probe." : "nil.") + c.name);
    if (c.text)
      EXPECT_EQ(GetStringProperty(c.c, c.name), *c.text);
    else
      EXPECT_THROW(GetStringProperty(c.c, c.name), EPropertyError);
    if (c.ordinal)
      EXPECT_EQ(GetOrdinalProperty(c.c, c.name), *c.ordinal);
    else
      EXPECT_THROW(GetOrdinalProperty(c.c, c.name), EPropertyError);
    switch (c.method) {
      case Method::None:
        EXPECT_EQ(GetObjectMethod(c.c, c.name), TMethod{});
        break;
      case Method::Handler:
        EXPECT_EQ(GetObjectMethod(c.c, c.name), clickHandler_);
        break;
      case Method::Raises:
        if (c.c == nullptr)
          EXPECT_THROW(GetObjectMethod(c.c, c.name), EInvalidPointer);
        else
          EXPECT_THROW(GetObjectMethod(c.c, c.name), EPropertyError);
        break;
    }
    EXPECT_EQ(CheckPropertyExist(c.c, c.name), c.exists);
  }
}

// ---- writing ---------------------------------------------------------------

// What the setters may change, to see that a refused write changed nothing.
std::string State(const TProbe& probe) {
  return probe.Caption() + "|" + std::to_string(probe.Left()) + "|" +
         std::to_string(static_cast<int>(probe.Align())) + "|" + std::to_string(probe.ratio) + "|" +
         std::to_string(probe.options) + "|" + std::to_string(probe.accel) + "|" +
         (Assigned(probe.OnClick.Method()) ? "click" : "");
}

TEST_F(LibVCLsTest, SetStringPropertyWritesTextPropertiesOnly) {
  struct Case {
    TComponent* c;
    std::string name;
    bool raises;
    std::string caption;  // the caption afterwards
  };
  const std::vector<Case> cases = {
      {&probe_, "caption", false, "New"},   {&probe_, "Hint", false, "Hello"},
      {&probe_, "Left", true, "Hello"},     {&probe_, "OnClick", true, "Hello"},
      {&probe_, "Summary", true, "Hello"},  // read-only
      {&probe_, "Missing", false, "Hello"}, {&probe_, "", false, "Hello"},
      {nullptr, "Caption", false, "Hello"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    probe_.SetCaption("Hello");
    if (c.raises)
      EXPECT_THROW(SetStringProperty(c.c, c.name, "New"), EPropertyError);
    else
      SetStringProperty(c.c, c.name, "New");
    EXPECT_EQ(probe_.Caption(), c.caption);
    EXPECT_EQ(probe_.Left(), 12);
  }
  EXPECT_EQ(probe_.Hint(), "New");
}

TEST_F(LibVCLsTest, SetOrdinalPropertyWritesOrdinalsThatReadBack) {
  struct Case {
    TComponent* c;
    std::string name;
    int value;
    std::optional<int> after;  // what GetOrdinalProperty reads then; nullopt: raises
  };
  const std::vector<Case> cases = {
      {&probe_, "left", 42, 42},
      {&probe_, "Tag", -3, -3},
      {&probe_, "Color", static_cast<int>(clWindow), static_cast<int>(clWindow)},
      {&probe_, "Align", static_cast<int>(TAlign::alClient), static_cast<int>(TAlign::alClient)},
      {&probe_, "Align", 6, std::nullopt},  // past the named values
      {&probe_, "Align", -1, std::nullopt},
      {&probe_, "Options", 6, 6},
      {&probe_, "Visible", 0, 0},
      {&probe_, "Visible", 7, 1},  // any non-zero value is true
      {&probe_, "Accel", 'Q', 'Q'},
      {&probe_, "Caption", 1, std::nullopt},
      {&probe_, "Ratio", 1, std::nullopt},
      {&probe_, "OnClick", 1, std::nullopt},
      {&probe_, "CaptionLength", 1, std::nullopt},  // read-only
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + "=" + std::to_string(c.value));
    if (c.after) {
      SetOrdinalProperty(c.c, c.name, c.value);
      EXPECT_EQ(GetOrdinalProperty(c.c, c.name), *c.after);
    } else {
      const std::string before = State(probe_);
      EXPECT_THROW(SetOrdinalProperty(c.c, c.name, c.value), EPropertyError);
      EXPECT_EQ(State(probe_), before);
    }
  }

  // Nothing for a nil component, an empty name or a missing property.
  const std::string before = State(probe_);
  SetOrdinalProperty(nullptr, "Left", 1);
  SetOrdinalProperty(&probe_, "", 1);
  SetOrdinalProperty(&probe_, "Lefty", 1);
  EXPECT_EQ(State(probe_), before);
}

TEST_F(LibVCLsTest, SetObjectMethodBindsEventsAndNeedsAComponent) {
  probe_.OnClick = TMethod{};
  SetObjectMethod(&probe_, "onclick", clickHandler_);
  EXPECT_EQ(GetObjectMethod(&probe_, "OnClick"), clickHandler_);
  probe_.OnClick(&probe_);
  EXPECT_EQ(log_.text, "click:lblProbe ");

  // A handler of another signature is refused by the event itself.
  EXPECT_THROW(SetObjectMethod(&probe_, "OnMouseDown", clickHandler_), EInvalidMethod);
  EXPECT_EQ(GetObjectMethod(&probe_, "OnMouseDown"), TMethod{});
  EXPECT_THROW(SetObjectMethod(&probe_, "Caption", clickHandler_), EPropertyError);
  EXPECT_THROW(SetObjectMethod(nullptr, "OnClick", clickHandler_), EInvalidPointer);
  SetObjectMethod(&probe_, "OnNothing", TMethod{});
  SetObjectMethod(&probe_, "", TMethod{});
  EXPECT_EQ(GetObjectMethod(&probe_, "OnClick"), clickHandler_);

  SetObjectMethod(&probe_, "OnClick", TMethod{});
  EXPECT_FALSE(probe_.OnClick);
}

// ---- clicks ----------------------------------------------------------------

// A window with a windowed box and two overlapping labels; every control logs what
// reaches it.
class SendClickMessageTest : public ::testing::Test {
 protected:
  SendClickMessageTest() {
    Place(window_, "window", nullptr, 0, 0, 300, 200);
    Place(box_, "box", &window_, 100, 50, 80, 40);
    Place(label_, "label", &window_, 20, 30, 60, 20);
    Place(cover_, "cover", &window_, 70, 30, 40, 20);  // over the label's right end
  }
  void Place(TControl& control, const char* name, TWinControl* parent, int left, int top, int width,
             int height) {
    control.SetName(name);
    control.SetParent(parent);
    control.SetBounds(left, top, width, height);
    log_.Watch(control);
  }

  EventLog log_;
  TWinControl window_{nullptr};
  TWinControl box_{nullptr};
  TProbe label_{nullptr};
  TProbe cover_{nullptr};
};

TEST_F(SendClickMessageTest, PressAndReleaseReachTheControlAsARealClick) {
  struct Case {
    std::string what;
    TControl* control;
    LPARAM lParam;
    std::string log;
  };
  const std::vector<Case> cases = {
      {"windowed", &box_, MAKELPARAM(3, 4), "down:box@3,4L up:box@3,4 click:box "},
      {"windowless, through the parent", &label_, MAKELPARAM(5, 6),
       "down:label@5,6L up:label@5,6 click:label "},
      {"windowless, under another control", &label_, MAKELPARAM(55, 6),
       "down:cover@5,6L up:cover@5,6 click:cover "},
      {"windowed, outside its bounds", &box_, MAKELPARAM(90, 4), "down:box@90,4L up:box@90,4 "},
      {"nil", nullptr, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    log_.text.clear();
    SendClickMessage(c.control, 0, c.lParam);
    EXPECT_EQ(log_.text, c.log);
  }
}

TEST_F(SendClickMessageTest, DisabledOrParentlessControlsGetNoClick) {
  box_.SetEnabled(false);
  SendClickMessage(&box_, 0, MAKELPARAM(1, 1));
  EXPECT_EQ(log_.text, "down:box@1,1L up:box@1,1 ");

  log_.text.clear();
  label_.SetParent(nullptr);
  SendClickMessage(&label_, 0, MAKELPARAM(1, 1));
  EXPECT_EQ(log_.text, "");
}

}  // namespace
}  // namespace ox
