#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/OleAuto.h"
#include "ui/ClientDataSet.h"
#include "ui/FormReader.h"

namespace ox {
namespace {

template <typename Action>
std::string ErrorOf(Action&& action) {
  try {
    action();
  } catch (const Exception& error) {
    return std::string(error.ClassName()) + ": " + error.Message();
  }
  return "no error";
}

// An application server with one provider: it serves a packet and records what
// AS_GetRecords and AS_ApplyUpdates were given; updates fail for the changes listed.
class FakeAppServer : public AutoObject {
 public:
  FakeAppServer() {
    AddMethod("AS_GetRecords", 7, [this](std::span<Variant> args) {
      ++fetches;
      getRecordsArgs.assign(args.begin(), args.end());
      args[2] = static_cast<int>(packet.rows.size());  // RecsOut
      return EncodeDataPacket(packet);
    });
    AddMethod("AS_ApplyUpdates", 5, [this](std::span<Variant> args) {
      provider = args[0].asString();
      delta = {};
      deltaValid = DecodeDelta(args[1], delta);
      maxErrors = args[2].asInteger();
      args[3] = static_cast<int>(failures.size());  // ErrorCount
      return EncodeApplyErrors(failures);
    });
  }

  DataPacket packet;
  int fetches = 0;
  std::vector<Variant> getRecordsArgs;
  std::string provider;
  Delta delta;
  bool deltaValid = false;
  int maxErrors = 0;
  std::vector<ApplyError> failures;
};

// The scheme rows as the provider "pvdConSave" serves them.
DataPacket SchemePacket() {
  DataPacket packet;
  packet.fields = {{"NCONDITION", TFieldType::ftString, 20},
                   {"CREATOR", TFieldType::ftString, 10},
                   {"PROGRAMME", TFieldType::ftString, 10},
                   {"VCONDITION", TFieldType::ftMemo, 0},
                   {"CREATE_DATE", TFieldType::ftString, 8}};
  const char* rows[][5] = {{"beta", "u1", "MVAR52", "b", "20240102"},
                           {"Alpha", "u1", "MVAR52", "A", "20240101"},
                           {"alpha", "u1", "MVAR52", "a", "20240103"},
                           {"gamma", "u2", "MVAR52", "g", "20240104"}};
  for (const auto& row : rows)
    packet.rows.push_back({row[0], row[1], row[2], row[3], row[4]});
  return packet;
}

class ClientDataSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server->packet = SchemePacket();
    RegisterOleClass("Test.AppServer", [this] { return server; });
    connection->SetServerName("Test.AppServer");
    ds->SetName("ClientDataSet1");
    ds->SetRemoteServer(connection.get());
    ds->SetProviderName("pvdConSave");
  }
  void TearDown() override { UnregisterOleClass("Test.AppServer"); }

  std::string Column(const char* name) {
    std::string values;
    for (ds->First(); !ds->Eof(); ds->Next())
      values += ds->FieldByName(name)->AsString() + " ";
    return values;
  }
  std::string Current() { return ds->FieldByName("NCONDITION")->AsString(); }

  std::shared_ptr<FakeAppServer> server = std::make_shared<FakeAppServer>();
  Owned<TDCOMConnection> connection{new TDCOMConnection(nullptr)};
  Owned<TClientDataSet> ds{new TClientDataSet(nullptr)};
};

