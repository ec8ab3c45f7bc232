#include <gtest/gtest.h>

#include <string>

#include "controls/F2Button.h"
#include "platform/CodePage.h"
#include "tests/controls/LookupForm.h"
#include "tests/ui/ControlInput.h"
#include "ui/Dialogs.h"
#include "ui/Edit.h"
#include "ui/Forms.h"

namespace ox {
namespace {

using test::TLookupForm;

class F2ButtonTest : public ::testing::Test {
 protected:
  void SetUp() override { HeadlessMessages().Reset(); }
  void TearDown() override { HeadlessMessages().Reset(); }

  TEdit* AddEdit(const char* name, int top) {
    auto* created = new TEdit(form.get());
    created->SetName(name);
    created->SetParent(form.get());
    created->SetBounds(10, top, 100, 21);
    return created;
  }
  TF2Button* AddButton(const char* name) {
    auto* created = new TF2Button(form.get());
    created->SetName(name);
    created->SetParent(form.get());
    created->OnClick = MakeMethod<&TLookupForm::Clicked>(form.get());
    return created;
  }

  Owned<TLookupForm> form{CreateForm<TLookupForm>(nullptr)};
  TEdit* edit = AddEdit("edCode", 20);
  TEdit* other = AddEdit("edOther", 60);
  TF2Button* button = AddButton("btnCode");
};

TEST_F(F2ButtonTest, StartsAsAFlatLookupGlyphButton) {
  EXPECT_EQ(button->GlyphIndex(), 8);
  EXPECT_FALSE(button->Glyph()->Empty());
  EXPECT_EQ(button->Caption(), "");
  EXPECT_TRUE(button->Flat());
  EXPECT_TRUE(button->AutoAlign());
  EXPECT_EQ(button->Gap(), 2);
  EXPECT_EQ(button->F2Control(), nullptr);
}

TEST_F(F2ButtonTest, AutoAlignPlacesASquareRightOfTheControlOnEveryChange) {
  button->SetBounds(300, 200, 23, 23);
  button->SetF2Control(edit);
  EXPECT_EQ(button->BoundsRect(), (TRect{112, 20, 133, 41}));
  button->SetGap(5);
  EXPECT_EQ(button->Left(), 115);
  button->SetGap(257);  // a byte
  EXPECT_EQ(button->Gap(), 1);
  EXPECT_EQ(button->Left(), 111);

  button->SetAutoAlign(false);
  button->SetLeft(300);
  button->SetGap(4);
  button->SetF2Control(other);
  EXPECT_EQ(button->BoundsRect(), (TRect{300, 20, 321, 41}));
  button->SetAutoAlign(true);
  EXPECT_EQ(button->BoundsRect(), (TRect{114, 60, 135, 81}));
}

TEST_F(F2ButtonTest, ASecondButtonOnTheSameControlIsRefusedAndReported) {
  button->SetF2Control(edit);
  TF2Button* second = AddButton("btnSecond");
  second->SetF2Control(edit);
  EXPECT_EQ(second->F2Control(), nullptr);
  const auto& records = HeadlessMessages().Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].request.text, Gb("不能同时有两个 F2Button 指到同一个 Edit."));
  EXPECT_EQ(records[0].request.type, mtError);

  button->SetF2Control(edit);  // its own binding again: silently kept
  second->SetF2Control(other);
  button->SetF2Control(nullptr);
  second->SetF2Control(edit);  // rebinding after the first let go
  EXPECT_EQ(button->F2Control(), nullptr);
  EXPECT_EQ(second->F2Control(), edit);
  EXPECT_EQ(records.size(), 1u);
}

TEST_F(F2ButtonTest, AClickFocusesTheControlThenAsksTheFormForItsLookup) {
  button->SetF2Control(edit);
  form->Show();
  other->SetFocus();
  test::ClickAt(*form, button->Left() + 2, button->Top() + 2);
  EXPECT_EQ(form->log, "click openwin:edCode:0 ");
  EXPECT_TRUE(edit->Focused());
}

TEST_F(F2ButtonTest, AClickWithoutAFocusableControlOnlyClicks) {
  struct Case {
    const char* name;
    void (*prepare)(TF2Button&, TEdit&);
  };
  const Case cases[] = {
      {"unbound", [](TF2Button&, TEdit&) {}},
      {"disabled",
       [](TF2Button& b, TEdit& e) {
         b.SetF2Control(&e);
         e.SetEnabled(false);
       }},
      {"hidden",
       [](TF2Button& b, TEdit& e) {
         b.SetF2Control(&e);
         e.SetVisible(false);
       }},
  };
  form->Show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Owned<TEdit> target{AddEdit("edTarget", 100)};
    c.prepare(*button, *target);
    form->log.clear();
    button->Click();
    EXPECT_EQ(form->log, "click ");
    EXPECT_FALSE(target->Focused());
  }
  // The bound control was freed: the binding is gone with it.
  EXPECT_EQ(button->F2Control(), nullptr);
}

TEST_F(F2ButtonTest, AClickOnAHiddenFormDoesNotRaise) {
  button->SetF2Control(edit);
  EXPECT_NO_THROW(button->Click());
  EXPECT_EQ(form->log, "click ");
}

}  // namespace
}  // namespace ox
