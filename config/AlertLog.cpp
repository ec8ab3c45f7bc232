#include "config/AlertLog.h"

#include <cstdio>
#include <exception>
#include <filesystem>

#include "platform/DateTime.h"
#include "platform/Machine.h"
#include "platform/Registry.h"
#include "platform/WinPath.h"

namespace ox {

namespace {

// The folder of the host program file, without a trailing "\".
std::string HostFolder() {
  return ExcludeTrailingBackslash(ExtractFilePath(HostExeName()));
}

std::string InstallationOrHostFolder() {
  std::string base = RegisteredBasePath();
  return base.empty() ? HostFolder() : base;
}

std::string_view DatePartFormat(std::string_view period) {
  if (period == "M") return "yyyymm";
  if (period == "Y") return "yyyy";
  return "yyyymmdd";
}

// One entry in "<base>\Log"; any failure, raised or reported, gives false.
bool WriteAlertEntry(std::string (*base)(), std::string_view name, std::string_view text,
                     std::string_view period) {
  try {
    const std::string folder = base() + "\\Log";
    const TDateTime now = Now();
    std::string file = folder + "\\Alert_";
    file.append(name).append("_").append(FormatDateTime(DatePartFormat(period), now));
    // A name with an extension of its own keeps it as the file's extension.
    if (name.find('.') == std::string_view::npos) file += ".log";
    std::string entry = "[" + FormatDateTime("yyyy/mm/dd hh:nn:ss:zzz", now) + "] ";
    entry.append(text);
    return AppendLogEntry(folder, file, entry);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

std::string RegisteredBasePath() {
  TRegistry registry(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKeyReadOnly(kCorvaneKey)) return {};
  std::string base = registry.ReadString("ClientPath");
  return base.empty() ? registry.ReadString("ServerPath") : base;
}

bool AppendLogEntry(std::string_view folder, std::string_view file, std::string_view entry) {
  if (!DirectoryExists(folder) && !ForceDirectories(folder)) return false;
  const std::filesystem::path native = ToNativePath(file);
  if (native.empty()) return false;
  std::FILE* stream = std::fopen(native.c_str(), "ab");
  if (stream == nullptr) return false;
  const std::string line = std::string(entry) + "\r\n";
  const bool written = std::fwrite(line.data(), 1, line.size(), stream) == line.size();
  const bool closed = std::fclose(stream) == 0;
  return written && closed;
}

bool WriteAlertLog(std::string_view name, std::string_view text, std::string_view period) {
  return WriteAlertEntry(InstallationOrHostFolder, name, text, period);
}

bool WriteDownloaderAlertLog(std::string_view name, std::string_view text,
                             std::string_view period) {
  return WriteAlertEntry(HostFolder, name, text, period);
}

}  // namespace ox
