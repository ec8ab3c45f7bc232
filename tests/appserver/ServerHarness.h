// A reference application server for tests: a store in a temporary folder, the server
// objects' shared context and, on demand, the daemon on a free loopback port. Also the
// job variants the tests submit.
#pragma once

#include <filesystem>
#include <memory>

#include "outside/appserver/ReportCounter.h"
#include "outside/appserver/ServerDaemon.h"
#include "platform/DateTime.h"

namespace ox::appserver::test {

class ServerHarness {
 public:
  explicit ServerHarness(std::filesystem::path database) : database_(std::move(database)) {
    Open();
  }
  ~ServerHarness() { StopDaemon(); }

  const std::filesystem::path& database() const { return database_; }
  ServerStore& store() const { return *context_->store; }
  const std::shared_ptr<ServerContext>& context() const { return context_; }

  // Starts the daemon (on `port`, 0 for any free one) and answers its port.
  int StartDaemon(DaemonOptions options = {}, int port = 0) {
    options.port = port;
    daemon_ = std::make_unique<ServerDaemon>(
        options, std::string(kReportCounterProgId),
        [context = context_] { return std::make_shared<ReportCounter>(context); });
    daemon_->Start();
    return daemon_->Port();
  }
  void StopDaemon() { daemon_.reset(); }
  // Stops the daemon and closes the store, as a killed server would leave them, then
  // opens the store again.
  void Reopen() {
    StopDaemon();
    context_.reset();
    Open();
  }

 private:
  void Open() {
    context_ = std::make_shared<ServerContext>();
    context_->store = std::make_shared<ServerStore>(database_);
    context_->clock = [] { return Now(); };
  }

  std::filesystem::path database_;
  std::shared_ptr<ServerContext> context_;
  std::unique_ptr<ServerDaemon> daemon_;
};

// A job variant as the report form builds it: header 1..14 with wide texts, eight
// descriptions and values; `marker` goes into the first value.
inline Variant SampleJob(const std::u16string& marker = u"202403", int runMode = 0,
                         TDateTime moment = 0) {
  Variant header = VarArrayCreate({1, 14});
  const Variant entries[] = {u"MVAR52",
                             14,
                             8,
                             u"C01",
                             u"tester",
                             u"ERPDB",
                             Variant::FromDate(Now()),
                             u"MVAR52S.Class1",
                             u"R",
                             runMode,
                             Variant::FromDate(moment),
                             u"",
                             0,
                             u""};
  for (int i = 1; i <= 14; ++i)
    header[i] = entries[i - 1];
  Variant descriptions = VarArrayCreate({1, 8});
  Variant values = VarArrayCreate({1, 8});
  for (int i = 1; i <= 8; ++i) {
    descriptions[i] =
        VarArrayOf({u"标签", u"ed0" + std::u16string(1, static_cast<char16_t>(u'0' + i))});
    values[i] = u"N";
  }
  values[1] = marker;
  values[2] = VarArrayOf({u"\x04", u"WO001", u"WO009"});
  Variant job = VarArrayCreate({0, 2});
  job[0] = header;
  job[1] = descriptions;
  job[2] = values;
  return job;
}

}  // namespace ox::appserver::test
