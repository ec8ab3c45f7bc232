// The operator's command line and the server's configuration file.
#include <gtest/gtest.h>

#include <sstream>

#include "outside/appserver/Cli.h"
#include "outside/appserver/ServerConfig.h"
#include "tests/appserver/ServerHarness.h"
#include "tests/support/TestMachine.h"

namespace ox::appserver {
namespace {

class CliTest : public ::testing::Test {
 protected:
  struct Result {
    int code;
    std::string out, err;
  };
  Result Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--db", db.string()});
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
  }

  ox::test::TestMachine machine;
  std::filesystem::path db = machine.driveC().path() / "cli.db";
};

TEST_F(CliTest, ListsAndShowsWhatTheServerHolds) {
  std::string number;
  {
    ServerStore store(db);
    JobRecord e;
    e.program = "MVAR52";
    e.user = "tester";
    e.created = e.moment = Now();
    e.status = kQueued;
    e.job = test::SampleJob(u"月份");
    number = store.AddEntry(e).number;
    store.SaveScheme({"s1", "tester", "MVAR52", "ed01", "v", "20240305"}, false);
  }
  const Result jobs = Run({"jobs"});
  EXPECT_EQ(jobs.code, 0);
  EXPECT_NE(jobs.out.find(number + "  job  MVAR52  tester  mode 0"), std::string::npos) << jobs.out;

  const Result job = Run({"job", number});
  EXPECT_EQ(job.code, 0);
  for (const char* line :
       {"variant array [0..2]\n", "  [0] array [1..14]\n", "    [1] wide \"MVAR52\"\n",
        "    [7] date 2024-03-05 10:20:30\n", "  [2] array [1..8]\n", "    [1] wide \"月份\"\n",
        "      [1] wide \"WO001\"\n"})
    EXPECT_NE(job.out.find(line), std::string::npos) << line << job.out;

  EXPECT_EQ(Run({"schemes"}).out, "tester  MVAR52  s1  20240305\n");
  EXPECT_EQ(Run({"run-due"}).out, "1 due jobs taken\n");
  EXPECT_NE(Run({"jobs"}).out.find(std::string(kRunnable)), std::string::npos);
}

TEST_F(CliTest, MistakesAnswerANonZeroCode) {
  const struct {
    const char* name;
    std::vector<std::string> args;
    int code;
  } cases[] = {{"no command", {}, 2},
               {"unknown command", {"frobnicate"}, 2},
               {"job without number", {"job"}, 2},
               {"unknown job", {"job", "20240305999999"}, 1},
               {"bad port", {"--port", "70000", "jobs"}, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Result r = Run(c.args);
    EXPECT_EQ(r.code, c.code);
    EXPECT_FALSE(r.err.empty());
  }
}

TEST(ServerConfigTest, KeysOverrideDefaultsAndBadNumbersAreIgnored) {
  const ox::test::TempDir dir;
  const auto file = dir.Write("conf/appserver.ini",
                              "[AppServer]\nDatabase=data/jobs.db\nListenAddress=0.0.0.0\n"
                              "Port=3211\nMaxFrameBytes=65536\nMaxConnections=x\nSQLType=2\n");
  const ServerConfig config = ReadServerConfig(file);
  EXPECT_EQ(config.database, dir.path() / "conf/data/jobs.db");
  EXPECT_EQ(config.daemon.address, "0.0.0.0");
  EXPECT_EQ(config.daemon.port, 3211);
  EXPECT_EQ(config.daemon.maxFrame, 65536u);
  EXPECT_EQ(config.daemon.maxConnections, DaemonOptions().maxConnections);
  EXPECT_EQ(config.sqlType, 2);

  const ServerConfig missing = ReadServerConfig(dir.path() / "none.ini");
  EXPECT_EQ(missing.daemon.address, "127.0.0.1");
  EXPECT_EQ(missing.daemon.port, 211);
}

}  // namespace
}  // namespace ox::appserver
