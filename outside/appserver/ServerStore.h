// The application server's storage: one SQLite file in WAL mode, created on first use
// with a versioned schema. It keeps
// - jobs submitted with Request (the whole job variant, losslessly, plus the columns
//   the queue and the operators look at) and requests numbered with Request1;
// - condition schemes keyed by (name, user, program); their texts are kept as the
//   bytes the client sent (the server's code page).
// Every statement binds its values; every method is safe from any thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/Variant.h"

struct sqlite3;

namespace ox::appserver {

class EStoreError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EStoreError"; }
};

// What a numbered entry is: a queued job (Request) or a request run in the client
// (Request1).
enum class EntryKind { Job, Request };

// Job states. A job waits (Queued) until its moment, is handed to the report's server
// module (Running) and ends Done or Failed; a periodic job goes back to Queued with its
// next moment. Runnable: due, but no server module can run it yet.
inline constexpr std::string_view kQueued = "queued";
inline constexpr std::string_view kRunnable = "runnable";
inline constexpr std::string_view kRunning = "running";
inline constexpr std::string_view kDone = "done";
inline constexpr std::string_view kFailed = "failed";
inline constexpr std::string_view kRequested = "requested";
inline constexpr std::string_view kReported = "reported";

struct JobRecord {
  std::int64_t id = 0;
  std::string number;
  EntryKind kind = EntryKind::Job;
  std::string program, user, company, database, computer;  // UTF-8
  int runMode = 0;
  TDateTime moment = 0;  // when it is due
  bool periodic = false;
  std::string status;
  std::string message;  // UTF-8
  int runs = 0;
  TDateTime created = 0;
  Variant job;  // the job variant as submitted, its values shifted by every periodic run
};

struct SchemeKey {
  std::string name, user, program;
};

struct SchemeRow {
  std::string name;        // NCONDITION
  std::string creator;     // CREATOR
  std::string programme;   // PROGRAMME
  std::string controls;    // SCONDITION
  std::string values;      // VCONDITION
  std::string createDate;  // CREATE_DATE, YYYYMMDD
  SchemeKey key() const { return {name, creator, programme}; }
};

class ServerStore {
 public:
  static constexpr int kSchemaVersion = 1;

  // Opens the file, creating it and its schema when new; raises EStoreError for a file
  // that cannot be opened or has a schema newer than this server knows.
  explicit ServerStore(const std::filesystem::path& file);
  ~ServerStore();
  ServerStore(const ServerStore&) = delete;
  ServerStore& operator=(const ServerStore&) = delete;

  // Stores a new entry (id, number and created are assigned) and answers it.
  JobRecord AddEntry(JobRecord entry);
  std::optional<JobRecord> FindEntry(std::string_view number) const;
  // Every entry in number order.
  std::vector<JobRecord> Entries() const;
  // Jobs due at `now` in one of the states, by moment and then number.
  std::vector<JobRecord> DueJobs(TDateTime now,
                                 std::initializer_list<std::string_view> states) const;
  // Writes status, message, moment, runs and the job variant back.
  void UpdateEntry(const JobRecord& entry);
  // Moves a job from one state to another; false when it was not in that state.
  bool MoveState(std::int64_t id, std::string_view from, std::string_view to);

  std::vector<SchemeRow> Schemes(const std::string& user, const std::string& program) const;
  std::vector<SchemeRow> AllSchemes() const;
  // False (nothing changed) when the key exists and replace is false.
  bool SaveScheme(const SchemeRow& row, bool replace);
  bool DeleteScheme(const SchemeKey& key);
  // Replaces the row of `key` by `row` (its key may differ); false when `key` is not
  // stored or the new key belongs to another row.
  bool UpdateScheme(const SchemeKey& key, const SchemeRow& row);
  bool SchemeExists(const SchemeKey& key) const;

 private:
  class Statement;
  void CreateSchema();
  Statement Prepare(std::string_view sql) const;
  void Exec(std::string_view sql) const;

  mutable std::mutex lock_;
  sqlite3* db_ = nullptr;
};

}  // namespace ox::appserver
