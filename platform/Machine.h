// The machine the system believes it runs on: the facts a Windows program asks the
// operating system for (logon name, computer name, ANSI code page, temporary folder,
// host program file, local time) and how Windows path texts map to this file system.
// One process-wide instance, filled from the environment on first use; tests and the
// reference host set its fields directly.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>

namespace ox {

// Days since 1899-12-30; the fraction is the time of day.
using TDateTime = double;

struct MachineSettings {
  // GetUserNameA: the logon name (narrow text). Environment: OX_USER, else the
  // process owner's name.
  std::string userName;
  // GetComputerNameA. Environment: OX_COMPUTER, else the host name.
  std::string computerName;
  // GetACP: 936 (GB), 950 (Big5), 1252 (English) or any code page ICU knows.
  // Environment: OX_ACP, else from LC_ALL/LC_CTYPE/LANG (zh_CN, zh_SG: 936;
  // zh_TW, zh_HK, zh_MO: 950; anything else: 1252).
  int ansiCodePage = 1252;
  // GetTempPathA: a Windows path text ending in "\"; empty: OX_TEMP, else the
  // temporary folder of this system (see GetTempPath).
  std::string tempPath;
  // GetModuleFileName of the program file (not of a plug-in), a Windows path text;
  // empty: the running executable (see HostExeName).
  std::string hostExeName;
  // The REGEDIT4 text file that stands in for the registry. Environment: OX_REGISTRY,
  // else "registry.reg" in the folder of drive C.
  std::filesystem::path registryFile;
  // Drive letters (upper case) and the folders they stand for. Environment: OX_DRIVE_C
  // and so on; drive C defaults to $XDG_DATA_HOME (or ~/.local/share)/mvar52/drive_c
  // and drive Z is the root of this file system, as under Wine.
  std::map<char, std::filesystem::path> drives;
  // The local date and time now. Tests replace it with a fixed clock.
  std::function<TDateTime()> clock;
  // The regional short date and long time formats (FormatDateTime tokens).
  std::string shortDateFormat = "yyyy/mm/dd";
  std::string longTimeFormat = "hh:nn:ss";
  // ShellExecute: opens a file or address with a shell verb ("open", "properties");
  // true when it was handed on. Unset: this machine has no shell to hand it to.
  std::function<bool(std::string_view verb, std::string_view file)> shellExecute;
};

// Hands a file or address to the machine's shell with a verb; false without a shell.
bool ShellExecute(std::string_view verb, std::string_view file);

// The process-wide settings. Reading them never fails.
MachineSettings& Machine();

// Settings read from the environment as on a fresh start, for tests that restore them.
MachineSettings MachineFromEnvironment();

// Sets the machine settings for the life of a scope and restores the old ones after.
class MachineScope {
 public:
  explicit MachineScope(MachineSettings settings);
  ~MachineScope();
  MachineScope(const MachineScope&) = delete;
  MachineScope& operator=(const MachineScope&) = delete;

 private:
  MachineSettings saved_;
};

// GetACP.
int GetACP();
// GetTempPathA: the temporary folder as a Windows path text ending in "\".
std::string GetTempPath();
// GetModuleFileName(0): the program file as a Windows path text.
std::string HostExeName();
// The running program's file on this system, whatever the settings say; empty when it
// cannot be told. Tests and tools find the files built beside them through it.
std::filesystem::path RunningProgramFile();
// Now and today by the machine's clock.
TDateTime Now();
TDateTime Today();

}  // namespace ox
