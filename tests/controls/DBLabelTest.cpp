#include <gtest/gtest.h>

#include <vector>

#include "controls/DBLabel.h"
#include "platform/CodePage.h"
#include "ui/ClientDataSet.h"
#include "ui/DBCtrls.h"
#include "ui/Dialogs.h"
#include "ui/Edit.h"
#include "ui/Forms.h"

namespace ox {
namespace {

// A form with an edit and labels lying directly on it, as a form resource makes them.
class DBLabelTest : public ::testing::Test {
 protected:
  DBLabelTest() {
    HeadlessMessages().Reset();
    form->SetBounds(0, 0, 400, 300);
    edit->SetParent(form.get());
    edit->SetBounds(50, 40, 100, 21);
    for (TDBLabel* label : {label1, label2}) {
      label->SetParent(form.get());
      label->SetAutoSize(false);
      label->SetBounds(0, 0, 30, 13);
    }
  }
  ~DBLabelTest() override { HeadlessMessages().Reset(); }

  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TEdit* edit = new TEdit(form.get());
  TDBLabel* label1 = new TDBLabel(form.get());
  TDBLabel* label2 = new TDBLabel(form.get());
};

TEST_F(DBLabelTest, StartsAsAPlacedLabelOnTheLeft) {
  TDBLabel label(nullptr);
  EXPECT_EQ(label.Caption(), Gb("挂靠标签"));
  EXPECT_TRUE(label.AutoAlign());
  EXPECT_TRUE(label.AutoCaption());
  EXPECT_EQ(label.Gap(), 4);
  EXPECT_EQ(label.Pos(), TPos::psLeft);
  EXPECT_EQ(label.FocusControl(), nullptr);
}

TEST_F(DBLabelTest, SitsBesideTheControlAndNeverLeavesTheParentsTopLeft) {
  struct Case {
    TPos pos;
    int gap;
    TRect control;  // left, top, right, bottom
    int left, top;
  };
  const std::vector<Case> cases{
      {TPos::psTop, 4, {50, 40, 150, 61}, 50, 23},
      {TPos::psBottom, 4, {50, 40, 150, 61}, 50, 65},
      {TPos::psLeft, 4, {50, 40, 150, 61}, 16, 44},
      {TPos::psRight, 4, {50, 40, 150, 61}, 154, 44},
      {TPos::psLeft, 0, {50, 40, 150, 62}, 20, 45},
      // Clamped: too little room to the left or above.
      {TPos::psLeft, 4, {10, 40, 110, 61}, 0, 44},
      {TPos::psTop, 4, {50, 5, 150, 26}, 50, 0},
      {TPos::psBottom, 4, {50, -60, 150, -39}, 50, 0},
      {TPos::psRight, 4, {-200, 40, -100, 61}, 0, 44},
      // Only the clamped coordinate changes: the top beside a control above the form
      // may be negative.
      {TPos::psLeft, 4, {50, -40, 150, -19}, 16, -36},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.pos));
    SCOPED_TRACE(c.control.Left);
    edit->SetBounds(c.control.Left, c.control.Top, c.control.Width(), c.control.Height());
    label1->SetFocusControl(nullptr);
    label1->SetPos(c.pos);
    label1->SetGap(static_cast<std::uint8_t>(c.gap));
    label1->SetFocusControl(edit);
    EXPECT_EQ(label1->Left(), c.left);
    EXPECT_EQ(label1->Top(), c.top);
    EXPECT_EQ(label1->Width(), 30);
    EXPECT_EQ(label1->Height(), 13);
  }
}

TEST_F(DBLabelTest, ChangingSideOrGapMovesItOnlyWhileAutoAligned) {
  label1->SetFocusControl(edit);
  label1->SetPos(TPos::psRight);
  EXPECT_EQ(label1->Left(), 154);
  label1->SetGap(10);
  EXPECT_EQ(label1->Left(), 160);

  label1->SetAutoAlign(false);
  label1->SetPos(TPos::psTop);
  label1->SetGap(2);
  EXPECT_EQ(label1->Left(), 160);
  EXPECT_EQ(label1->Top(), 44);
  label1->SetAutoAlign(true);
  EXPECT_EQ(label1->Left(), 50);
  EXPECT_EQ(label1->Top(), 25);
}