TEST_F(ClientDataSetTest, OpeningFetchesTheProvidersRowsThroughTheConnection) {
  ds->SetCommandText("select");
  ds->Open();
  EXPECT_TRUE(connection->Connected());
  ASSERT_EQ(server->getRecordsArgs.size(), 7u);
  EXPECT_EQ(server->getRecordsArgs[0], Variant("pvdConSave"));
  EXPECT_EQ(server->getRecordsArgs[1], Variant(-1));
  EXPECT_EQ(server->getRecordsArgs[3], Variant(grMetaData | grReset));
  EXPECT_EQ(server->getRecordsArgs[4], Variant("select"));
  EXPECT_EQ(ds->RecordCount(), 4);
  EXPECT_EQ(ds->FieldDefs()->Items(3)->DataType(), TFieldType::ftMemo);
  EXPECT_EQ(Column("NCONDITION"), "beta Alpha alpha gamma ");

  ds->Close();
  EXPECT_EQ(ds->FieldCount(), 0);
  server->packet.rows.pop_back();
  ds->Open();  // fetched again
  EXPECT_EQ(server->fetches, 2);
  EXPECT_EQ(ds->RecordCount(), 3);
}

TEST_F(ClientDataSetTest, OpeningWithoutProviderOrWithABadPacketFailsAndStaysClosed) {
  struct Case {
    const char* what;
    std::function<void()> arrange;
    std::string error;
  };
  const Case cases[] = {
      {"no provider", [&] { ds->SetProviderName(""); },
       "EDatabaseError: ClientDataSet1: Missing data provider or data packet"},
      {"no connection", [&] { ds->SetRemoteServer(nullptr); },
       "EDatabaseError: ClientDataSet1: Missing data provider or data packet"},
      {"unknown server", [&] { connection->SetServerName("Test.Nobody"); },
       "EOleSysError: Invalid class string"},
      {"bad packet",
       [&] {
         server->packet.rows.push_back({"too", "short"});
       },
       "EDatabaseError: ClientDataSet1: Invalid data packet"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    c.arrange();
    EXPECT_EQ(ErrorOf([&] { ds->Open(); }), c.error);
    EXPECT_FALSE(ds->Active());
    EXPECT_EQ(ds->FieldCount(), 0);
  }
}

TEST_F(ClientDataSetTest, IndexFieldNamesSortIgnoringCaseAndKeepTheCurrentRecord) {
  ds->Open();
  ds->Last();  // gamma
  ds->SetIndexFieldNames("CREATOR;NCONDITION");
  EXPECT_EQ(Current(), "gamma");
  EXPECT_EQ(ds->RecNo(), 4);
  EXPECT_EQ(Column("NCONDITION"), "Alpha alpha beta gamma ");  // equal keys keep their order
  EXPECT_EQ(ErrorOf([&] { ds->SetIndexFieldNames("NOPE"); }),
            "EDatabaseError: ClientDataSet1: Field 'NOPE' not found");
  EXPECT_EQ(ds->IndexFieldNames(), "CREATOR;NCONDITION");

  ds->First();
  ds->Edit();
  ds->FieldByName("NCONDITION")->SetAsString("zeta");
  ds->Post();  // the record moves to its place and stays current
  EXPECT_EQ(Current(), "zeta");
  EXPECT_EQ(ds->RecNo(), 3);
  ds->SetIndexFieldNames("");
  EXPECT_EQ(Column("NCONDITION"), "beta zeta alpha gamma ");
}

TEST_F(ClientDataSetTest, AnIndexDefinitionIsExactUnlessCaseInsensitiveAndMayDescend) {
  ds->IndexDefs()->Add("Index1", "NCONDITION;CREATOR;PROGRAMME");
  ds->IndexDefs()->Add("ByDate", "CREATE_DATE", ixDescending);
  ds->IndexDefs()->Add("Loose", "NCONDITION", ixCaseInsensitive);
  ds->SetIndexName("Index1");
  ds->Open();
  EXPECT_EQ(Column("NCONDITION"), "Alpha alpha beta gamma ");  // by bytes: upper case first
  struct Case {
    std::vector<Variant> key;
    bool found;
    const char* vcondition;  // of the record then current
  };
  const Case cases[] = {
      {{"alpha", "u1", "MVAR52"}, true, "a"},
      {{"Alpha", "u1", "MVAR52"}, true, "A"},
      {{"ALPHA", "u1", "MVAR52"}, false, "g"},
      {{"gamma"}, true, "g"},
      {{"beta", "u2"}, false, "g"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key[0].asString());
    ds->Last();
    EXPECT_EQ(ds->FindKey(c.key), c.found);
    EXPECT_EQ(ds->FieldByName("VCONDITION")->AsString(), c.vcondition);
  }
  EXPECT_EQ(ErrorOf([&] {
              ds->FindKey({"a", "b", "c", "d"});
            }),
            "EDatabaseError: ClientDataSet1: More key values than index fields");

  ds->SetIndexName("ByDate");
  EXPECT_EQ(Column("CREATE_DATE"), "20240104 20240103 20240102 20240101 ");
  ds->SetIndexName("Loose");
  EXPECT_TRUE(ds->FindKey({"ALPHA"}));
  EXPECT_EQ(ds->FieldByName("VCONDITION")->AsString(), "A");
  EXPECT_EQ(ErrorOf([&] { ds->SetIndexName("Index9"); }),
            "EDatabaseError: ClientDataSet1: Index 'Index9' not found");
  ds->SetIndexName("");
  EXPECT_EQ(ErrorOf([&] { ds->FindKey({"beta"}); }),
            "EDatabaseError: ClientDataSet1: No index currently active");
}

TEST_F(ClientDataSetTest, FindNearestStopsAtTheFirstRecordNotBeforeTheKey) {
  ds->SetIndexFieldNames("NCONDITION");
  ds->Open();
  const std::pair<const char*, const char*> cases[] = {
      {"b", "beta"}, {"ALPHA", "Alpha"}, {"c", "gamma"}, {"zz", "gamma"}, {"", "Alpha"}};
  for (const auto& [key, expected] : cases) {
    SCOPED_TRACE(key);
    ds->FindNearest({key});
    EXPECT_EQ(Current(), expected);
  }
}

TEST_F(ClientDataSetTest, ApplyUpdatesSendsTheChangesInTheOrderMadeAndKeepsTheFailedOnes) {
  ds->Open();
  EXPECT_EQ(ds->ApplyUpdates(-1), 0);  // nothing to send: no call
  EXPECT_TRUE(server->provider.empty());

  ds->Locate("NCONDITION", "gamma");
  ds->Delete();
  ds->First();
  ds->Edit();
  ds->FieldByName("VCONDITION")->SetAsString("b1");
  ds->Post();
  ds->Edit();
  ds->FieldByName("VCONDITION")->SetAsString("b2");  // the same record again: one change
  ds->Post();
  ds->Append();
  ds->FieldByName("NCONDITION")->SetAsString("delta");
  ds->Post();
  ds->Append();
  ds->FieldByName("NCONDITION")->SetAsString("gone");
  ds->Post();
  ds->Delete();  // inserted and deleted: no change at all
  EXPECT_EQ(ds->ChangeCount(), 3);

  server->failures = {{2, "locked"}};
  EXPECT_EQ(ds->ApplyUpdates(-1), 1);
  EXPECT_EQ(server->provider, "pvdConSave");
  EXPECT_EQ(server->maxErrors, -1);
  ASSERT_TRUE(server->deltaValid);
  ASSERT_EQ(server->delta.fields.size(), 5u);
  ASSERT_EQ(server->delta.changes.size(), 3u);
  const DeltaChange& deleted = server->delta.changes[0];
  EXPECT_EQ(deleted.kind, TUpdateKind::ukDelete);
  EXPECT_EQ(deleted.oldValues[0], Variant("gamma"));
  EXPECT_TRUE(deleted.newValues.empty());
  const DeltaChange& modified = server->delta.changes[1];
  EXPECT_EQ(modified.kind, TUpdateKind::ukModify);
  EXPECT_EQ(modified.oldValues[3], Variant("b"));
  EXPECT_EQ(modified.newValues[3], Variant("b2"));
  const DeltaChange& inserted = server->delta.changes[2];
  EXPECT_EQ(inserted.kind, TUpdateKind::ukInsert);
  EXPECT_TRUE(inserted.oldValues.empty());
  EXPECT_EQ(inserted.newValues[0], Variant("delta"));
  EXPECT_TRUE(inserted.newValues[1].isNull());

  EXPECT_EQ(ds->ChangeCount(), 1);  // only the failed modification stays
  server->failures.clear();
  EXPECT_EQ(ds->ApplyUpdates(0), 0);
  ASSERT_EQ(server->delta.changes.size(), 1u);
  EXPECT_EQ(server->delta.changes[0].kind, TUpdateKind::ukModify);
  EXPECT_EQ(server->delta.changes[0].oldValues[3], Variant("b"));
  EXPECT_EQ(ds->ChangeCount(), 0);
}

TEST_F(ClientDataSetTest, TooManyFailuresKeepTheWholeLog) {
  ds->Open();
  ds->First();
  ds->Delete();
  ds->Delete();
  server->failures = {{1, "no"}, {2, "no"}};
  EXPECT_EQ(ds->ApplyUpdates(1), 2);
  EXPECT_EQ(ds->ChangeCount(), 2);
  server->failures = {{1, "no"}};
  EXPECT_EQ(ds->ApplyUpdates(1), 1);
  EXPECT_EQ(ds->ChangeCount(), 1);
}

TEST_F(ClientDataSetTest, DataMovesRecordsBetweenDataSetsWithoutAProvider) {
  ds->Open();
  ds->Edit();
  ds->FieldByName("NCONDITION")->SetAsString("changed");
  ds->Post();
  Owned<TClientDataSet> copy(new TClientDataSet(nullptr));
  copy->SetData(ds->Data());
  EXPECT_EQ(copy->RecordCount(), 4);
  EXPECT_EQ(copy->FieldByName("NCONDITION")->AsString(), "changed");
  EXPECT_EQ(copy->ChangeCount(), 0);
  copy->SetData(Variant());
  EXPECT_FALSE(copy->Active());
  EXPECT_TRUE(copy->Data().isNull());
}

TEST_F(ClientDataSetTest, CreateDataSetNeedsFieldDefinitionsOrFields) {
  Owned<TClientDataSet> empty(new TClientDataSet(nullptr));
  EXPECT_EQ(ErrorOf([&] { empty->CreateDataSet(); }),
            "EDatabaseError: No fields defined: cannot create the dataset");
  empty->FieldDefs()->Add("A", TFieldType::ftInteger);
  empty->CreateDataSet();
  EXPECT_TRUE(empty->Active());
  EXPECT_TRUE(empty->IsEmpty());
  EXPECT_EQ(ErrorOf([&] { empty->CreateDataSet(); }),
            "EDatabaseError: Cannot perform this operation on an open dataset");
}

// Packets from outside are checked before any of their rows is taken.
TEST(DataPacketTest, DecodingRefusesWhatIsNoPacket) {
  const Variant good = EncodeDataPacket(SchemePacket());
  DataPacket decoded;
  ASSERT_TRUE(DecodeDataPacket(good, decoded));
  EXPECT_EQ(decoded.fields[0].name, "NCONDITION");
  EXPECT_EQ(decoded.rows[1][0], Variant("Alpha"));
  const auto field = [](Variant name, Variant type, Variant size) {
    return VarArrayOf({name, type, size});
  };
  const auto packet = [](Variant fields, std::vector<Variant> rows = {}) {
    Variant result = VarArrayCreate({0, static_cast<int>(rows.size())});
    result[0] = fields;
    for (std::size_t i = 0; i < rows.size(); ++i)
      result[static_cast<int>(i) + 1] = rows[i];
    return result;
  };
  const Variant idField = field("ID", 3, 0);
  struct Case {
    const char* what;
    Variant value;
    bool valid;
  };
  const Case cases[] = {
      {"fields alone", packet(VarArrayOf({idField})), true},
      {"wide texts and numbers as text", packet(VarArrayOf({idField}), {VarArrayOf({u"12"})}),
       true},
      {"empty", Variant(), false},
      {"a text", Variant("packet"), false},
      {"empty array", VarArrayCreate({0, -1}), false},
      {"two dimensions", VarArrayCreate({0, 1, 0, 1}), false},
      {"unknown type", packet(VarArrayOf({field("ID", 99, 0)})), false},
      {"type zero", packet(VarArrayOf({field("ID", 0, 0)})), false},
      {"negative size", packet(VarArrayOf({field("ID", 1, -1)})), false},
      {"no name", packet(VarArrayOf({field("", 1, 0)})), false},
      {"name twice", packet(VarArrayOf({idField, field("id", 1, 0)})), false},
      {"short description", packet(VarArrayOf({VarArrayOf({"ID", 3})})), false},
      {"row too short", packet(VarArrayOf({idField}), {VarArrayCreate({0, -1})}), false},
      {"row not an array", packet(VarArrayOf({idField}), {Variant(1)}), false},
      {"value does not fit", packet(VarArrayOf({idField}), {VarArrayOf({"x"})}), false},
      {"value is an array", packet(VarArrayOf({idField}), {VarArrayOf({VarArrayOf({1})})}), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(DecodeDataPacket(c.value, decoded), c.valid);
  }
}

TEST(DataPacketTest, DeltasAndApplyResultsRoundTripAndRefuseBadInput) {
  Delta delta;
  delta.fields = {{"ID", TFieldType::ftInteger, 0, true}};
  delta.changes = {{TUpdateKind::ukModify, {Variant(1)}, {Variant(2)}},
                   {TUpdateKind::ukInsert, {}, {Variant(3)}},
                   {TUpdateKind::ukDelete, {Variant(4)}, {}}};
  Delta back;
  ASSERT_TRUE(DecodeDelta(EncodeDelta(delta), back));
  ASSERT_EQ(back.changes.size(), 3u);
  EXPECT_TRUE(back.fields[0].required);
  EXPECT_EQ(back.changes[0].newValues[0], Variant(2));
  EXPECT_TRUE(back.changes[1].oldValues.empty());
  EXPECT_TRUE(back.changes[2].newValues.empty());

  Variant badKind = EncodeDelta(delta);
  badKind[1][0] = 3;
  EXPECT_FALSE(DecodeDelta(badKind, back));
  Variant insertWithoutRow = EncodeDelta(delta);
  insertWithoutRow[2][2] = Variant::Null();
  EXPECT_FALSE(DecodeDelta(insertWithoutRow, back));

  std::vector<ApplyError> errors;
  EXPECT_TRUE(DecodeApplyErrors(Variant::Null(), errors));
  EXPECT_TRUE(errors.empty());
  ASSERT_TRUE(DecodeApplyErrors(EncodeApplyErrors({{2, "locked"}}), errors));
  EXPECT_EQ(errors[0].change, 2);
  EXPECT_EQ(errors[0].message, "locked");
  EXPECT_FALSE(DecodeApplyErrors(VarArrayOf({VarArrayOf({0, "x"})}), errors));
  EXPECT_FALSE(DecodeApplyErrors(Variant("x"), errors));
}

// Connections.
struct ConnectionLog {
  void Note(TObject*) { log += "+"; }
  std::string log;
};

TEST(ConnectionTest, ASocketConnectionNeedsAnInstalledTransport) {
  Owned<TSocketConnection> connection(new TSocketConnection(nullptr));
  connection->SetName("MainMidas");
  EXPECT_EQ(ErrorOf([&] { connection->Open(); }),
            "Exception: Cannot connect, MainMidas must contain a valid ServerName or ServerGUID");
  connection->SetServerName("ReportCounterS.dmReportCounter");
  EXPECT_EQ(ErrorOf([&] { connection->Open(); }),
            "ESocketConnectionError: Cannot connect, MainMidas has no Address or Host");
  connection->SetAddress("10.0.0.5");
  connection->SetPort(212);
  EXPECT_EQ(ErrorOf([&] { connection->Open(); }),
            "ESocketConnectionError: Cannot connect to 10.0.0.5:212: no socket transport is "
            "installed");
  EXPECT_FALSE(connection->Connected());

  auto server = std::make_shared<FakeAppServer>();
  std::string reached;
  SocketTransport previous = SetSocketTransport([&](const TSocketConnection& c) {
    reached = c.Address() + ":" + std::to_string(c.Port()) + "/" + c.ServerName();
    return Variant(DispatchPtr(server));
  });
  ConnectionLog events;
  connection->BeforeConnect = MakeMethod<&ConnectionLog::Note>(&events);
  connection->AfterDisconnect = MakeMethod<&ConnectionLog::Note>(&events);
  EXPECT_EQ(connection->GetServer().asObject(), server);
  EXPECT_EQ(reached, "10.0.0.5:212/ReportCounterS.dmReportCounter");
  connection->Close();
  EXPECT_TRUE(connection->AppServer().isEmpty());
  EXPECT_EQ(events.log, "++");
  SetSocketTransport(previous);
}

TEST(ConnectionTest, AServerObjectMadeElsewhereConnects) {
  Owned<TSocketConnection> connection(new TSocketConnection(nullptr));
  connection->SetAppServer(Variant(DispatchPtr(std::make_shared<FakeAppServer>())));
  EXPECT_TRUE(connection->Connected());
  EXPECT_EQ(connection->Port(), 211);
}

TEST(ConnectionTest, FormResourcesDeclareConnectionsAndDataSets) {
  Owned<TComponent> dataSet = CreateComponentFromResource(R"(
object ClientDataSet1: TClientDataSet
  ProviderName = 'pvdConSave'
  IndexDefs = <
    item
      Name = 'Index1'
      Fields = 'NCONDITION;CREATOR;PROGRAMME'
      Options = [ixCaseInsensitive]
    end>
  IndexName = 'Index1'
  FieldDefs = <
    item
      Name = 'NCONDITION'
      DataType = ftString
      Size = 20
    end>
end)",
                                                          nullptr);
  auto* cds = static_cast<TClientDataSet*>(dataSet.get());
  EXPECT_EQ(cds->ProviderName(), "pvdConSave");
  ASSERT_EQ(cds->IndexDefs()->Count(), 1);
  EXPECT_EQ(cds->IndexDefs()->Items(0)->Options(), ixCaseInsensitive);
  EXPECT_EQ(cds->FieldDefs()->Items(0)->DataType(), TFieldType::ftString);

  Owned<TComponent> connection = CreateComponentFromResource(R"(
object MainMidas: TSocketConnection
  ServerName = 'ReportCounterS.dmReportCounter'
  SupportCallbacks = False
  Address = '127.0.0.1'
end)",
                                                             nullptr);
  auto* socket = static_cast<TSocketConnection*>(connection.get());
  EXPECT_FALSE(socket->SupportCallbacks());
  EXPECT_EQ(socket->Address(), "127.0.0.1");
}

TEST(ConnectionTest, ADCOMConnectionCreatesItsServerByIdentifier) {
  auto server = std::make_shared<FakeAppServer>();
  RegisterOleClass("Test.Local", [&] { return server; });
  Owned<TDCOMConnection> connection(new TDCOMConnection(nullptr));
  connection->SetServerName("Test.Local");
  connection->SetConnected(true);
  EXPECT_EQ(connection->AppServer().asObject(), server);
  UnregisterOleClass("Test.Local");
}

}  // namespace
}  // namespace ox
