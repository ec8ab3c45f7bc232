#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/DateTime.h"
#include "tests/support/TestMachine.h"
#include "ui/ClientDataSet.h"
#include "ui/DataSource.h"
#include "ui/FormReader.h"

namespace ox {
namespace {

// The message of the EDatabaseError `action` raises, or "no error".
template <typename Action>
std::string DatabaseErrorOf(Action&& action) {
  try {
    action();
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.ClassName(), "EDatabaseError");
    return error.Message();
  }
  return "no error";
}

// Records the events of a data set and its fields, in order.
struct EventLog {
  template <int N>
  void Note(TDataSet*) {
    static const char* const kNames[] = {
        "BeforeInsert", "OnNewRecord",  "AfterInsert",  "BeforePost",  "AfterPost",
        "BeforeCancel", "AfterCancel",  "BeforeScroll", "AfterScroll", "BeforeEdit",
        "AfterEdit",    "BeforeDelete", "AfterDelete"};
    log += std::string(kNames[N]) + " ";
  }
  void NewRecord(TDataSet* dataSet) {
    log += "OnNewRecord ";
    dataSet->FieldByName("NAME")->SetAsString(defaultName);
  }
  void Validate(TField* field) {
    log += "OnValidate:" + field->AsString() + " ";
    if (field->AsString() == refused) throw EDatabaseError("refused");
  }
  void Changed(TField* field) { log += "OnChange:" + field->AsString() + " "; }
  void GetText(TField* field, std::string& text, bool displayText) {
    text = (displayText ? "<" : "[") + field->AsString() + (displayText ? ">" : "]");
  }
  void SetText(TField* field, const std::string& text) { field->SetAsString("set:" + text); }

  std::string log;
  std::string defaultName = "new";
  std::string refused;
};

class DataSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ds->FieldDefs()->Add("ID", TFieldType::ftInteger);
    ds->FieldDefs()->Add("NAME", TFieldType::ftString, 10);
    ds->FieldDefs()->Add("PRICE", TFieldType::ftFloat);
    ds->FieldDefs()->Add("ACTIVE", TFieldType::ftBoolean);
    ds->FieldDefs()->Add("MADE", TFieldType::ftDateTime);
    ds->FieldDefs()->Add("NOTE", TFieldType::ftMemo);
    ds->CreateDataSet();
  }

  TField* F(const char* name) { return ds->FieldByName(name); }

  void AddRows(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
      ds->Append();
      F("ID")->SetAsInteger(ds->RecordCount() + 1);
      F("NAME")->SetAsString(name);
      ds->Post();
    }
  }

  // The NAME of every record, in order, and the cursor back where it was.
  std::string Names() {
    const TBookmark here = ds->Bookmark();
    std::string names;
    for (ds->First(); !ds->Eof(); ds->Next())
      names += F("NAME")->AsString() + " ";
    if (here != 0) ds->SetBookmark(here);
    return names;
  }

  Owned<TClientDataSet> ds{new TClientDataSet(nullptr)};
  EventLog events;
};

TEST_F(DataSetTest, OpeningMakesAFieldOfTheRightClassPerDefinitionAndClosingFreesThem) {
  struct Case {
    const char* name;
    const char* className;
    int displayWidth;
  };
  const Case cases[] = {{"ID", "TIntegerField", 11},    {"NAME", "TStringField", 10},
                        {"PRICE", "TFloatField", 10},   {"ACTIVE", "TBooleanField", 5},
                        {"MADE", "TDateTimeField", 18}, {"NOTE", "TMemoField", 10}};
  ASSERT_EQ(ds->FieldCount(), 6);
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(cases[i].name);
    TField* field = ds->Fields()[i];
    EXPECT_EQ(field->FieldName(), cases[i].name);
    EXPECT_EQ(field->ClassName(), cases[i].className);
    EXPECT_EQ(field->DisplayLabel(), cases[i].name);
    EXPECT_EQ(field->DisplayWidth(), cases[i].displayWidth);
    EXPECT_EQ(field->FieldNo(), i + 1);
    EXPECT_TRUE(field->IsNull());
  }
  F("NAME")->SetDisplayLabel("Name");
  EXPECT_EQ(F("NAME")->DisplayLabel(), "Name");
  ds->Close();
  EXPECT_EQ(ds->FieldCount(), 0);
  EXPECT_EQ(ds->FieldDefs()->Count(), 6);
}

