// The queue's worker and the later runs of periodic jobs.
#include <gtest/gtest.h>

#include <future>

#include "outside/appserver/JobQueue.h"
#include "outside/appserver/PeriodicSchedule.h"
#include "platform/DateTime.h"
#include "tests/appserver/ServerHarness.h"
#include "tests/support/TestMachine.h"

namespace ox::appserver {
namespace {

using test::SampleJob;

TDateTime At(int y, int m, int d, int hh = 0, int mm = 0) {
  return EncodeDate(y, m, d) + EncodeTime(hh, mm, 0, 0);
}

std::string Shown(std::optional<TDateTime> t) {
  return t ? FormatDateTime("yyyymmdd hh:nn", *t) : "none";
}

// The period array [ "Y", time, pattern, range ] as the client builds it.
Variant Period(const Variant& pattern, const Variant& range = VarArrayOf({u"20240101", 0})) {
  return VarArrayOf({u"Y", u"08:05", pattern, range});
}

TEST(PeriodicScheduleTest, NextRunFollowsTheCycleAndTheRange) {
  const Variant daily3 = VarArrayOf({0, u"3"});
  const Variant weeklyTuesday = VarArrayOf({1, VarArrayOf({u"1", 2})});
  const Variant fortnightlyMonday = VarArrayOf({1, VarArrayOf({u"2", 1})});
  const Variant monthly31 = VarArrayOf({2, VarArrayOf({0, u"1", u"31"})});
  const Variant everyTwoMonthsFirstMonday = VarArrayOf({2, VarArrayOf({1, u"2", 0, 1})});
  const Variant lastFriday = VarArrayOf({2, VarArrayOf({1, u"1", 4, 5})});
  const struct {
    const char* name;
    Variant period;
    TDateTime last;
    int runsDone;
    const char* next;
  } cases[] = {
      {"every 3 days", Period(daily3), At(2024, 3, 5, 8, 5), 1, "20240308 08:05"},
      {"weekly on Tuesday from a Tuesday", Period(weeklyTuesday), At(2024, 3, 5, 8, 5), 1,
       "20240312 08:05"},
      {"every 2 weeks on Monday", Period(fortnightlyMonday), At(2024, 3, 4, 8, 5), 1,
       "20240318 08:05"},
      {"day 31 into February", Period(monthly31), At(2024, 1, 31, 8, 5), 1, "20240229 08:05"},
      {"day 31 back to March 31", Period(monthly31), At(2024, 2, 29, 8, 5), 1, "20240331 08:05"},
      {"first Monday every 2 months", Period(everyTwoMonthsFirstMonday), At(2024, 4, 1, 8, 5), 1,
       "20240603 08:05"},
      {"last Friday", Period(lastFriday), At(2024, 5, 31, 8, 5), 1, "20240628 08:05"},
      {"every 1.5 hours", Period(VarArrayOf({3, 1.5})), At(2024, 3, 5, 23, 0), 1, "20240306 00:30"},
      {"hourly without hours", Period(VarArrayOf({3, 0.0})), At(2024, 3, 5), 1, "none"},
      {"unknown cycle", Period(VarArrayOf({7, 1})), At(2024, 3, 5), 1, "none"},
      {"two of three runs made", Period(daily3, VarArrayOf({u"20240101", 1, u"3"})),
       At(2024, 3, 5, 8, 5), 2, "20240308 08:05"},
      {"three of three runs made", Period(daily3, VarArrayOf({u"20240101", 1, u"3"})),
       At(2024, 3, 5, 8, 5), 3, "none"},
      {"next run on the end date", Period(daily3, VarArrayOf({u"20240101", 2, u"20240308"})),
       At(2024, 3, 5, 8, 5), 1, "20240308 08:05"},
      {"next run past the end date", Period(daily3, VarArrayOf({u"20240101", 2, u"20240307"})),
       At(2024, 3, 5, 8, 5), 1, "none"},
      {"no period", Variant(u"Y"), At(2024, 3, 5), 1, "none"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Shown(NextRun(c.period, c.last, c.runsDone)), c.next);
  }
}

// A periodic job whose value 1 is the run date and value 2 the month of the run.
Variant PeriodicJob(TDateTime firstRun) {
  Variant job = SampleJob(u"20240305", 2, firstRun);
  VarArrayRedim(job, 4);
  job[2][2] = VarArrayOf({u"\x04", u"20240301", u"20240331"});
  job[3] = Period(VarArrayOf({0, u"1"}));
  const std::u16string sep(1, u'\x03');
  const std::u16string single = u"1" + sep + u"ed01" + sep + u"Y" + sep + u"0" + sep + u"0" + sep +
                                u"0" + sep + u"0" + sep + u"D" + sep + u"1";
  const std::u16string range = u"0" + sep + u"Sp02" + sep + u"Y" + sep + u"0" + sep + u"1" + sep +
                               u"1" + sep + u"0" + sep + u"Y" + sep + u"0" + sep + u"1" + sep +
                               u"2" + sep + u"0" + sep + u"D" + sep + u"2";
  job[4] = VarArrayOf({2, single, range});
  return job;
}

class JobQueueTest : public ::testing::Test {
 protected:
  JobRecord Submit(const Variant& job, TDateTime moment, bool periodic = false) {
    JobRecord e;
    e.program = "MVAR52";
    e.moment = moment;
    e.created = now;
    e.periodic = periodic;
    e.status = kQueued;
    e.job = job;
    return store->AddEntry(e);
  }
  JobRecord Stored(const JobRecord& e) { return *store->FindEntry(e.number); }
  JobQueue Queue(ModuleRunner runner = {}) {
    return JobQueue(
        store, [this] { return now; }, std::move(runner));
  }

