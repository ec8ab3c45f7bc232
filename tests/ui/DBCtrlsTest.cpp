#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <tuple>

#include "platform/CodePage.h"
#include "platform/WinMessages.h"
#include "tests/support/TestMachine.h"
#include "ui/ClientDataSet.h"
#include "ui/DBCtrls.h"
#include "ui/Forms.h"

namespace ox {
namespace {

void Type(TWinControl* control, std::string_view text) {
  for (char c : text)
    SendMessage(control->Handle(), WM_CHAR, static_cast<unsigned char>(c), 0);
}

void Press(TWinControl* control, WPARAM key) {
  SendMessage(control->Handle(), WM_KEYDOWN, key, 0);
}

struct TextHandlers {
  void GetText(TField* field, std::string& text, bool displayText) {
    text = displayText ? "<" + field->AsString() + ">" : field->AsString();
  }
};

// A form whose data set, data source and data-aware controls it owns, as a form
// resource would make them.
class DBCtrlsTest : public ::testing::Test {
 protected:
  DBCtrlsTest() {
    form->SetBounds(0, 0, 300, 200);
    ds->SetName("ClientDataSet1");
    ds->FieldDefs()->Add("NAME", TFieldType::ftString, 10);
    ds->FieldDefs()->Add("QTY", TFieldType::ftInteger);
    ds->FieldDefs()->Add("KIND", TFieldType::ftString, 10);
    ds->CreateDataSet();
    for (const auto& [text, number, line] :
         {std::tuple{"first", 1, "B"}, std::tuple{"second", 2, "Z"}}) {
      ds->Append();
      ds->FieldByName("NAME")->SetAsString(text);
      ds->FieldByName("QTY")->SetAsInteger(number);
      ds->FieldByName("KIND")->SetAsString(line);
      ds->Post();
    }
    ds->First();
    source->SetDataSet(ds);
    Place(name, "NAME", 10);
    Place(qty, "QTY", 40);
    kind->SetParent(form.get());
    kind->SetBounds(10, 70, 100, 21);
    kind->SetStyle(TComboBoxStyle::csDropDownList);
    for (const char* line : {"A", "B", "C"})
      kind->Items()->Add(line);
    kind->SetDataSource(source);
    kind->SetDataField("KIND");
    form->Show();
  }

  void Place(TDBEdit* edit, const char* field, int top) {
    edit->SetParent(form.get());
    edit->SetBounds(10, top, 100, 21);
    edit->SetDataSource(source);
    edit->SetDataField(field);
  }

  std::string Stored(const char* field) { return ds->FieldByName(field)->AsString(); }

