#include "outside/appserver/ServerStore.h"

#include <sqlite3.h>

#include <cstdio>
#include <utility>

#include "net/WireCodec.h"
#include "platform/DateTime.h"

namespace ox::appserver {

namespace {

constexpr std::string_view kSchema = R"sql(
CREATE TABLE schema_version (version INTEGER NOT NULL);
CREATE TABLE entries (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  number TEXT UNIQUE,
  kind TEXT NOT NULL,
  program TEXT NOT NULL, user_id TEXT NOT NULL, company TEXT NOT NULL,
  db_name TEXT NOT NULL, computer TEXT NOT NULL,
  run_mode INTEGER NOT NULL, moment REAL NOT NULL, periodic INTEGER NOT NULL,
  status TEXT NOT NULL, message TEXT NOT NULL, runs INTEGER NOT NULL,
  created REAL NOT NULL,
  job BLOB NOT NULL);
CREATE INDEX entries_due ON entries (kind, status, moment, id);
CREATE TABLE schemes (
  ncondition TEXT NOT NULL, creator TEXT NOT NULL, programme TEXT NOT NULL,
  scondition TEXT NOT NULL, vcondition TEXT NOT NULL, create_date TEXT NOT NULL,
  PRIMARY KEY (ncondition, creator, programme));
)sql";

constexpr std::string_view kEntryColumns =
    "id, number, kind, program, user_id, company, db_name, computer, run_mode, moment, "
    "periodic, status, message, runs, created, job";

std::string EntryNumber(TDateTime created, std::int64_t id) {
  char digits[24];
  std::snprintf(digits, sizeof(digits), "%06lld", static_cast<long long>(id));
  return FormatDateTime("yyyymmdd", created) + digits;
}

}  // namespace

// A prepared statement with its values bound in order.
class ServerStore::Statement {
 public:
  Statement(sqlite3* db, std::string_view sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
        SQLITE_OK)
      Fail();
  }
  Statement(Statement&& other) noexcept
      : db_(other.db_), stmt_(std::exchange(other.stmt_, nullptr)) {}
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  Statement& operator=(Statement&&) = delete;
  ~Statement() { sqlite3_finalize(stmt_); }

  Statement& Bind(std::string_view text) {
    Check(sqlite3_bind_text(stmt_, ++bound_, text.data(), static_cast<int>(text.size()),
                            SQLITE_TRANSIENT));
    return *this;
  }
  // The six columns of a scheme row, in table order.
  Statement& BindScheme(const SchemeRow& r) {
    return Bind(r.name)
        .Bind(r.creator)
        .Bind(r.programme)
        .Bind(r.controls)
        .Bind(r.values)
        .Bind(r.createDate);
  }
  Statement& BindBlob(std::string_view bytes) {
    Check(sqlite3_bind_blob(stmt_, ++bound_, bytes.data(), static_cast<int>(bytes.size()),
                            SQLITE_TRANSIENT));
    return *this;
  }
  Statement& Bind(std::int64_t n) {
    Check(sqlite3_bind_int64(stmt_, ++bound_, n));
    return *this;
  }
  Statement& Bind(double d) {
    Check(sqlite3_bind_double(stmt_, ++bound_, d));
    return *this;
  }
  // True while a row is there to read.
  bool Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) Fail();
    return false;
  }
  std::string Text(int column) const {
    const auto* text = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
    return text == nullptr
               ? std::string()
               : std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)));
  }
  std::int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
  double Real(int column) const { return sqlite3_column_double(stmt_, column); }

 private:
  void Check(int rc) const {
    if (rc != SQLITE_OK) Fail();
  }
  [[noreturn]] void Fail() const {
    throw EStoreError(std::string("SQLite: ") + sqlite3_errmsg(db_));
  }

  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
  int bound_ = 0;
};

namespace {

JobRecord ReadEntry(const auto& row) {
  JobRecord e;
  e.id = row.Int(0);
  e.number = row.Text(1);
  e.kind = row.Text(2) == "request" ? EntryKind::Request : EntryKind::Job;
  e.program = row.Text(3);
  e.user = row.Text(4);
  e.company = row.Text(5);
  e.database = row.Text(6);
  e.computer = row.Text(7);
  e.runMode = static_cast<int>(row.Int(8));
  e.moment = row.Real(9);
  e.periodic = row.Int(10) != 0;
  e.status = row.Text(11);
  e.message = row.Text(12);
  e.runs = static_cast<int>(row.Int(13));
  e.created = row.Real(14);
  e.job = net::DecodeVariant(row.Text(15));
  return e;
}

}  // namespace

