// The job queue: a worker takes the jobs whose moment has come, in the order of their
// moments, and hands each to the report's server module. Without a module the job is
// marked runnable and waits for one. A periodic job then gets its next moment and its
// relative dates shifted for that run (PeriodicSchedule); other jobs end.
// Several queues may work on one store: a job is taken by moving its state, which only
// one of them can do.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "outside/appserver/ServerStore.h"

namespace ox::appserver {

struct ModuleOutcome {
  bool ok = false;
  std::string message;  // UTF-8
};

// Runs one job in the report's server module.
using ModuleRunner = std::function<ModuleOutcome(const JobRecord& job)>;
using ServerClock = std::function<TDateTime()>;

class JobQueue {
 public:
  // Without a runner, due jobs are marked runnable.
  JobQueue(std::shared_ptr<ServerStore> store, ServerClock clock, ModuleRunner runner = {});
  ~JobQueue();
  JobQueue(const JobQueue&) = delete;
  JobQueue& operator=(const JobQueue&) = delete;

  // Takes every job due now; answers how many it took.
  int RunDue();

  // Runs RunDue on a worker thread every `interval` and whenever Wake is called.
  void Start(std::chrono::milliseconds interval);
  void Wake();
  // Stops the worker and waits for it.
  void Stop();

 private:
  void Take(JobRecord job);
  void Finish(JobRecord job, const ModuleOutcome& outcome);
  void Work(std::chrono::milliseconds interval);

  std::shared_ptr<ServerStore> store_;
  ServerClock clock_;
  ModuleRunner runner_;
  std::mutex lock_;
  std::condition_variable wake_;
  bool woken_ = false;
  bool stopping_ = false;
  std::thread worker_;
};

}  // namespace ox::appserver
