#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/F2Button.h"
#include "controls/QmxEdit.h"
#include "tests/controls/LookupForm.h"
#include "tests/ui/ControlInput.h"
#include "ui/Forms.h"
#include "ui/Panel.h"

namespace ox {
namespace {

class QmxEditTest : public ::testing::Test {
 protected:
  QmxEditTest() {
    form->SetBounds(0, 0, 400, 300);
    edit->SetParent(form.get());
    edit->SetBounds(100, 50, 120, 21);
    label = edit->EditLabel();
    label->SetAutoSize(false);
    label->SetBounds(0, 0, 40, 13);
  }

  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TOxEdit* edit = new TOxEdit(form.get());
  TLabel* label = nullptr;
};

TEST_F(QmxEditTest, OwnsAnEmptyLabelNamedEditLabelThatFocusesTheEdit) {
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(edit->FindComponent("EditLabel"), label);
  EXPECT_EQ(label->FocusControl(), edit);
  EXPECT_EQ(edit->LabelCaption(), "");
  EXPECT_EQ(edit->LabelPosition(), TLabelPosition::lpLeft);
  EXPECT_EQ(edit->LabelSpacing(), 4);
  EXPECT_EQ(label->Parent(), form.get());
  // The published Caption is the label's, not the edit's text.
  const PropInfo* caption = edit->classInfo().FindProperty("Caption");
  ASSERT_NE(caption, nullptr);
  SetPropValue(*edit, *caption, Variant("Name"));
  EXPECT_EQ(label->Caption(), "Name");
  EXPECT_EQ(edit->Text(), "");
}

TEST_F(QmxEditTest, PlacesTheLabelBySideAndSpacing) {
  struct Case {
    TLabelPosition position;
    int spacing;
    int left, top;
  };
  // Edit 100, 50, 120 x 21; label 40 x 13.
  const std::vector<Case> cases{
      {TLabelPosition::lpAbove, 4, 100, 33}, {TLabelPosition::lpBelow, 4, 100, 75},
      {TLabelPosition::lpLeft, 4, 56, 54},   {TLabelPosition::lpRight, 4, 224, 54},
      {TLabelPosition::lpRight, 0, 220, 54}, {TLabelPosition::lpAbove, -3, 100, 33},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.position));
    SCOPED_TRACE(c.spacing);
    edit->SetLabelSpacing(4);
    edit->SetLabelSpacing(c.spacing);  // a negative spacing is ignored
    edit->SetLabelPosition(c.position);
    EXPECT_EQ(label->Left(), c.left);
    EXPECT_EQ(label->Top(), c.top);
  }
  // Above with spacing 4: the label's bottom is 4 pixels above the edit.
  edit->SetLabelSpacing(4);
  edit->SetLabelPosition(TLabelPosition::lpAbove);
  EXPECT_EQ(label->Top() + label->Height(), edit->Top() - 4);
}

TEST_F(QmxEditTest, TheLabelFollowsTheEdit) {
  edit->SetBounds(10, 100, 80, 25);
  EXPECT_EQ(label->Left(), 10 - 40 - 4);
  EXPECT_EQ(label->Top(), 100 + (25 - 13) / 2);

  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  edit->SetParent(panel);
  EXPECT_EQ(label->Parent(), panel);
  edit->SetEnabled(false);
  EXPECT_FALSE(label->Enabled());
  edit->SetVisible(false);
  EXPECT_FALSE(label->Visible());
  edit->SetVisible(true);
  EXPECT_TRUE(label->Visible());

  // An autosized label is placed with the size of its new caption.
  label->SetAutoSize(true);
  edit->SetLabelCaption("A much longer caption");
  EXPECT_EQ(label->Left() + label->Width(), edit->Left() - 4);
}

TEST_F(QmxEditTest, WithoutItsLabelTheEditIgnoresCaptionChanges) {
  label->Free();
  EXPECT_EQ(edit->EditLabel(), nullptr);
  edit->SetLabelCaption("x");
  EXPECT_EQ(edit->LabelCaption(), "");
  edit->SetBounds(0, 0, 50, 20);
  edit->SetLabelPosition(TLabelPosition::lpAbove);
}

