// The store file: its schema, what survives reopening, scheme keys and job states.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "outside/appserver/ServerStore.h"
#include "tests/appserver/ServerHarness.h"
#include "tests/net/ExpectIdentical.h"
#include "tests/support/TestMachine.h"

namespace ox::appserver {
namespace {

class ServerStoreTest : public ::testing::Test {
 protected:
  std::unique_ptr<ServerStore> Open() { return std::make_unique<ServerStore>(file); }
  JobRecord Entry(EntryKind kind, const std::u16string& marker) {
    JobRecord e;
    e.kind = kind;
    e.program = "MVAR52";
    e.user = "张三";
    e.created = 45356.5;
    e.moment = 45356.75;
    e.status = kind == EntryKind::Job ? kQueued : kRequested;
    e.job = test::SampleJob(marker);
    return e;
  }

  ox::test::TestMachine machine;
  std::filesystem::path file = machine.driveC().path() / "store.db";
};

TEST_F(ServerStoreTest, EverythingSurvivesReopening) {
  JobRecord job;
  {
    auto store = Open();
    job = store->AddEntry(Entry(EntryKind::Job, u"a"));
    store->AddEntry(Entry(EntryKind::Request, u"b"));
    ASSERT_TRUE(store->SaveScheme(
        {"\xd4\xc2\xb1\xa8", "u1", "MVAR52", "ed01", "\x01v\x03", "20240305"}, false));
  }
  auto store = Open();
  const std::vector<JobRecord> entries = store->Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].number, "20240305000001");
  EXPECT_EQ(entries[1].number, "20240305000002");
  EXPECT_EQ(entries[1].kind, EntryKind::Request);
  EXPECT_EQ(entries[0].user, "张三");
  EXPECT_EQ(entries[0].moment, 45356.75);
  ox::test::ExpectIdentical(entries[0].job, job.job);
  const std::vector<SchemeRow> schemes = store->Schemes("u1", "MVAR52");
  ASSERT_EQ(schemes.size(), 1u);
  EXPECT_EQ(schemes[0].name, "\xd4\xc2\xb1\xa8");
  EXPECT_EQ(schemes[0].values, "\x01v\x03");
}

TEST_F(ServerStoreTest, ASchemaOfAnotherVersionIsRefused) {
  Open();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "UPDATE schema_version SET version = 2", nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  EXPECT_THROW(Open(), EStoreError);
}

TEST_F(ServerStoreTest, SchemeKeysAreExactAndRenamesKeepThemUnique) {
  auto store = Open();
  ASSERT_TRUE(store->SaveScheme({"a", "u1", "P", "c", "1", "20240101"}, false));
  ASSERT_TRUE(store->SaveScheme({"A", "u1", "P", "c", "2", "20240101"}, false));  // case differs
  ASSERT_TRUE(store->SaveScheme({"a", "u2", "P", "c", "3", "20240101"}, false));
  EXPECT_FALSE(store->UpdateScheme({"a", "u1", "P"}, {"A", "u1", "P", "c", "1", "20240101"}));
  EXPECT_FALSE(store->UpdateScheme({"x", "u1", "P"}, {"y", "u1", "P", "c", "1", "20240101"}));
  EXPECT_TRUE(store->UpdateScheme({"a", "u1", "P"}, {"b", "u1", "P", "c", "9", "20240102"}));
  EXPECT_FALSE(store->DeleteScheme({"a", "u1", "P"}));
  EXPECT_TRUE(store->DeleteScheme({"a", "u2", "P"}));
  std::string left;
  for (const SchemeRow& r : store->AllSchemes())
    left += r.name + r.creator + r.values + " ";
  EXPECT_EQ(left, "Au12 bu19 ");
}

TEST_F(ServerStoreTest, AJobIsTakenFromAStateOnlyOnce) {
  auto store = Open();
  const JobRecord job = store->AddEntry(Entry(EntryKind::Job, u"a"));
  const JobRecord request = store->AddEntry(Entry(EntryKind::Request, u"b"));
  EXPECT_EQ(store->DueJobs(45356.74, {kQueued}).size(), 0u);
  ASSERT_EQ(store->DueJobs(45356.75, {kQueued, kRequested}).size(), 1u);
  EXPECT_TRUE(store->MoveState(job.id, kQueued, kRunning));
  EXPECT_FALSE(store->MoveState(job.id, kQueued, kRunning));
  EXPECT_FALSE(store->MoveState(request.id, kQueued, kRunning));
  EXPECT_TRUE(store->DueJobs(45357, {kQueued}).empty());
}

}  // namespace
}  // namespace ox::appserver