TEST_F(DataSetTest, FieldsConvertWhatTheyAreGivenToTheirType) {
  struct Case {
    const char* field;
    Variant input;
    std::string asString;  // or the error expected
  };
  const Case cases[] = {
      {"ID", Variant("42"), "42"},
      {"ID", Variant(7.6), "8"},
      {"ID", Variant("abc"), "'abc' is not a valid integer value for field 'ID'"},
      {"ID", Variant(std::int64_t{3000000000}),
       "3000000000 is not a valid value for field 'ID'. The allowed range is -2147483648 to "
       "2147483647"},
      {"NAME", Variant("ABCDEFGHIJKL"), "ABCDEFGHIJ"},
      {"NAME", Variant(u"wide"), "wide"},
      {"NAME", Variant(12), "12"},
      {"PRICE", Variant("1.5"), "1.5"},
      {"PRICE", Variant("1,5"), "'1,5' is not a valid floating point value for field 'PRICE'"},
      {"ACTIVE", Variant("true"), "True"},
      {"ACTIVE", Variant(0), "False"},
      {"ACTIVE", Variant("maybe"), "'maybe' is not a valid boolean value for field 'ACTIVE'"},
      {"MADE", Variant::FromDate(EncodeDate(2024, 2, 29)), DateTimeToStr(EncodeDate(2024, 2, 29))},
      {"NOTE", Variant(std::string(300, 'x')), "(MEMO)"},
  };
  ds->Append();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " <- " + VarToStr(c.input));
    TField* field = F(c.field);
    field->Clear();
    const std::string error = DatabaseErrorOf([&] { field->SetValue(c.input); });
    if (error != "no error") {
      EXPECT_EQ(error, c.asString);
      EXPECT_TRUE(field->IsNull());  // a refused value leaves the field as it was
    } else {
      EXPECT_EQ(field->Text(), c.asString);
    }
  }
  EXPECT_EQ(F("NOTE")->AsString(), std::string(300, 'x'));
  F("ID")->SetAsString("42");
  EXPECT_EQ(F("ID")->Value().type(), varInteger);
}

TEST_F(DataSetTest, TextsAreCutToTheFieldSizeBetweenCharacters) {
  test::TestMachine gbWindows(936);
  ds->Append();
  F("NAME")->SetAsString("A" + Gb("中文中文中文"));  // 13 bytes into 10
  EXPECT_EQ(F("NAME")->AsString(), "A" + Gb("中文中文"));
}

TEST_F(DataSetTest, AnEmptyTextClearsAFieldThatHoldsNoText) {
  ds->Append();
  F("ID")->SetAsInteger(5);
  F("NAME")->SetAsString("x");
  F("ID")->SetAsString("");
  F("NAME")->SetAsString("");
  EXPECT_TRUE(F("ID")->IsNull());
  EXPECT_EQ(F("ID")->AsInteger(), 0);
  EXPECT_FALSE(F("NAME")->IsNull());
}

TEST_F(DataSetTest, ErrorsAreWordedAsTheFrameworkWordsThemWithTheDataSetName) {
  AddRows({"a"});
  EXPECT_EQ(DatabaseErrorOf([&] { F("NAME")->SetAsString("b"); }),
            "Dataset not in edit or insert mode");
  EXPECT_EQ(DatabaseErrorOf([&] { ds->FieldByName("MISSING"); }), "Field 'MISSING' not found");
  ds->SetName("ClientDataSet1");
  EXPECT_EQ(DatabaseErrorOf([&] { ds->FieldByName("MISSING"); }),
            "ClientDataSet1: Field 'MISSING' not found");
  EXPECT_EQ(DatabaseErrorOf([&] { F("NAME")->SetAsString("b"); }),
            "ClientDataSet1: Dataset not in edit or insert mode");
  ds->Close();
  for (const auto& action :
       std::vector<std::function<void()>>{[&] { ds->First(); }, [&] { ds->Edit(); },
                                          [&] { ds->RecordCount(); }, [&] { ds->Locate("ID", 1); }})
    EXPECT_EQ(DatabaseErrorOf(action),
              "ClientDataSet1: Cannot perform this operation on a closed dataset");
  EXPECT_EQ(ds->RecNo(), -1);
  EXPECT_TRUE(ds->IsEmpty());
}