ServerStore::ServerStore(const std::filesystem::path& file) {
  if (sqlite3_open_v2(file.c_str(), &db_,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                      nullptr) != SQLITE_OK) {
    const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    throw EStoreError("Cannot open " + file.string() + ": " + why);
  }
  try {
    sqlite3_busy_timeout(db_, 5000);
    Exec("PRAGMA journal_mode=WAL");
    Exec("PRAGMA synchronous=NORMAL");
    CreateSchema();
  } catch (...) {
    sqlite3_close(db_);
    throw;
  }
}

ServerStore::~ServerStore() {
  sqlite3_close(db_);
}

ServerStore::Statement ServerStore::Prepare(std::string_view sql) const {
  return Statement(db_, sql);
}

void ServerStore::Exec(std::string_view sql) const {
  char* error = nullptr;
  if (sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string why = error ? error : sqlite3_errmsg(db_);
    sqlite3_free(error);
    throw EStoreError("SQLite: " + why);
  }
}

void ServerStore::CreateSchema() {
  Exec("BEGIN IMMEDIATE");
  try {
    Statement probe = Prepare(
        "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'schema_version'");
    probe.Step();
    if (probe.Int(0) == 0) {
      Exec(kSchema);
      Prepare("INSERT INTO schema_version (version) VALUES (?)")
          .Bind(std::int64_t{kSchemaVersion})
          .Step();
    }
    Statement version = Prepare("SELECT max(version) FROM schema_version");
    version.Step();
    if (version.Int(0) != kSchemaVersion)
      throw EStoreError("Database schema version " + std::to_string(version.Int(0)) +
                        " is not version " + std::to_string(kSchemaVersion) + " of this server");
    Exec("COMMIT");
  } catch (...) {
    Exec("ROLLBACK");
    throw;
  }
}