  ox::test::TestMachine machine;
  std::shared_ptr<ServerStore> store =
      std::make_shared<ServerStore>(machine.driveC().path() / "queue.db");
  TDateTime now = At(2024, 3, 5, 12, 0);
};

TEST_F(JobQueueTest, WithoutAModuleDueJobsAreMarkedRunnableAndWait) {
  const JobRecord due = Submit(SampleJob(), now);
  const JobRecord later = Submit(SampleJob(), now + 1);
  JobQueue queue = Queue();
  EXPECT_EQ(queue.RunDue(), 1);
  EXPECT_EQ(Stored(due).status, kRunnable);
  EXPECT_NE(Stored(due).message.find("no server module"), std::string::npos);
  EXPECT_EQ(Stored(later).status, kQueued);
  EXPECT_EQ(queue.RunDue(), 0);  // a runnable job is not taken again without a module
}

TEST_F(JobQueueTest, DueJobsGoToTheModuleInOrderOfTheirMoments) {
  const JobRecord second = Submit(SampleJob(u"second"), now - 0.1);
  const JobRecord first = Submit(SampleJob(u"first"), now - 0.2);
  const JobRecord broken = Submit(SampleJob(u"broken"), now);
  Queue().RunDue();  // no module yet: runnable
  std::vector<std::string> order;
  JobQueue queue = Queue([&](const JobRecord& job) -> ModuleOutcome {
    order.push_back(job.number);
    if (job.id == broken.id) throw Exception("module failed");
    return {true, "12 rows"};
  });
  EXPECT_EQ(queue.RunDue(), 3);
  EXPECT_EQ(order, (std::vector<std::string>{first.number, second.number, broken.number}));
  EXPECT_EQ(Stored(first).status, kDone);
  EXPECT_EQ(Stored(first).message, "12 rows");
  EXPECT_EQ(Stored(first).runs, 1);
  EXPECT_EQ(Stored(broken).status, kFailed);
  EXPECT_EQ(Stored(broken).message, "module failed");
  EXPECT_EQ(queue.RunDue(), 0);
}

TEST_F(JobQueueTest, APeriodicJobComesBackWithItsDatesShifted) {
  const TDateTime firstRun = At(2024, 3, 31, 8, 5);
  now = firstRun;
  const JobRecord job = Submit(PeriodicJob(firstRun), firstRun, true);
  EXPECT_EQ(Queue([](const JobRecord&) { return ModuleOutcome{true, ""}; }).RunDue(), 1);
  const JobRecord after = Stored(job);
  EXPECT_EQ(after.status, kQueued);
  EXPECT_EQ(after.runs, 1);
  EXPECT_EQ(Shown(after.moment), "20240401 08:05");
  EXPECT_EQ(after.job[2][1].asString(), "20240401");
  EXPECT_EQ(after.job[2][2][1].asString(), "20240401");
  EXPECT_EQ(after.job[2][2][2].asString(), "20240430");
  EXPECT_EQ(Shown(after.job[0][11].asDate()), "20240401 08:05");
}

TEST_F(JobQueueTest, TheWorkerTakesAJobWhenWoken) {
  std::promise<std::string> taken;
  JobQueue queue = Queue([&](const JobRecord& job) {
    taken.set_value(job.number);
    return ModuleOutcome{true, ""};
  });
  queue.Start(std::chrono::hours(1));
  const JobRecord job = Submit(SampleJob(), now);
  queue.Wake();
  EXPECT_EQ(taken.get_future().get(), job.number);
  queue.Stop();
  EXPECT_EQ(Stored(job).status, kDone);
}

}  // namespace
}  // namespace ox::appserver