TEST_F(DataSetTest, ReadOnlyAndRequiredFieldsAreEnforced) {
  F("ID")->SetReadOnly(true);
  F("NAME")->SetRequired(true);
  ds->Append();
  EXPECT_EQ(DatabaseErrorOf([&] { F("ID")->SetAsInteger(1); }), "Field 'ID' cannot be modified");
  F("NAME")->SetDisplayLabel("Name");
  EXPECT_EQ(DatabaseErrorOf([&] { ds->Post(); }), "Field 'Name' must have a value");
  EXPECT_EQ(ds->State(), TDataSetState::dsInsert);
  F("NAME")->SetAsString("ok");
  ds->Post();
  EXPECT_EQ(ds->RecordCount(), 1);

  ds->SetReadOnly(true);
  EXPECT_EQ(DatabaseErrorOf([&] { ds->Edit(); }), "Cannot modify a read-only dataset");
  EXPECT_FALSE(F("NAME")->CanModify());
}

TEST_F(DataSetTest, NavigationMovesAndReportsTheEnds) {
  EXPECT_TRUE(ds->IsEmpty());
  EXPECT_TRUE(ds->Bof() && ds->Eof());
  EXPECT_EQ(ds->RecNo(), -1);
  AddRows({"a", "b", "c", "d"});
  struct Step {
    const char* what;
    std::function<int(TDataSet&)> action;  // answers MoveBy's distance, else 0
    int moved, recNo;
    bool bof, eof;
  };
  const Step steps[] = {
      {"First",
       [](TDataSet& d) {
         d.First();
         return 0;
       },
       0, 1, true, false},
      {"Prior at the start",
       [](TDataSet& d) {
         d.Prior();
         return 0;
       },
       0, 1, true, false},
      {"Next",
       [](TDataSet& d) {
         d.Next();
         return 0;
       },
       0, 2, false, false},
      {"MoveBy 2", [](TDataSet& d) { return d.MoveBy(2); }, 2, 4, false, false},
      {"Next past the end",
       [](TDataSet& d) {
         d.Next();
         return 0;
       },
       0, 4, false, true},
      {"MoveBy -10", [](TDataSet& d) { return d.MoveBy(-10); }, -3, 1, true, false},
      {"MoveBy huge", [](TDataSet& d) { return d.MoveBy(2147483647); }, 3, 4, false, true},
      {"RecNo 2",
       [](TDataSet& d) {
         d.SetRecNo(2);
         return 0;
       },
       0, 2, false, false},
      {"RecNo 9 ignored",
       [](TDataSet& d) {
         d.SetRecNo(9);
         return 0;
       },
       0, 2, false, false},
      {"Last",
       [](TDataSet& d) {
         d.Last();
         return 0;
       },
       0, 4, false, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    EXPECT_EQ(step.action(*ds), step.moved);
    EXPECT_EQ(ds->RecNo(), step.recNo);
    EXPECT_EQ(ds->Bof(), step.bof);
    EXPECT_EQ(ds->Eof(), step.eof);
  }
  EXPECT_EQ(F("NAME")->AsString(), "d");
}

TEST_F(DataSetTest, InsertingAndPostingFireTheEventsInTheFrameworkOrder) {
  AddRows({"a", "b"});
  ds->BeforeInsert = MakeMethod<&EventLog::Note<0>>(&events);
  ds->OnNewRecord = MakeMethod<&EventLog::NewRecord>(&events);
  ds->AfterInsert = MakeMethod<&EventLog::Note<2>>(&events);
  ds->BeforePost = MakeMethod<&EventLog::Note<3>>(&events);
  ds->AfterPost = MakeMethod<&EventLog::Note<4>>(&events);
  ds->BeforeScroll = MakeMethod<&EventLog::Note<7>>(&events);
  ds->AfterScroll = MakeMethod<&EventLog::Note<8>>(&events);
  ds->Last();
  events.log.clear();
  ds->Insert();
  EXPECT_EQ(events.log, "BeforeInsert BeforeScroll OnNewRecord AfterInsert AfterScroll ");
  EXPECT_EQ(ds->RecNo(), -1);
  EXPECT_EQ(F("NAME")->AsString(), "new");
  EXPECT_FALSE(ds->Modified());  // the values of OnNewRecord alone do not keep a record
  F("ID")->SetAsInteger(9);
  events.log.clear();
  ds->Post();
  EXPECT_EQ(events.log, "BeforePost AfterPost ");
  EXPECT_EQ(Names(), "a new b ");  // inserted before the current record
  EXPECT_EQ(ds->RecNo(), 2);
}

TEST_F(DataSetTest, LeavingAnUntouchedNewRecordDropsItAndCancelRestores) {
  AddRows({"a", "b"});
  ds->OnNewRecord = MakeMethod<&EventLog::NewRecord>(&events);
  ds->Append();
  ds->First();  // nothing typed: the new record goes away
  EXPECT_EQ(ds->RecordCount(), 2);

  ds->Edit();
  F("NAME")->SetAsString("changed");
  ds->Cancel();
  EXPECT_EQ(ds->State(), TDataSetState::dsBrowse);
  EXPECT_EQ(F("NAME")->AsString(), "a");

  ds->Edit();
  F("NAME")->SetAsString("kept");
  ds->Next();  // a modified record is posted by moving on
  EXPECT_EQ(Names(), "kept b ");
}

TEST_F(DataSetTest, EditingAnEmptyDataSetInserts) {
  ds->Edit();
  EXPECT_EQ(ds->State(), TDataSetState::dsInsert);
}

TEST_F(DataSetTest, DeletingMovesToTheNextRecordOrBackFromTheLast) {
  AddRows({"a", "b", "c"});
  ds->SetRecNo(2);
  ds->Delete();
  EXPECT_EQ(F("NAME")->AsString(), "c");
  ds->Delete();
  EXPECT_EQ(F("NAME")->AsString(), "a");
  ds->Delete();
  EXPECT_TRUE(ds->IsEmpty());
  EXPECT_TRUE(ds->Eof());
  EXPECT_EQ(DatabaseErrorOf([&] { ds->Delete(); }),
            "Cannot perform this operation on an empty dataset");
}

TEST_F(DataSetTest, OnValidateSeesTheNewValueAndCanRefuseIt) {
  F("NAME")->OnValidate = MakeMethod<&EventLog::Validate>(&events);
  F("NAME")->OnChange = MakeMethod<&EventLog::Changed>(&events);
  events.refused = "bad";
  ds->Append();
  F("NAME")->SetAsString("good");
  EXPECT_EQ(DatabaseErrorOf([&] { F("NAME")->SetAsString("bad"); }), "refused");
  EXPECT_EQ(F("NAME")->AsString(), "good");
  EXPECT_EQ(events.log, "OnValidate:good OnChange:good OnValidate:bad ");
}

TEST_F(DataSetTest, TextHandlersReplaceTheFieldsOwnText) {
  ds->Append();
  EXPECT_EQ(F("NOTE")->DisplayText(), "(memo)");
  F("NOTE")->SetAsString("long");
  EXPECT_EQ(F("NOTE")->DisplayText(), "(MEMO)");
  F("NOTE")->OnGetText = MakeMethod<&EventLog::GetText>(&events);
  F("NOTE")->OnSetText = MakeMethod<&EventLog::SetText>(&events);
  EXPECT_EQ(F("NOTE")->Text(), "[long]");
  EXPECT_EQ(F("NOTE")->DisplayText(), "<long>");
  F("NOTE")->SetText("typed");
  EXPECT_EQ(F("NOTE")->AsString(), "set:typed");
}

TEST_F(DataSetTest, LocateFindsTheFirstMatchingRecordOrLeavesTheCursor) {
  AddRows({"Apple", "apricot", "Banana", "apple"});
  ds->Edit();
  F("PRICE")->SetAsFloat(2.5);  // the last record
  ds->Post();
  struct Case {
    const char* fields;
    Variant values;
    TLocateOptions options;
    int recNo;  // -1: not found
  };
  const Case cases[] = {
      {"NAME", Variant("apple"), 0, 4},
      {"NAME", Variant("APPLE"), loCaseInsensitive, 1},
      {"NAME", Variant("ap"), loPartialKey, 2},
      {"NAME", Variant("AP"), loPartialKey | loCaseInsensitive, 1},
      {"NAME", Variant("Appl"), 0, -1},
      {"ID", Variant("3"), 0, 3},
      {"ID", Variant("three"), 0, -1},
      {"NAME;ID", VarArrayOf({Variant("apple"), Variant(4)}), 0, 4},
      {"NAME; ID", VarArrayOf({Variant("apple"), Variant(1)}), 0, -1},
      {"PRICE", Variant::Null(), 0, 1},
      {"PRICE", Variant(2.5), 0, 4},
      {"NAME", VarArrayOf({Variant("Banana")}), 0, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fields) + " = " +
                 VarToStr(c.values.isArray() ? c.values[0] : c.values));
    ds->SetRecNo(2);
    EXPECT_EQ(ds->Locate(c.fields, c.values, c.options), c.recNo > 0);
    EXPECT_EQ(ds->RecNo(), c.recNo > 0 ? c.recNo : 2);
  }
  EXPECT_EQ(DatabaseErrorOf([&] { ds->Locate("NAME;ID", Variant("x")); }),
            "The key values do not match the key fields");
  EXPECT_EQ(DatabaseErrorOf([&] { ds->Locate("COLOUR", Variant("x")); }),
            "Field 'COLOUR' not found");
}

