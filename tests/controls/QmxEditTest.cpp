#include <gtest/gtest.h>

#include <vector>

#include "controls/QmxEdit.h"
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

}  // namespace
}  // namespace ox