TEST_F(DBLabelTest, ASecondLabelForTheSameControlIsRefusedWithAMessage) {
  label1->SetFocusControl(edit);
  label2->SetPos(TPos::psTop);
  label2->SetFocusControl(edit);
  EXPECT_EQ(label2->FocusControl(), nullptr);
  EXPECT_EQ(label2->Top(), 0);  // not placed either
  EXPECT_EQ(label1->FocusControl(), edit);
  const auto& records = HeadlessMessages().Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].request.text, Gb("不能同时有两个 DBLabel 指到同一个 Control."));
  EXPECT_EQ(records[0].request.type, mtError);
  EXPECT_EQ(records[0].request.buttons, std::vector<TMsgDlgBtn>{mbOK});

  // The same control again on the label it belongs to: no message, still attached.
  label1->SetFocusControl(edit);
  EXPECT_EQ(label1->FocusControl(), edit);
  EXPECT_EQ(records.size(), 1u);

  // Once released, the control is free for the other label.
  label1->SetFocusControl(nullptr);
  label2->SetFocusControl(edit);
  EXPECT_EQ(label2->FocusControl(), edit);
  EXPECT_EQ(records.size(), 1u);
}

// A data-aware edit on a field with a display label.
class DBLabelCaptionTest : public DBLabelTest {
 protected:
  DBLabelCaptionTest() {
    data->FieldDefs()->Add("NAME", TFieldType::ftString, 10);
    data->CreateDataSet();
    data->FieldByName("NAME")->SetDisplayLabel(Gb("名称"));
    source->SetDataSet(data);
    dbEdit->SetParent(form.get());
    dbEdit->SetBounds(50, 100, 100, 21);
    dbEdit->SetDataSource(source);
    dbEdit->SetDataField("NAME");
    label1->SetAutoSize(true);
  }

  TClientDataSet* data = new TClientDataSet(form.get());
  TDataSource* source = new TDataSource(form.get());
  TDBEdit* dbEdit = new TDBEdit(form.get());
};

TEST_F(DBLabelCaptionTest, TakesTheFieldsDisplayLabelBeforeItIsPlaced) {
  label1->SetFocusControl(dbEdit);
  EXPECT_EQ(label1->Caption(), Gb("名称"));
  // Placed with the width of the new caption.
  EXPECT_EQ(label1->Left(), dbEdit->Left() - label1->Width() - 4);
}

TEST_F(DBLabelCaptionTest, KeepsItsOwnCaptionWhenThereIsNoFieldToAsk) {
  // An edit on a field its (closed) data set does not have.
  auto* other = new TClientDataSet(form.get());
  auto* otherSource = new TDataSource(form.get());
  otherSource->SetDataSet(other);
  auto* unknown = new TDBEdit(form.get());
  unknown->SetParent(form.get());
  unknown->SetDataSource(otherSource);
  unknown->SetDataField("NONE");
  struct Case {
    const char* name;
    bool autoCaption;
    TWinControl* control;
  };
  for (const Case& c : std::vector<Case>{{"unknown field", true, unknown},
                                         {"no auto caption", false, dbEdit},
                                         {"plain edit", true, edit}}) {
    SCOPED_TRACE(c.name);
    label1->SetFocusControl(nullptr);
    label1->SetCaption("Own");
    label1->SetAutoCaption(c.autoCaption);
    label1->SetFocusControl(c.control);
    EXPECT_EQ(label1->FocusControl(), c.control);
    EXPECT_EQ(label1->Caption(), "Own");
  }
}

TEST_F(DBLabelCaptionTest, ADataSourceWithoutADataSetLeavesTheCaption) {
  source->SetDataSet(nullptr);
  label1->SetFocusControl(dbEdit);
  EXPECT_EQ(label1->Caption(), Gb("挂靠标签"));
}

}  // namespace
}  // namespace ox