TEST_F(DataSetTest, LookupAnswersValuesWithoutMoving) {
  AddRows({"a", "b", "c"});
  ds->First();
  EXPECT_EQ(ds->Lookup("NAME", "c", "ID"), Variant(3));
  const Variant both = ds->Lookup("ID", 2, "NAME;ID");
  ASSERT_TRUE(both.isArray());
  EXPECT_EQ(both[0], Variant("b"));
  EXPECT_EQ(both[1], Variant(2));
  EXPECT_TRUE(ds->Lookup("NAME", "z", "ID").isNull());
  EXPECT_EQ(ds->RecNo(), 1);
}

TEST_F(DataSetTest, BookmarksFindTheirRecordAfterOthersChange) {
  AddRows({"a", "b", "c"});
  ds->SetRecNo(3);
  const TBookmark mark = ds->Bookmark();
  ds->First();
  ds->Delete();
  ds->SetBookmark(mark);
  EXPECT_EQ(F("NAME")->AsString(), "c");
  EXPECT_TRUE(ds->BookmarkValid(mark));
  ds->Delete();
  EXPECT_FALSE(ds->BookmarkValid(mark));
  EXPECT_EQ(DatabaseErrorOf([&] { ds->SetBookmark(mark); }), "Record not found");
}

// A form resource declares persistent fields inside their data set.
constexpr const char* kPersistentFields = R"(
object ClientDataSet1: TClientDataSet
  object ClientDataSet1ConName: TStringField
    DisplayLabel = 'Scheme'
    FieldName = 'ConName'
    Size = 4
  end
  object ClientDataSet1Count: TIntegerField
    FieldName = 'Count'
    Required = True
  end
