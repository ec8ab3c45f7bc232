// Alert logs: plain-text files of one line per event, "[YYYY/MM/DD hh:nn:ss:zzz] text",
// appended to "Alert_<name>_<date part>.log" in a "Log" folder. Writers never raise:
// a line that cannot be written makes the result false and the caller goes on.
#pragma once

#include <string>
#include <string_view>

namespace ox {

// The installation's registry key below HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kCorvaneKey = "Software\\QMX\\Corvane";

// Writes one line to the log of `name` in the installation's Log folder (the folder
// of ClientPath, else ServerPath, else of the host program). `period` chooses the file:
// "D" one a day (YYYYMMDD), "M" one a month (YYYYMM), "Y" one a year (YYYY); any other
// text is taken as "D".
bool WriteAlertLog(std::string_view name, std::string_view text, std::string_view period);

// The downloader's copy: the same line, in the Log folder beside the host program.
bool WriteDownloaderAlertLog(std::string_view name, std::string_view text, std::string_view period);

// The installation folder the registry names: ClientPath, else ServerPath; empty when
// both are empty or the key cannot be opened.
std::string RegisteredBasePath();

// Appends `entry` and CR LF to the log file `file` in `folder` (Windows path texts),
// creating the folder and its missing parents first. False when a step fails.
bool AppendLogEntry(std::string_view folder, std::string_view file, std::string_view entry);

}  // namespace ox
