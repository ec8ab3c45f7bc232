// The server object's methods and its scheme provider, reached the two ways the plug-in
// reaches them: created in process by its identifier, and through a socket connection
// to the daemon.
#include <gtest/gtest.h>

#include <algorithm>

#include "net/SocketTransport.h"
#include "outside/appserver/ReportCounter.h"
#include "platform/CodePage.h"
#include "tests/appserver/ServerHarness.h"
#include "tests/net/ExpectIdentical.h"
#include "tests/support/TestMachine.h"
#include "ui/ClientDataSet.h"

namespace ox::appserver {
namespace {

using ox::test::ExpectIdentical;
using test::SampleJob;
using test::ServerHarness;

enum class Path { InProcess, Remote };

class ReportCounterTest : public ::testing::TestWithParam<Path> {
 protected:
  void SetUp() override {
    if (GetParam() == Path::InProcess) {
      RegisterReportCounterClass(harness.database());
      connection.reset(new TDCOMConnection(nullptr));
    } else {
      previous = net::InstallSocketTransport();
      auto* socket = new TSocketConnection(nullptr);
      socket->SetAddress("127.0.0.1");
      socket->SetPort(harness.StartDaemon());
      connection.reset(socket);
    }
    connection->SetServerName(std::string(kReportCounterProgId));
    server = connection->GetServer();
    schemes->SetRemoteServer(connection.get());
    schemes->SetProviderName("pvdConSave");
  }
  void TearDown() override {
    server = Variant();
    schemes.reset();
    connection.reset();
    if (GetParam() == Path::InProcess)
      UnregisterOleClass(kReportCounterProgId);
    else
      SetSocketTransport(previous);
  }

  std::string Call(std::string_view method, std::initializer_list<OleArg> args) {
    return OleCall(server, method, args).asString();
  }
  std::string Insert(const char* name, const char* user, const char* program, const char* value,
                     const Variant& replace) {
    Variant args = VarArrayOf({name, user, "20240305", program, "ed01,chk03", value, replace});
    return Call("InsertConTable", {ByRef(args)});
  }
  // The names the provider serves after LoadTable for the user and program.
  std::string Listed(const char* user, const char* program) {
    Variant key = VarArrayOf({user, program});
    OleCall(server, "LoadTable", {ByRef(key)});
    schemes->Close();
    schemes->Open();
    std::string names;
    for (schemes->First(); !schemes->Eof(); schemes->Next())
      names += schemes->FieldByName("NCONDITION")->AsString() + "/" +
               schemes->FieldByName("VCONDITION")->AsString() + " ";
    return names;
  }

  ox::test::TestMachine machine;
  ServerHarness harness{machine.driveC().path() / "server.db"};
  SocketTransport previous;
  Owned<TDispatchConnection> connection;
  Owned<TClientDataSet> schemes{new TClientDataSet(nullptr)};
  Variant server;
};

TEST_P(ReportCounterTest, RequestStoresTheWholeJobUnderADistinctNumber) {
  const Variant job = SampleJob(u"202402", 2, 45400.75);
  const std::string first = Call("Request", {job});
  const std::string second = Call("Request", {SampleJob()});
  EXPECT_NE(first, second);
  EXPECT_EQ(first.substr(0, 8), "20240305");

  const std::optional<JobRecord> stored = harness.store().FindEntry(first);
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->kind, EntryKind::Job);
  EXPECT_EQ(stored->program, "MVAR52");
  EXPECT_EQ(stored->user, "tester");
  EXPECT_EQ(stored->company, "C01");
  EXPECT_EQ(stored->runMode, 2);
  EXPECT_EQ(stored->moment, 45400.75);
  EXPECT_EQ(stored->status, kQueued);
  EXPECT_FALSE(stored->periodic);
  ExpectIdentical(stored->job, job);
}

TEST_P(ReportCounterTest, RequestAnswersErrorAndErrorDescriptTellsWhy) {
  Variant shortHeader = SampleJob();
  shortHeader[0] = VarArrayOf({u"MVAR52"});
  Variant fourParts = SampleJob();
  VarArrayRedim(fourParts, 3);
  const struct {
    const char* name;
    Variant job;
  } cases[] = {{"no array", u"job"},
               {"header too short", shortHeader},
               {"four parts", fourParts},
               {"empty", Variant()}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Call("Request", {c.job}), "ERROR");
    EXPECT_FALSE(Call("ErrorDescript", {}).empty());
  }
  EXPECT_TRUE(harness.store().Entries().empty());
}

TEST_P(ReportCounterTest, RequestNumbersTakeTheirStatusBack) {
  Variant number = Call("Request1", {SampleJob(), "PC-07"});
  ASSERT_NE(number.asString(), "ERROR");
  OleCall(server, "UpdateStatus1",
          {ByRef(number), VarArrayOf({u"报表完成", "rows: 12"}), Variant::FromDate(45356.25)});
  const std::optional<JobRecord> stored = harness.store().FindEntry(number.asString());
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->kind, EntryKind::Request);
  EXPECT_EQ(stored->computer, "PC-07");
  EXPECT_EQ(stored->status, kReported);
  EXPECT_EQ(stored->message, "报表完成\nrows: 12");
  // A request is run by the client, never by the queue.
  EXPECT_TRUE(harness.store().DueJobs(1e6, {kRequested, kReported}).empty());

  Variant unknown = "19990101000001";
  OleCall(server, "UpdateStatus1", {ByRef(unknown), "x", Variant::FromDate(1)});
  EXPECT_NE(Call("ErrorDescript", {}).find("19990101000001"), std::string::npos);
}