end)";

TEST(PersistentFieldsTest, StayWithTheDataSetAndBindByName) {
  Owned<TComponent> root = CreateComponentFromResource(kPersistentFields, nullptr);
  auto* dataSet = static_cast<TClientDataSet*>(root.get());
  ASSERT_EQ(dataSet->FieldCount(), 2);
  TField* name = dataSet->FieldByName("CONNAME");
  EXPECT_EQ(name->Name(), "ClientDataSet1ConName");
  EXPECT_EQ(name->Owner(), dataSet);
  EXPECT_EQ(name->DisplayLabel(), "Scheme");

  dataSet->CreateDataSet();  // definitions from the fields
  ASSERT_EQ(dataSet->FieldDefs()->Count(), 2);
  EXPECT_EQ(dataSet->FieldDefs()->Items(0)->Size(), 4);
  EXPECT_TRUE(dataSet->FieldDefs()->Items(1)->Required());
  dataSet->Append();
  name->SetAsString("abcdef");
  dataSet->FieldByName("Count")->SetAsInteger(3);
  dataSet->Post();
  EXPECT_EQ(name->AsString(), "abcd");
  dataSet->Close();
  EXPECT_EQ(dataSet->FieldCount(), 2);  // persistent fields outlive the data
  EXPECT_TRUE(name->IsNull());

  // Data without a persistent field's column cannot be opened.
  dataSet->SetName("ClientDataSet1");
  DataPacket packet{{{"CONNAME", TFieldType::ftString, 10}}, {}};
  EXPECT_EQ(DatabaseErrorOf([&] { dataSet->SetData(EncodeDataPacket(packet)); }),
            "ClientDataSet1: Field 'Count' not found");
  EXPECT_FALSE(dataSet->Active());
  packet.fields.push_back({"COUNT", TFieldType::ftString, 10});
  EXPECT_EQ(DatabaseErrorOf([&] { dataSet->SetData(EncodeDataPacket(packet)); }),
            "ClientDataSet1: Type mismatch for field 'Count', expecting: Integer actual: String");
}