  Owned<TForm> form{CreateForm<TForm>(nullptr)};
  TClientDataSet* ds = new TClientDataSet(form.get());
  TDataSource* source = new TDataSource(form.get());
  TDBEdit* name = new TDBEdit(form.get());
  TDBEdit* qty = new TDBEdit(form.get());
  TDBComboBox* kind = new TDBComboBox(form.get());
};

TEST_F(DBCtrlsTest, ControlsShowTheCurrentRecordAndStayReadOnlyWhileBrowsing) {
  EXPECT_EQ(name->Text(), "first");
  EXPECT_EQ(qty->Text(), "1");
  EXPECT_EQ(kind->ItemIndex(), 1);
  EXPECT_TRUE(static_cast<TCustomEdit*>(name)->ReadOnly());
  EXPECT_EQ(name->MaxLength(), 10);  // the field's size
  ds->Next();
  EXPECT_EQ(name->Text(), "second");
  EXPECT_EQ(kind->ItemIndex(), -1);  // "Z" is no line
  ds->Close();
  EXPECT_EQ(name->Text(), "");
  EXPECT_EQ(name->Field(), nullptr);
}

TEST_F(DBCtrlsTest, TypingEditsTheRecordAndLeavingWritesTheField) {
  name->SetFocus();
  Type(name, "new");  // replaces the text selected on entering
  EXPECT_EQ(ds->State(), TDataSetState::dsEdit);
  EXPECT_EQ(name->Text(), "new");
  EXPECT_EQ(Stored("NAME"), "first");  // not yet
  qty->SetFocus();
  EXPECT_EQ(Stored("NAME"), "new");
  Press(qty, VK_END);
  Type(qty, "5");
  ds->Post();  // posting takes the text of the focused control too
  EXPECT_EQ(ds->FieldByName("QTY")->AsInteger(), 15);
  EXPECT_EQ(ds->State(), TDataSetState::dsBrowse);
}

TEST_F(DBCtrlsTest, EscapeDropsWhatWasTyped) {
  name->SetFocus();
  Type(name, "abc");
  Type(name, "\x1b");
  EXPECT_EQ(name->Text(), "first");
  EXPECT_EQ(name->SelLength(), 5);
  qty->SetFocus();
  EXPECT_EQ(Stored("NAME"), "first");
}

TEST_F(DBCtrlsTest, KeysAreRefusedWhenTheRecordCannotBeEdited) {
  struct Case {
    const char* what;
    std::function<void()> arrange;
  };
  const Case cases[] = {
      {"no AutoEdit", [&] { source->SetAutoEdit(false); }},
      {"control read-only", [&] { name->SetReadOnly(true); }},
      {"field read-only", [&] { ds->FieldByName("NAME")->SetReadOnly(true); }},
      {"data set read-only", [&] { ds->SetReadOnly(true); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.arrange();
    name->SetFocus();
    Type(name, "x");
    Press(name, VK_DELETE);
    EXPECT_EQ(name->Text(), "first");
    EXPECT_EQ(ds->State(), TDataSetState::dsBrowse);
    source->SetAutoEdit(true);
    name->SetReadOnly(false);
    ds->FieldByName("NAME")->SetReadOnly(false);
    ds->SetReadOnly(false);
  }
}

TEST_F(DBCtrlsTest, ATextTheFieldRefusesKeepsTheFocus) {
  qty->SetFocus();
  Type(qty, "12a");
  try {
    name->SetFocus();
    FAIL() << "no error";
  } catch (const EDatabaseError& error) {
    EXPECT_EQ(error.Message(), "'12a' is not a valid integer value for field 'QTY'");
  }
  EXPECT_EQ(form->ActiveControl(), qty);
  EXPECT_TRUE(qty->Focused());
  EXPECT_EQ(qty->SelLength(), 3);
  Type(qty, "\b7");  // still editable: fix it and move on
  name->SetFocus();
  EXPECT_EQ(ds->FieldByName("QTY")->AsInteger(), 7);
}

TEST_F(DBCtrlsTest, TheEditShowsTheDisplayTextUntilItHasTheFocus) {
  TextHandlers handlers;
  ds->FieldByName("NAME")->OnGetText = MakeMethod<&TextHandlers::GetText>(&handlers);
  qty->SetFocus();
  ds->First();
  EXPECT_EQ(name->Text(), "<first>");
  name->SetFocus();
  EXPECT_EQ(name->Text(), "first");
  qty->SetFocus();
  EXPECT_EQ(name->Text(), "<first>");
}

TEST_F(DBCtrlsTest, DoubleByteCharactersTypeAsOne) {
  test::TestMachine gbWindows(936);
  name->SetFocus();
  Press(name, VK_END);
  Type(name, Gb("中"));
  qty->SetFocus();
  EXPECT_EQ(Stored("NAME"), "first" + Gb("中"));
}

TEST_F(DBCtrlsTest, TheComboBoxPutsTheChosenLineIntoTheField) {
  kind->SetFocus();
  Press(kind, VK_DOWN);
  EXPECT_EQ(ds->State(), TDataSetState::dsEdit);
  EXPECT_EQ(kind->Text(), "C");
  name->SetFocus();
  EXPECT_EQ(Stored("KIND"), "C");
  ds->Cancel();
  EXPECT_EQ(kind->Text(), "B");

  source->SetAutoEdit(false);
  kind->SetFocus();
  Press(kind, VK_DOWN);
  Type(kind, "a");
  EXPECT_EQ(kind->ItemIndex(), 1);
  EXPECT_EQ(ds->State(), TDataSetState::dsBrowse);
}

TEST_F(DBCtrlsTest, TheComboBoxEditPartTypesLikeAnEdit) {
  kind->SetStyle(TComboBoxStyle::csDropDown);
  ds->Next();
  EXPECT_EQ(kind->Text(), "Z");  // shown as it stands
  kind->SetFocus();
  Type(kind, "Q");
  Type(kind, "\x1b");
  EXPECT_EQ(kind->Text(), "Z");
  Type(kind, "QR");
  name->SetFocus();
  EXPECT_EQ(Stored("KIND"), "QR");
}

TEST_F(DBCtrlsTest, ControlsLetGoOfAFreedDataSource) {
  source->Free();
  EXPECT_EQ(name->DataSource(), nullptr);
  EXPECT_EQ(name->Text(), "");
  EXPECT_EQ(kind->ItemIndex(), -1);
}

// Labels that attach to a control find its data source by the published property.
TEST_F(DBCtrlsTest, DataSourceIsAPublishedObjectProperty) {
  for (TControl* control : {static_cast<TControl*>(name), static_cast<TControl*>(kind)}) {
    const PropInfo* prop = control->classInfo().FindProperty("DataSource");
    ASSERT_NE(prop, nullptr);
    EXPECT_EQ(prop->kind, PropKind::Class);
    EXPECT_EQ(prop->getObject(*control), source);
    EXPECT_EQ(GetPropValue(*control, *control->classInfo().FindProperty("DataField")).asString(),
              control == name ? "NAME" : "KIND");
  }
}

}  // namespace
}  // namespace ox
