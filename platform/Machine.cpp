#include "platform/Machine.h"

#include <pwd.h>
#include <time.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <string_view>

#include "platform/WinPath.h"

namespace ox {

namespace {

std::string EnvOr(const char* name, std::string_view fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::string(value) : std::string(fallback);
}

std::string ProcessOwner() {
  if (const passwd* pw = getpwuid(geteuid()); pw != nullptr && pw->pw_name != nullptr)
    return pw->pw_name;
  return EnvOr("USER", "");
}

std::string HostName() {
  char buffer[256] = {};
  if (gethostname(buffer, sizeof buffer - 1) != 0) return {};
  return buffer;
}

// The ANSI code page a Windows of the user's language would have.
int CodePageOfLocale() {
  std::string locale = EnvOr("LC_ALL", EnvOr("LC_CTYPE", EnvOr("LANG", "")));
  auto startsWith = [&](std::string_view prefix) { return locale.rfind(prefix, 0) == 0; };
  if (startsWith("zh_CN") || startsWith("zh_SG")) return 936;
  if (startsWith("zh_TW") || startsWith("zh_HK") || startsWith("zh_MO")) return 950;
  return 1252;
}

int CodePageFromEnvironment() {
  const std::string text = EnvOr("OX_ACP", "");
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (!text.empty() && *end == '\0' && value > 0 && value < 65536) return static_cast<int>(value);
  return CodePageOfLocale();
}

std::filesystem::path DefaultDriveC() {
  std::filesystem::path data = EnvOr("XDG_DATA_HOME", "");
  if (data.empty()) data = std::filesystem::path(EnvOr("HOME", "/tmp")) / ".local/share";
  return data / "mvar52" / "drive_c";
}

TDateTime SystemClock() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  // Local seconds since 1970-01-01, then days since 1899-12-30 (25569 days earlier).
  const double localSeconds =
      static_cast<double>(now.tv_sec + local.tm_gmtoff) + static_cast<double>(now.tv_nsec) / 1e9;
  return localSeconds / 86400.0 + 25569.0;
}

std::map<char, std::filesystem::path> DrivesFromEnvironment() {
  std::map<char, std::filesystem::path> drives{{'C', DefaultDriveC()}, {'Z', "/"}};
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const std::string name = std::string("OX_DRIVE_") + letter;
    if (const char* folder = std::getenv(name.c_str()); folder != nullptr && *folder != '\0')
      drives[letter] = folder;
  }
  return drives;
}

}  // namespace

MachineSettings MachineFromEnvironment() {
  MachineSettings settings;
  settings.userName = EnvOr("OX_USER", ProcessOwner());
  settings.computerName = EnvOr("OX_COMPUTER", HostName());
  settings.ansiCodePage = CodePageFromEnvironment();
  settings.drives = DrivesFromEnvironment();
  settings.registryFile = EnvOr("OX_REGISTRY", (settings.drives['C'] / "registry.reg").string());
  settings.clock = SystemClock;
  return settings;
}

MachineSettings& Machine() {
  static MachineSettings settings = MachineFromEnvironment();
  return settings;
}

MachineScope::MachineScope(MachineSettings settings) : saved_(Machine()) {
  Machine() = std::move(settings);
}

MachineScope::~MachineScope() {
  Machine() = std::move(saved_);
}

int GetACP() {
  return Machine().ansiCodePage;
}

TDateTime Now() {
  const auto& clock = Machine().clock;
  return clock ? clock() : SystemClock();
}

TDateTime Today() {
  return std::trunc(Now());
}

std::string GetTempPath() {
  const MachineSettings& machine = Machine();
  if (!machine.tempPath.empty()) return machine.tempPath;
  const std::string temp = EnvOr("OX_TEMP", "");
  return IncludeTrailingBackslash(
      temp.empty() ? FromNativePath(std::filesystem::temp_directory_path()) : temp);
}

std::string HostExeName() {
  const MachineSettings& machine = Machine();
  if (!machine.hostExeName.empty()) return machine.hostExeName;
  const std::filesystem::path exe = RunningProgramFile();
  return exe.empty() ? std::string() : FromNativePath(exe);
}

std::filesystem::path RunningProgramFile() {
  std::error_code error;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : exe;
}

bool ShellExecute(std::string_view verb, std::string_view file) {
  const auto& shell = Machine().shellExecute;
  return shell ? shell(verb, file) : false;
}

}  // namespace ox
