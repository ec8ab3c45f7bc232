// Alert logs: plain-text files of one line per event, "[YYYY/MM/DD hh:nn:ss:zzz] text",
// appended to "Alert_<name>_<date part>.log" in a "Log" folder. Writers never raise:
// a line that cannot be written makes the result false and the caller goes on.
#pragma once

#include <string_view>

namespace ox {

// Writes one line to the log of `name` in the installation's Log folder (the folder
// of ClientPath, else ServerPath, else of the host program). `period` chooses the file:
// "D" one a day (YYYYMMDD), "M" one a month (YYYYMM), "Y" one a year (YYYY); any other
// text is taken as "D".
bool WriteAlertLog(std::string_view name, std::string_view text, std::string_view period);

// The downloader's copy: the same line, in the Log folder beside the host program.
bool WriteDownloaderAlertLog(std::string_view name, std::string_view text,
                             std::string_view period);

}  // namespace ox
