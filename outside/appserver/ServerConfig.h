// The application server's configuration: an INI file of its own (section
// [AppServer]), each key overridable on the command line. docs/appserver.md lists the
// keys.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "outside/appserver/ServerDaemon.h"

namespace ox::appserver {

struct ServerConfig {
  std::filesystem::path database = "mvar52-appserver.db";
  DaemonOptions daemon;
  int sqlType = 0;
  net::Millis queueInterval{5000};
};

// The configuration of `file`; a missing file or key keeps the default. Relative
// database paths are taken from the file's folder.
ServerConfig ReadServerConfig(const std::filesystem::path& file);

}  // namespace ox::appserver