TEST(PersistentFieldsTest, AFieldFreedLeavesItsDataSet) {
  Owned<TComponent> root = CreateComponentFromResource(kPersistentFields, nullptr);
  auto* dataSet = static_cast<TClientDataSet*>(root.get());
  dataSet->FieldByName("Count")->Free();
  EXPECT_EQ(dataSet->FieldCount(), 1);
  Owned<TField> loose(new TStringField(nullptr));
  loose->SetFieldName("Loose");
  dataSet->CreateDataSet();
  EXPECT_EQ(DatabaseErrorOf([&] { loose->SetDataSet(dataSet); }),
            "ClientDataSet1: Cannot perform this operation on an open dataset");
}

// Counts what a data source and a field link report.
struct Watcher {
  void DataChanged(TObject*, TField* field) {
    log += "data(" + (field != nullptr ? field->FieldName() : std::string("-")) + ") ";
  }
  void StateChanged(TObject* sender) {
    log += "state(" + std::to_string(static_cast<int>(static_cast<TDataSource*>(sender)->State())) +
           ") ";
  }
  void UpdateData(TObject*) { log += "update "; }
  std::string log;
};

class DataSourceTest : public DataSetTest {
 protected:
  void SetUp() override {
    DataSetTest::SetUp();
    source->SetDataSet(ds.get());
    source->OnDataChange = MakeMethod<&Watcher::DataChanged>(&watcher);
    source->OnStateChange = MakeMethod<&Watcher::StateChanged>(&watcher);
    source->OnUpdateData = MakeMethod<&Watcher::UpdateData>(&watcher);
    link.SetDataSource(source.get());
    link.SetFieldName("NAME");
    link.OnDataChange = [this] { shown = link.Field() ? link.Field()->DisplayText() : "(none)"; };
    link.OnUpdateData = [this] { link.Field()->SetAsString(typed); };
  }

  Owned<TDataSource> source{new TDataSource(nullptr)};
  TFieldDataLink link;
  Watcher watcher;
  std::string shown;
  std::string typed;
};

TEST_F(DataSourceTest, TellsStateAndDataChangesAndLetsLinksWriteBeforePosting) {
  AddRows({"a", "b"});
  watcher.log.clear();
  ds->First();
  EXPECT_EQ(shown, "a");
  ds->Edit();
  EXPECT_TRUE(link.Editing());
  typed = "typed";
  link.Modified();
  ds->Post();
  EXPECT_EQ(F("NAME")->AsString(), "typed");
  EXPECT_EQ(shown, "typed");
  EXPECT_EQ(watcher.log, "data(-) state(2) data(-) data(NAME) update state(1) data(-) ");
}

TEST_F(DataSourceTest, DisabledControlsHearOneChangeWhenEnabledAgain) {
  AddRows({"a", "b", "c"});
  ds->First();
  watcher.log.clear();
  ds->DisableControls();
  ds->DisableControls();
  for (; !ds->Eof(); ds->Next()) {
  }
  ds->EnableControls();
  EXPECT_EQ(watcher.log, "");
  ds->EnableControls();
  EXPECT_EQ(watcher.log, "data(-) ");
  EXPECT_EQ(shown, "c");
}

TEST_F(DataSourceTest, LinksFollowTheSourceBeingDisabledClosedOrFreed) {
  AddRows({"a"});
  EXPECT_TRUE(link.Active());
  source->SetEnabled(false);
  EXPECT_FALSE(link.Active());
  EXPECT_EQ(source->State(), TDataSetState::dsInactive);
  EXPECT_EQ(shown, "(none)");
  source->SetEnabled(true);
  EXPECT_EQ(shown, "a");
  ds->Close();
  EXPECT_EQ(link.Field(), nullptr);
}

TEST_F(DataSourceTest, FreeingTheDataSetOrTheSourceDetachesEverything) {
  AddRows({"a"});
  ds.reset();
  EXPECT_EQ(source->DataSet(), nullptr);
  EXPECT_FALSE(link.Active());
  EXPECT_EQ(shown, "(none)");
  source.reset();
  EXPECT_EQ(link.DataSource(), nullptr);
}

TEST_F(DataSourceTest, AutoEditDecidesWhetherALinkMayStartEditing) {
  AddRows({"a"});
  source->SetAutoEdit(false);
  EXPECT_FALSE(link.Edit());
  EXPECT_EQ(ds->State(), TDataSetState::dsBrowse);
  source->SetAutoEdit(true);
  link.SetReadOnly(true);
  EXPECT_FALSE(link.Edit());
  link.SetReadOnly(false);
  EXPECT_TRUE(link.Edit());
  EXPECT_EQ(ds->State(), TDataSetState::dsEdit);
}

}  // namespace
}  // namespace ox