JobRecord ServerStore::AddEntry(JobRecord e) {
  const std::string job = net::EncodeVariant(e.job);
  const std::lock_guard guard(lock_);
  Exec("BEGIN IMMEDIATE");
  try {
    Prepare(
        "INSERT INTO entries (kind, program, user_id, company, db_name, computer, run_mode, "
        "moment, periodic, status, message, runs, created, job) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .Bind(e.kind == EntryKind::Request ? "request" : "job")
        .Bind(e.program)
        .Bind(e.user)
        .Bind(e.company)
        .Bind(e.database)
        .Bind(e.computer)
        .Bind(std::int64_t{e.runMode})
        .Bind(e.moment)
        .Bind(std::int64_t{e.periodic})
        .Bind(e.status)
        .Bind(e.message)
        .Bind(std::int64_t{e.runs})
        .Bind(e.created)
        .BindBlob(job)
        .Step();
    e.id = sqlite3_last_insert_rowid(db_);
    e.number = EntryNumber(e.created, e.id);
    Prepare("UPDATE entries SET number = ? WHERE id = ?").Bind(e.number).Bind(e.id).Step();
    Exec("COMMIT");
  } catch (...) {
    Exec("ROLLBACK");
    throw;
  }
  return e;
}

std::optional<JobRecord> ServerStore::FindEntry(std::string_view number) const {
  const std::lock_guard guard(lock_);
  Statement row =
      Prepare("SELECT " + std::string(kEntryColumns) + " FROM entries WHERE number = ?");
  row.Bind(number);
  if (!row.Step()) return std::nullopt;
  return ReadEntry(row);
}

std::vector<JobRecord> ServerStore::Entries() const {
  const std::lock_guard guard(lock_);
  Statement row = Prepare("SELECT " + std::string(kEntryColumns) + " FROM entries ORDER BY id");
  std::vector<JobRecord> out;
  while (row.Step())
    out.push_back(ReadEntry(row));
  return out;
}

std::vector<JobRecord> ServerStore::DueJobs(TDateTime now,
                                            std::initializer_list<std::string_view> states) const {
  const std::lock_guard guard(lock_);
  std::vector<JobRecord> out;
  for (std::string_view state : states) {
    Statement row = Prepare("SELECT " + std::string(kEntryColumns) +
                            " FROM entries WHERE kind = 'job' AND status = ? AND moment <= ?");
    row.Bind(state).Bind(now);
    while (row.Step())
      out.push_back(ReadEntry(row));
  }
  std::stable_sort(out.begin(), out.end(), [](const JobRecord& a, const JobRecord& b) {
    return a.moment != b.moment ? a.moment < b.moment : a.id < b.id;
  });
  return out;
}

void ServerStore::UpdateEntry(const JobRecord& e) {
  const std::string job = net::EncodeVariant(e.job);
  const std::lock_guard guard(lock_);
  Prepare("UPDATE entries SET status = ?, message = ?, moment = ?, runs = ?, job = ? WHERE id = ?")
      .Bind(e.status)
      .Bind(e.message)
      .Bind(e.moment)
      .Bind(std::int64_t{e.runs})
      .BindBlob(job)
      .Bind(e.id)
      .Step();
}

bool ServerStore::MoveState(std::int64_t id, std::string_view from, std::string_view to) {
  const std::lock_guard guard(lock_);
  Prepare("UPDATE entries SET status = ? WHERE id = ? AND status = ?")
      .Bind(to)
      .Bind(id)
      .Bind(from)
      .Step();
  return sqlite3_changes(db_) == 1;
}

namespace {

constexpr std::string_view kSchemeColumns =
    "SELECT ncondition, creator, programme, scondition, vcondition, create_date FROM schemes";

std::vector<SchemeRow> ReadSchemes(auto&& row) {
  std::vector<SchemeRow> out;
  while (row.Step())
    out.push_back({row.Text(0), row.Text(1), row.Text(2), row.Text(3), row.Text(4), row.Text(5)});
  return out;
}

}  // namespace

std::vector<SchemeRow> ServerStore::Schemes(const std::string& user,
                                            const std::string& program) const {
  const std::lock_guard guard(lock_);
  Statement row = Prepare(std::string(kSchemeColumns) +
                          " WHERE creator = ? AND programme = ? ORDER BY ncondition");
  row.Bind(user).Bind(program);
  return ReadSchemes(row);
}

std::vector<SchemeRow> ServerStore::AllSchemes() const {
  const std::lock_guard guard(lock_);
  return ReadSchemes(
      Prepare(std::string(kSchemeColumns) + " ORDER BY creator, programme, ncondition"));
}

bool ServerStore::SaveScheme(const SchemeRow& r, bool replace) {
  const std::lock_guard guard(lock_);
  Prepare(std::string(replace ? "INSERT OR REPLACE" : "INSERT OR IGNORE") +
          " INTO schemes (ncondition, creator, programme, scondition, vcondition, create_date) "
          "VALUES (?, ?, ?, ?, ?, ?)")
      .BindScheme(r)
      .Step();
  return sqlite3_changes(db_) == 1;
}

bool ServerStore::DeleteScheme(const SchemeKey& k) {
  const std::lock_guard guard(lock_);
  Prepare("DELETE FROM schemes WHERE ncondition = ? AND creator = ? AND programme = ?")
      .Bind(k.name)
      .Bind(k.user)
      .Bind(k.program)
      .Step();
  return sqlite3_changes(db_) == 1;
}

bool ServerStore::UpdateScheme(const SchemeKey& k, const SchemeRow& r) {
  const std::lock_guard guard(lock_);
  try {
    Prepare(
        "UPDATE schemes SET ncondition = ?, creator = ?, programme = ?, scondition = ?, "
        "vcondition = ?, create_date = ? WHERE ncondition = ? AND creator = ? AND programme = ?")
        .BindScheme(r)
        .Bind(k.name)
        .Bind(k.user)
        .Bind(k.program)
        .Step();
  } catch (const EStoreError&) {
    if (sqlite3_extended_errcode(db_) == SQLITE_CONSTRAINT_PRIMARYKEY) return false;
    throw;
  }
  return sqlite3_changes(db_) == 1;
}

bool ServerStore::SchemeExists(const SchemeKey& k) const {
  const std::lock_guard guard(lock_);
  Statement row =
      Prepare("SELECT 1 FROM schemes WHERE ncondition = ? AND creator = ? AND programme = ?");
  row.Bind(k.name).Bind(k.user).Bind(k.program);
  return row.Step();
}

}  // namespace ox::appserver
