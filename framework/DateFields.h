// DateFields: the texts behind the option forms' date and year-month controls. The
// company's date layout (settings "Sys001" and "Sys002") gives the edit masks and the
// blank texts the controls show, and the typed texts are normalised into the internal
// "yyyymmdd" and "yyyymm" forms. Everything here is pure; the forms read the settings
// and apply the results to their controls.
#pragma once

#include <string>
#include <string_view>

#include "controls/SelectPnl.h"
#include "platform/Machine.h"

namespace ox {

// The company's date layout. Format: 1 YYYY MM DD, 2 MM DD YYYY, 3 DD MM YYYY, 4 YY MM DD
// and 5 YYY MM DD (years since 1911); the separator goes between the parts.
struct DateSettings {
  int format = 1;
  std::string separator = "/";
};

// The layout from the texts of "Sys001" (format: 1 when it is no number) and "Sys002"
// (separator: "/" when empty).
DateSettings ReadDateSettings(std::string_view sys001, std::string_view sys002);

// Edit masks that keep their literals and show blanks, e.g. "9999/99/99;1; ". Formats 2
// and 3 put the year last; every other format puts it first, with four digits unless
// the format is 4 (two) or 5 (three).
std::string DateEditMask(const DateSettings& settings);
std::string YearMonthEditMask(const DateSettings& settings);
// What such a masked edit shows when nothing is typed, e.g. "    /  /  ".
std::string BlankDateText(const DateSettings& settings);
std::string BlankYearMonthText(const DateSettings& settings);

// The typed date as "yyyymmdd": "" for an empty or blank text; the trimmed text as it
// is when one of its three parts is no number; "" for a format outside 1 to 5. The
// result is not checked: IsValidDateText tells whether it is a real date.
std::string NormalizeDate(std::string_view text, const DateSettings& settings);
// The typed year and month as "yyyymm": "" for the blank text; the trimmed text as it is
// when a part is 0 or no number (so that the check refuses it); "" for a format outside
// 1 to 5.
std::string NormalizeYearMonth(std::string_view text, const DateSettings& settings);
// True for "" and a real date "yyyymmdd" from 17530101 to 99991231.
bool IsValidDateText(std::string_view yyyymmdd);
// True when the typed year-month holds nothing: its trim is empty, the separator alone
// or the trimmed blank text.
bool YearMonthIsBlank(std::string_view text, const DateSettings& settings);

// The date the quick-pick window opens at: `text` when it is exactly 8 characters long
// (a "yyyymmdd" value), else `today` as "yyyymmdd".
std::string DateQuickPickStart(std::string_view text, TDateTime today);
// What the date control shows after the quick pick: `text` when the trimmed answer is
// empty (nothing chosen); else the answer, a "yyyymmdd" date, written in the date format
// with the separator, and "" when the answer is no such date.
std::string DateQuickPickResult(std::string_view answer, std::string_view text,
                                const DateSettings& settings);

// The selection panel's date type of a date format: 1 dt_YYYYMMDD ... 5 dt_YYYMMDD,
// dt_NoneCare for any other format.
TDateType PanelDateType(int format);

}  // namespace ox
