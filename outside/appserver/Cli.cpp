#include "outside/appserver/Cli.h"

#include <csignal>
#include <iomanip>
#include <map>
#include <memory>
#include <optional>

#include "outside/appserver/JobQueue.h"
#include "outside/appserver/ReportCounter.h"
#include "outside/appserver/ServerConfig.h"
#include "platform/CodePage.h"
#include "platform/DateTime.h"

namespace ox::appserver {

namespace {

constexpr std::string_view kUsage =
    "usage: mvar52-appserver [--config FILE] [--db FILE] [--listen ADDRESS] [--port N] "
    "serve | jobs | job NUMBER | schemes | run-due\n";

struct Command {
  ServerConfig config;
  std::vector<std::string> words;  // the command and its arguments
};

// The options and the command; nothing (after a message) when they do not read.
std::optional<Command> Parse(const std::vector<std::string>& args, std::ostream& err) {
  std::map<std::string, std::string> options;
  Command command;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i].starts_with("--")) {
      if (i + 1 == args.size()) break;
      options[args[i]] = args[i + 1];
      ++i;
    } else {
      command.words.push_back(args[i]);
    }
  }
  std::int64_t port = 0;
  if (command.words.empty() ||
      (options.contains("--port") &&
       (!TryStrToInt64(options["--port"], port) || port < 0 || port > 65535))) {
    err << kUsage;
    return std::nullopt;
  }
  if (options.contains("--config")) command.config = ReadServerConfig(options["--config"]);
  if (options.contains("--db")) command.config.database = options["--db"];
  if (options.contains("--listen")) command.config.daemon.address = options["--listen"];
  if (options.contains("--port")) command.config.daemon.port = static_cast<int>(port);
  return command;
}

std::string Shown(const Variant& v) {
  if (const std::u16string* wide = v.wideText()) return "wide \"" + WideToUtf8(*wide) + "\"";
  if (const std::string* narrow = v.narrowText()) return "narrow \"" + AnsiToUtf8(*narrow) + "\"";
  switch (v.type()) {
    case varEmpty:
      return "Empty";
    case varNull:
      return "Null";
    case varDate:
      return "date " + FormatDateTime("yyyy-mm-dd hh:nn:ss", v.asDate());
    default:
      return VarTypeAsText(v.type()) + " " + VarToStr(v);
  }
}

// One line per value, arrays with their bounds and their elements indented below.
void Describe(std::ostream& out, const Variant& v, int depth) {
  const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
  if (!v.isArray()) {
    out << Shown(v) << "\n";
    return;
  }
  const VarArray& a = v.array();
  out << "array";
  for (int d = 1; d <= a.dimCount(); ++d)
    out << " [" << a.bounds(d).low << ".." << a.bounds(d).high << "]";
  out << "\n";
  const int columns = a.dimCount() == 2 ? a.bounds(2).count() : 1;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const int row = static_cast<int>(i) / columns + a.bounds(1).low;
    out << indent << "  [" << row;
    if (a.dimCount() == 2) out << "," << static_cast<int>(i) % columns + a.bounds(2).low;
    out << "] ";
    Describe(out, a.elements()[i], depth + 1);
  }
}

std::string When(TDateTime t) {
  return FormatDateTime("yyyy-mm-dd hh:nn:ss", t);
}

void ListEntries(const ServerStore& store, std::ostream& out) {
  for (const JobRecord& e : store.Entries())
    out << e.number << "  " << (e.kind == EntryKind::Job ? "job" : "request") << "  " << e.program
        << "  " << e.user << "  mode " << e.runMode << "  " << When(e.moment)
        << (e.periodic ? "  periodic" : "") << "  " << e.status << "  runs " << e.runs
        << (e.message.empty() ? "" : "  " + e.message) << "\n";
}

int ShowEntry(const ServerStore& store, const std::string& number, std::ostream& out,
              std::ostream& err) {
  const std::optional<JobRecord> e = store.FindEntry(number);
  if (!e) {
    err << "no job " << number << "\n";
    return 1;
  }
  out << "number " << e->number << "\nprogram " << e->program << "\nuser " << e->user
      << "\ncompany " << e->company << "\ndatabase " << e->database << "\ncomputer " << e->computer
      << "\nrun mode " << e->runMode << "\nmoment " << When(e->moment) << "\nperiodic "
      << (e->periodic ? "yes" : "no") << "\nstatus " << e->status << "\nruns " << e->runs
      << "\nmessage " << e->message << "\nvariant ";
  Describe(out, e->job, 0);
  return 0;
}

void ListSchemes(const ServerStore& store, std::ostream& out) {
  for (const SchemeRow& r : store.AllSchemes())
    out << r.creator << "  " << r.programme << "  " << AnsiToUtf8(r.name) << "  " << r.createDate
        << "\n";
}

// Runs the daemon and the queue until SIGINT or SIGTERM.
int Serve(const ServerConfig& config, std::shared_ptr<ServerStore> store, std::ostream& out) {
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  // Blocked before any thread starts, so that every thread leaves them to sigwait.
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  const ServerClock clock = [] { return Now(); };
  JobQueue queue(store, clock);
  auto context = std::make_shared<ServerContext>(
      ServerContext{store, clock, config.sqlType, [&queue] { queue.Wake(); }});
  ServerDaemon daemon(config.daemon, std::string(kReportCounterProgId),
                      [context] { return std::make_shared<ReportCounter>(context); });
  daemon.Start();
  queue.Start(config.queueInterval);
  out << "listening on " << config.daemon.address << ":" << daemon.Port() << std::endl;
  int signal = 0;
  sigwait(&stopSignals, &signal);
  daemon.Stop();
  queue.Stop();
  out << "stopped" << std::endl;
  return 0;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::optional<Command> command = Parse(args, err);
  if (!command) return 2;
  const std::vector<std::string>& words = command->words;
  try {
    auto store = std::make_shared<ServerStore>(command->config.database);
    if (words[0] == "serve") return Serve(command->config, store, out);
    if (words[0] == "jobs") {
      ListEntries(*store, out);
      return 0;
    }
    if (words[0] == "job" && words.size() == 2) return ShowEntry(*store, words[1], out, err);
    if (words[0] == "schemes") {
      ListSchemes(*store, out);
      return 0;
    }
    if (words[0] == "run-due") {
      out << JobQueue(store, [] { return Now(); }).RunDue() << " due jobs taken\n";
      return 0;
    }
    err << kUsage;
    return 2;
  } catch (const std::exception& error) {
    err << error.what() << "\n";
    return 1;
  }
}

}  // namespace ox::appserver