TEST(QmxDBEditTest, ADataEditCarriesTheSameLabel) {
  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  auto* edit = new TOxDBEdit(form.get());
  edit->SetParent(form.get());
  edit->SetLabelCaption("Qty");
  edit->EditLabel()->SetAutoSize(false);
  edit->EditLabel()->SetBounds(0, 0, 30, 13);
  edit->SetLabelPosition(TLabelPosition::lpBelow);
  edit->SetBounds(20, 30, 100, 21);
  EXPECT_EQ(edit->EditLabel()->Parent(), form.get());
  EXPECT_EQ(edit->EditLabel()->Left(), 20);
  EXPECT_EQ(edit->EditLabel()->Top(), 55);
  EXPECT_NE(TOxDBEdit::StaticClassInfo().FindProperty("DataField"), nullptr);
}

using test::TLookupForm;

class QmxBtnDBEditTest : public ::testing::Test {
 protected:
  QmxBtnDBEditTest() {
    HeadlessMessages().Reset();
    edit->SetName("edCode");
    edit->SetParent(form.get());
    edit->SetBounds(100, 50, 120, 21);
    other->SetParent(form.get());
    other->SetBounds(100, 150, 120, 21);
  }
  ~QmxBtnDBEditTest() override { HeadlessMessages().Reset(); }

  Owned<TLookupForm> form{CreateForm<TLookupForm>(nullptr)};
  TOxBtnDBEdit* edit = new TOxBtnDBEdit(form.get());
  TEdit* other = new TEdit(form.get());
  TGSpeedButton* button = edit->Button();
};

TEST_F(QmxBtnDBEditTest, OwnsAFlatLookupButtonPublishedThroughTheEdit) {
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(edit->FindComponent("F2Button"), button);
  EXPECT_TRUE(button->Flat());
  EXPECT_EQ(button->GlyphIndex(), 8);
  EXPECT_EQ(edit->ButtonSpacing(), 2);
  EXPECT_NE(edit->EditLabel(), nullptr);

  const ClassInfo& info = edit->classInfo();
  ASSERT_NE(info.FindProperty("GlyphIndex"), nullptr);
  ASSERT_NE(info.FindProperty("ButtonHint"), nullptr);
  EXPECT_NE(info.FindProperty("OnDialog"), nullptr);
  SetPropValue(*edit, *info.FindProperty("GlyphIndex"), Variant(4));
  SetPropValue(*edit, *info.FindProperty("ButtonHint"), Variant("Find"));
  EXPECT_EQ(button->GlyphIndex(), 4);
  EXPECT_EQ(button->Hint(), "Find");
  EXPECT_EQ(edit->ButtonHint(), "Find");

  button->Free();
  EXPECT_EQ(edit->Button(), nullptr);
  edit->SetGlyphIndex(5);
  EXPECT_EQ(edit->GlyphIndex(), 0);
  edit->SetBounds(0, 0, 50, 20);
}

TEST_F(QmxBtnDBEditTest, TheButtonIsASquareRightOfTheEditAndFollowsIt) {
  struct Case {
    int left, top, width, height, spacing;
  };
  const std::vector<Case> cases{{100, 50, 120, 21, 2}, {10, 5, 80, 30, 0}, {10, 5, 80, 30, 7}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.spacing);
    edit->SetBounds(c.left, c.top, c.width, c.height);
    edit->SetButtonSpacing(c.spacing);
    EXPECT_EQ(button->Left(), c.left + c.width + c.spacing);
    EXPECT_EQ(button->Top(), c.top);
    EXPECT_EQ(button->Width(), c.height);
    EXPECT_EQ(button->Height(), c.height);
  }
  EXPECT_EQ(button->Parent(), form.get());
  edit->SetEnabled(false);
  EXPECT_FALSE(button->Enabled());
  edit->SetVisible(false);
  EXPECT_FALSE(button->Visible());
}

TEST_F(QmxBtnDBEditTest, AClickFocusesTheEditAndAsksTheOwnerFormForItsLookup) {
  form->Show();
  other->SetFocus();
  test::ClickAt(*form, button->Left() + 2, button->Top() + 2);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(form->log, "openwin:edCode:0 ");
}

TEST_F(QmxBtnDBEditTest, OnDialogReplacesTheLookupRequest) {
  form->Show();
  other->SetFocus();
  edit->OnDialog = MakeMethod<&TLookupForm::Dialog>(form.get());
  button->Click();
  EXPECT_EQ(form->log, "dialog:edCode ");
  EXPECT_TRUE(other->Focused());
}

TEST_F(QmxBtnDBEditTest, AClickOnAHiddenFormDoesNotRaiseNorAsk) {
  EXPECT_NO_THROW(button->Click());
  EXPECT_EQ(form->log, "");
}

}  // namespace
}  // namespace ox
