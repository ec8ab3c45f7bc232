#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <tuple>

#include "platform/CodePage.h"
#include "platform/OleAuto.h"
#include "tests/support/TestMachine.h"
#include "tests/ui/ControlInput.h"
#include "ui/ClientDataSet.h"
#include "ui/DBCtrls.h"
#include "ui/FormReader.h"
#include "ui/Forms.h"

namespace ox {
namespace {

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
  test::Type(*name, "new");  // replaces the text selected on entering
  EXPECT_EQ(ds->State(), TDataSetState::dsEdit);
  EXPECT_EQ(name->Text(), "new");
  EXPECT_EQ(Stored("NAME"), "first");  // not yet
  qty->SetFocus();
  EXPECT_EQ(Stored("NAME"), "new");
  test::Press(*qty, VK_END);
  test::Type(*qty, "5");
  ds->Post();  // posting takes the text of the focused control too
  EXPECT_EQ(ds->FieldByName("QTY")->AsInteger(), 15);
  EXPECT_EQ(ds->State(), TDataSetState::dsBrowse);
}

TEST_F(DBCtrlsTest, EscapeDropsWhatWasTyped) {
  name->SetFocus();
  test::Type(*name, "abc");
  test::Press(*name, VK_ESCAPE);
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
    test::Type(*name, "x");
    test::Press(*name, VK_DELETE);
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
  test::Type(*qty, "12a");
  try {
    name->SetFocus();
    FAIL() << "no error";
  } catch (const EDatabaseError& error) {
    EXPECT_EQ(error.Message(), "'12a' is not a valid integer value for field 'QTY'");
  }
  EXPECT_EQ(form->ActiveControl(), qty);
  EXPECT_TRUE(qty->Focused());
  EXPECT_EQ(qty->SelLength(), 3);
  test::Press(*qty, VK_BACK);  // still editable: fix it and move on
  test::Type(*qty, "7");
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
  test::Press(*name, VK_END);
  test::Type(*name, Gb("中"));
  qty->SetFocus();
  EXPECT_EQ(Stored("NAME"), "first" + Gb("中"));
}

TEST_F(DBCtrlsTest, TheComboBoxPutsTheChosenLineIntoTheField) {
  kind->SetFocus();
  test::Press(*kind, VK_DOWN);
  EXPECT_EQ(ds->State(), TDataSetState::dsEdit);
  EXPECT_EQ(kind->Text(), "C");
  name->SetFocus();
  EXPECT_EQ(Stored("KIND"), "C");
  ds->Cancel();
  EXPECT_EQ(kind->Text(), "B");

  source->SetAutoEdit(false);
  kind->SetFocus();
  test::Press(*kind, VK_DOWN);
  test::Type(*kind, "a");
  EXPECT_EQ(kind->ItemIndex(), 1);
  EXPECT_EQ(ds->State(), TDataSetState::dsBrowse);
}

TEST_F(DBCtrlsTest, TheComboBoxEditPartTypesLikeAnEdit) {
  kind->SetStyle(TComboBoxStyle::csDropDown);
  ds->Next();
  EXPECT_EQ(kind->Text(), "Z");  // shown as it stands
  kind->SetFocus();
  test::Type(*kind, "Q");
  test::Press(*kind, VK_ESCAPE);
  EXPECT_EQ(kind->Text(), "Z");
  test::Type(*kind, "QR");
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

// A provider serving two scheme names.
class SchemeServer : public AutoObject {
 public:
  SchemeServer() {
    AddMethod("AS_GetRecords", 7, [](std::span<Variant> args) {
      EXPECT_EQ(args[0], Variant("pvdConSave"));
      return EncodeDataPacket(
          {{{"NCONDITION", TFieldType::ftString, 20}}, {{Variant("one")}, {Variant("two")}}});
    });
  }
};

TEST(DBCtrlsResourceTest, AFormResourceWiresConnectionDataSetSourceAndControls) {
  RegisterOleClass("Test.SchemeServer", [] { return std::make_shared<SchemeServer>(); });
  Owned<TForm> form(CreateForm<TForm>(nullptr));
  ReadComponentResource(*form, R"(
object Form1: TForm
  object DBEdit1: TDBEdit
    DataSource = DataSource1
    DataField = 'NCONDITION'
  end
  object MainMidas: TDCOMConnection
    ServerName = 'Test.SchemeServer'
  end
  object ClientDataSet1: TClientDataSet
    Active = True
    ProviderName = 'pvdConSave'
    RemoteServer = MainMidas
    IndexFieldNames = 'NCONDITION'
  end
  object DataSource1: TDataSource
    DataSet = ClientDataSet1
  end
end)");
  auto* edit = static_cast<TDBEdit*>(form->FindComponent("DBEdit1"));
  auto* dataSet = static_cast<TClientDataSet*>(form->FindComponent("ClientDataSet1"));
  EXPECT_TRUE(static_cast<TCustomRemoteServer*>(form->FindComponent("MainMidas"))->Connected());
  EXPECT_EQ(edit->Text(), "one");
  dataSet->Last();
  EXPECT_EQ(edit->Text(), "two");
  UnregisterOleClass("Test.SchemeServer");
}

}  // namespace
}  // namespace ox