TEST_P(ReportCounterTest, PowerGrantsEveryRightAndSqlTypeIsAnInteger) {
  const Variant reply =
      OleCall(server, "GetPower", {VarArrayOf({"ERPDB", "tester", "MVAR52", ""})});
  ASSERT_EQ(VarArrayLowBound(reply, 1), 1);
  ASSERT_EQ(VarArrayHighBound(reply, 1), 5);
  EXPECT_EQ(reply[1].asString(), "tester,Y,Y,YYYYYYYY,,");
  EXPECT_EQ(reply[5][0].asInteger(), 0);
  EXPECT_EQ(OleCall(server, "SQLType").type(), varInteger);
}

TEST_P(ReportCounterTest, SavingFollowsTheReplaceFlag) {
  const std::string exists = Gb("此方案名称已经存在！");
  EXPECT_EQ(Insert("月报", "u1", "MVAR52", "v1", false), "");
  EXPECT_EQ(Insert("月报", "u1", "MVAR52", "v2", false), exists);
  EXPECT_EQ(Insert("月报", "u1", "MVAR52", "v3", "N"), exists);
  EXPECT_EQ(Listed("u1", "MVAR52"), "月报/v1 ");
  EXPECT_EQ(Insert("月报", "u1", "MVAR52", "v4", true), "");
  EXPECT_EQ(Insert("月报", "u1", "MVAR52", "v5", "Y"), "");
  EXPECT_EQ(Listed("u1", "MVAR52"), "月报/v5 ");
  EXPECT_EQ(Insert(" ", "u1", "MVAR52", "v", true), Gb("方案名不可空白!"));
}

TEST_P(ReportCounterTest, ProviderServesOnlyTheLoadedUsersSchemesOfTheProgram) {
  schemes->Open();
  EXPECT_EQ(schemes->RecordCount(), 0);  // nothing before LoadTable
  const char* rows[][3] = {
      {"b", "u1", "MVAR52"}, {"a", "u1", "MVAR52"}, {"c", "u2", "MVAR52"}, {"d", "u1", "MVAR53"}};
  for (const auto& row : rows)
    ASSERT_EQ(Insert(row[0], row[1], row[2], row[0], false), "");
  EXPECT_EQ(Listed("u1", "MVAR52"), "a/a b/b ");
  EXPECT_EQ(Listed("u2", "MVAR52"), "c/c ");
  EXPECT_EQ(Listed("u3", "MVAR52"), "");
  for (const char* field :
       {"NCONDITION", "CREATOR", "PROGRAMME", "SCONDITION", "VCONDITION", "CREATE_DATE"})
    EXPECT_NE(schemes->FindField(field), nullptr) << field;
}

TEST_P(ReportCounterTest, DeleteAndRenameAnswerAnErrorTextOnFailure) {
  ASSERT_EQ(Insert("a", "u1", "MVAR52", "1", false), "");
  ASSERT_EQ(Insert("b", "u1", "MVAR52", "2", false), "");
  const auto rename = [&](const char* from, const char* to, const char* toUser) {
    Variant oldKey = VarArrayOf({from, "u1", "MVAR52"});
    Variant newKey = VarArrayOf({to, toUser, "MVAR52"});
    return Call("ChangeConName", {ByRef(oldKey), ByRef(newKey)});
  };
  const auto remove = [&](const char* name, const char* user) {
    Variant key = VarArrayOf({name, user, "MVAR52"});
    return Call("DeleteConTable", {ByRef(key)});
  };
  const struct {
    const char* name;
    std::function<std::string()> call;
    bool fails;
  } cases[] = {
      {"rename to a taken name", [&] { return rename("a", "b", "u1"); }, true},
      {"rename a missing scheme", [&] { return rename("x", "y", "u1"); }, true},
      {"rename into another user", [&] { return rename("a", "z", "u2"); }, true},
      {"delete another user's scheme", [&] { return remove("a", "u2"); }, true},
      {"rename differing in case only", [&] { return rename("a", "B", "u1"); }, false},
      {"delete", [&] { return remove("b", "u1"); }, false},
      {"delete twice", [&] { return remove("b", "u1"); }, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(!c.call().empty(), c.fails);
  }
  EXPECT_EQ(Listed("u1", "MVAR52"), "B/1 ");
}

TEST_P(ReportCounterTest, AppliedUpdatesReachOnlyTheLoadedUsersRows) {
  ASSERT_EQ(Insert("a", "u1", "MVAR52", "1", false), "");
  ASSERT_EQ(Listed("u1", "MVAR52"), "a/1 ");
  schemes->Edit();
  schemes->FieldByName("NCONDITION")->SetAsString("renamed");
  schemes->Post();
  schemes->Append();
  schemes->FieldByName("NCONDITION")->SetAsString("theirs");
  schemes->FieldByName("CREATOR")->SetAsString("u2");
  schemes->FieldByName("PROGRAMME")->SetAsString("MVAR52");
  schemes->Post();
  EXPECT_EQ(schemes->ApplyUpdates(-1), 1);  // the row of u2 is refused
  EXPECT_EQ(Listed("u1", "MVAR52"), "renamed/1 ");
  EXPECT_EQ(Listed("u2", "MVAR52"), "");
}

TEST_P(ReportCounterTest, UnknownMembersAndProvidersRaise) {
  EXPECT_THROW(OleCall(server, "Nothing"), EOleError);
  schemes->SetProviderName("pvdOther");
  try {
    schemes->Open();
    ADD_FAILURE() << "opened an unknown provider";
  } catch (const Exception& error) {
    EXPECT_NE(error.Message().find("pvdOther"), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(BothPaths, ReportCounterTest,
                         ::testing::Values(Path::InProcess, Path::Remote), [](const auto& param) {
                           return param.param == Path::InProcess ? "InProcess" : "Remote";
                         });

}  // namespace
}  // namespace ox::appserver
