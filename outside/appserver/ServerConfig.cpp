#include "outside/appserver/ServerConfig.h"

#include <fstream>
#include <sstream>

#include "platform/IniFile.h"

namespace ox::appserver {

namespace {

constexpr std::string_view kSection = "AppServer";

// A positive number of the key, or the default.
std::int64_t Number(const IniData& ini, std::string_view key, std::int64_t fallback) {
  const IniData::Entry* entry = ini.FindEntry(kSection, key);
  std::int64_t value = 0;
  return entry != nullptr && TryStrToInt64(entry->value, value) && value >= 0 ? value : fallback;
}

}  // namespace

ServerConfig ReadServerConfig(const std::filesystem::path& file) {
  ServerConfig config;
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const IniData ini = IniData::Parse(text.str());
  if (const IniData::Entry* db = ini.FindEntry(kSection, "Database"); db && !db->value.empty())
    config.database = file.parent_path() / db->value;
  if (const IniData::Entry* a = ini.FindEntry(kSection, "ListenAddress"); a && !a->value.empty())
    config.daemon.address = a->value;
  DaemonOptions& d = config.daemon;
  d.port = static_cast<int>(Number(ini, "Port", d.port));
  d.maxFrame =
      static_cast<std::size_t>(Number(ini, "MaxFrameBytes", static_cast<std::int64_t>(d.maxFrame)));
  d.maxConnections = static_cast<std::size_t>(
      Number(ini, "MaxConnections", static_cast<std::int64_t>(d.maxConnections)));
  d.ioTimeout = net::Millis(Number(ini, "IoTimeoutMs", d.ioTimeout.count()));
  config.sqlType = static_cast<int>(Number(ini, "SQLType", config.sqlType));
  config.queueInterval = net::Millis(Number(ini, "QueueIntervalMs", config.queueInterval.count()));
  return config;
}

}  // namespace ox::appserver
