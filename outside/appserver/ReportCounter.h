// The application server object "ReportCounterS.dmReportCounter": the methods the
// report forms call by name (Request, Request1, ErrorDescript, UpdateStatus1,
// GetPower, SQLType, LoadTable, InsertConTable, DeleteConTable, ChangeConName) and the
// data-set provider "pvdConSave" of the condition schemes (AS_GetRecords,
// AS_ApplyUpdates). One object serves one client (one connection, or one creation in
// process): it keeps that client's last failure and the user and program whose
// schemes it serves; the store is shared.
//
// Methods that answer a text answer "ERROR" (Request, Request1) or a non-empty error
// text (the scheme methods) on failure; ErrorDescript then tells why.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "outside/appserver/ServerStore.h"
#include "platform/OleAuto.h"

namespace ox::appserver {

inline constexpr std::string_view kReportCounterProgId = "ReportCounterS.dmReportCounter";
inline constexpr std::string_view kSchemeProvider = "pvdConSave";

// What the server objects of one server share.
struct ServerContext {
  std::shared_ptr<ServerStore> store;
  std::function<TDateTime()> clock;
  int sqlType = 0;                 // the answer of SQLType
  std::function<void()> jobAdded;  // tells the queue a job came in; may be empty
};

class ReportCounter : public AutoObject {
 public:
  explicit ReportCounter(std::shared_ptr<const ServerContext> context);

 private:
  Variant Request(const Variant& job, EntryKind kind, const Variant& computer);
  Variant UpdateStatus(const Variant& number, const Variant& messages, const Variant& when);
  // Runs a scheme method: its error text, or "" when it succeeded.
  Variant SchemeCall(const std::function<void()>& action);
  void InsertScheme(const Variant& args);
  void DeleteScheme(const Variant& args);
  void RenameScheme(const Variant& oldKey, const Variant& newKey);
  Variant GetRecords(const Variant& provider, Variant& recordsOut);
  Variant ApplyUpdates(const Variant& provider, const Variant& delta, int maxErrors,
                       Variant& errorCount);
  void CheckProvider(const Variant& provider) const;

  std::shared_ptr<const ServerContext> context_;
  std::string lastError_;
  std::optional<std::pair<std::string, std::string>> loaded_;  // user, program of LoadTable
};

// Registers "ReportCounterS.dmReportCounter" as an in-process class whose objects
// share one store at storePath (opened now; raises EStoreError). Jobs submitted in
// process are stored; a daemon or "run-due" on the same file runs them.
void RegisterReportCounterClass(const std::filesystem::path& storePath);

}  // namespace ox::appserver
