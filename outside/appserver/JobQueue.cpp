#include "outside/appserver/JobQueue.h"

#include <utility>

#include "outside/appserver/PeriodicSchedule.h"

namespace ox::appserver {

JobQueue::JobQueue(std::shared_ptr<ServerStore> store, ServerClock clock, ModuleRunner runner)
    : store_(std::move(store)), clock_(std::move(clock)), runner_(std::move(runner)) {}

JobQueue::~JobQueue() {
  Stop();
}

int JobQueue::RunDue() {
  const std::vector<JobRecord> due = runner_ ? store_->DueJobs(clock_(), {kQueued, kRunnable})
                                             : store_->DueJobs(clock_(), {kQueued});
  for (const JobRecord& job : due)
    Take(job);
  return static_cast<int>(due.size());
}

void JobQueue::Take(JobRecord job) {
  if (!runner_) {
    if (store_->MoveState(job.id, kQueued, kRunnable)) {
      job.status = kRunnable;
      job.message = "due; no server module for " + job.program + " is installed";
      store_->UpdateEntry(job);
    }
    return;
  }
  if (!store_->MoveState(job.id, job.status, kRunning)) return;  // another worker has it
  ModuleOutcome outcome;
  try {
    outcome = runner_(job);
  } catch (const std::exception& error) {
    outcome = {false, error.what()};
  }
  Finish(std::move(job), outcome);
}

void JobQueue::Finish(JobRecord job, const ModuleOutcome& outcome) {
  job.message = outcome.message;
  job.runs += 1;
  job.status = outcome.ok ? kDone : kFailed;
  if (job.periodic && VarArrayHighBound(job.job, 1) >= 4) {
    if (const std::optional<TDateTime> next = NextRun(job.job[3], job.moment, job.runs)) {
      job.moment = *next;
      job.job = ShiftForRun(job.job, *next);
      job.status = kQueued;
    }
  }
  store_->UpdateEntry(job);
}

void JobQueue::Start(std::chrono::milliseconds interval) {
  const std::lock_guard guard(lock_);
  if (worker_.joinable()) return;
  stopping_ = false;
  worker_ = std::thread([this, interval] { Work(interval); });
}

void JobQueue::Wake() {
  {
    const std::lock_guard guard(lock_);
    woken_ = true;
  }
  wake_.notify_one();
}

void JobQueue::Stop() {
  {
    const std::lock_guard guard(lock_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (worker_.joinable()) worker_.join();
}

void JobQueue::Work(std::chrono::milliseconds interval) {
  std::unique_lock guard(lock_);
  while (!stopping_) {
    guard.unlock();
    try {
      RunDue();
    } catch (const std::exception&) {
      // A store failure leaves the jobs as they were; the next round tries again.
    }
    guard.lock();
    wake_.wait_for(guard, interval, [this] { return stopping_ || woken_; });
    woken_ = false;
  }
}

}  // namespace ox::appserver
