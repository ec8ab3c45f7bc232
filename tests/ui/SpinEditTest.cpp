#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/ControlInput.h"
#include "ui/FormReader.h"
#include "ui/Forms.h"
#include "ui/SpinEdit.h"

namespace ox {
namespace {

using test::Press;
using test::Type;

// Records the changes and the keys the handlers saw.
struct Log {
  std::string text;
  TSpinEdit* spin = nullptr;
  void Changed(TObject*) { text += "change:" + spin->Text() + " "; }
  void KeyDown(TObject*, std::uint16_t& key, TShiftState) {
    text += "down:" + std::to_string(key) + "=" + spin->Text() + " ";
  }
  void KeyPress(TObject*, char& key) { text += std::string("press:") + key + " "; }
};

class SpinEditTest : public ::testing::Test {
 protected:
  SpinEditTest() {
    form->SetBounds(0, 0, 300, 200);
    spin->SetName("seHour");
    spin->SetParent(form.get());
    next->SetName("edNext");
    next->SetParent(form.get());
    log.spin = spin;
  }
  void Listen() {
    spin->OnChange = MakeMethod<&Log::Changed>(&log);
    spin->OnKeyDown = MakeMethod<&Log::KeyDown>(&log);
    spin->OnKeyPress = MakeMethod<&Log::KeyPress>(&log);
  }

  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TSpinEdit* spin = new TSpinEdit(form.get());
  TSpinEdit* next = new TSpinEdit(form.get());
  Log log;
};

TEST_F(SpinEditTest, ValuesAreKeptWithinTheBoundsWhenThereAreAny) {
  EXPECT_EQ(spin->Text(), "0");
  struct Case {
    int minValue;
    int maxValue;
    int value;
    std::string text;
  };
  const std::vector<Case> cases{
      {0, 0, -500, "-500"},  // no bounds
      {0, 23, 24, "23"},      {0, 23, -1, "0"},
      {-99, 99, -100, "-99"}, {5, 5, 9, "9"},  // equal bounds are no bounds
      {10, 1, 50, "50"},                       // nor are crossed ones
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    spin->SetMinValue(c.minValue);
    spin->SetMaxValue(c.maxValue);
    spin->SetValue(c.value);
    EXPECT_EQ(spin->Text(), c.text);
  }
  // A text that is no whole number reads as MinValue.
  spin->SetMinValue(3);
  for (const char* text : {"", "abc", "12-", "1.5", "99999999999", "+-1"}) {
    SCOPED_TRACE(text);
    spin->SetText(text);
    EXPECT_EQ(spin->Value(), 3);
  }
  spin->SetText(" +42");
  EXPECT_EQ(spin->Value(), 42);
}

TEST_F(SpinEditTest, UpAndDownStepTheValueBeforeOnKeyDown) {
  spin->SetMinValue(0);
  spin->SetMaxValue(10);
  spin->SetIncrement(4);
  spin->SetValue(5);
  form->Show();
  Listen();
  Press(VK_UP);
  Press(VK_UP);
  Press(VK_DOWN);
  EXPECT_EQ(log.text, "change:9 down:38=9 change:10 down:38=10 change:6 down:40=6 ");
  EXPECT_TRUE(spin->Focused());  // the arrows never move the focus

  // A read-only spin edit does not step.
  spin->SetReadOnly(true);
  Press(VK_UP);
  EXPECT_EQ(spin->Value(), 6);
}

TEST_F(SpinEditTest, OnlyNumberCharactersCanBeTyped) {
  form->Show();
  Listen();
  Type("1a2-.\r");
  EXPECT_EQ(spin->Text(), "12-.");
  EXPECT_EQ(log.text.find("press:a"), std::string::npos);  // refused before OnKeyPress
  EXPECT_NE(log.text.find("press:-"), std::string::npos);

  // Without the editor nothing is typed, but the keys still step.
  spin->SetEditorEnabled(false);
  spin->SetValue(7);
  Type("5\b");
  Press(VK_UP);
  EXPECT_EQ(spin->Text(), "8");
}

TEST_F(SpinEditTest, LeavingBringsATypedValueIntoRange) {
  spin->SetMaxValue(59);
  form->Show();
  Type("75");
  EXPECT_EQ(spin->Text(), "75");
  Press(VK_TAB);
  EXPECT_TRUE(next->Focused());
  EXPECT_EQ(spin->Text(), "59");
}

TEST_F(SpinEditTest, FormResourcesSetTheBoundsBeforeTheValue) {
  ReadComponentResource(*form, R"(object frm: TForm
  object seDay: TSpinEdit
    MaxValue = 99
    MinValue = -99
    Value = 120
    Increment = 2
  end
end
)");
  auto* day = dynamic_cast<TSpinEdit*>(form->FindComponent("seDay"));
  ASSERT_NE(day, nullptr);
  EXPECT_EQ(day->Value(), 99);
  EXPECT_EQ(day->Increment(), 2);
  EXPECT_EQ(day->classInfo().FindProperty("Text"), nullptr);  // as the framework publishes
}

}  // namespace
}  // namespace ox
