// Date-time values as the system keeps them: TDateTime is a count of days since
// 1899-12-30, its fraction the time of day. Valid dates run from 0001-01-01 to
// 9999-12-31 (proleptic Gregorian calendar).
#pragma once

#include <string>
#include <string_view>

#include "platform/Machine.h"

namespace ox {

bool IsLeapYear(int year);
// Days of the month (28 to 31); 0 for a month outside 1..12 or a year outside 1..9999.
int DaysInAMonth(int year, int month);
bool IsValidDate(int year, int month, int day);

// Builds a date; false (and `out` untouched) when year, month or day are invalid.
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
// Builds a date; raises EConvertError for an invalid date.
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& out);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);

struct DateParts {
  int year = 0, month = 0, day = 0;
};
struct TimeParts {
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};
// The calendar date of the integral part (outside the valid range: all zero).
DateParts DecodeDate(TDateTime value);
// The time of day of the fraction, rounded to the millisecond.
TimeParts DecodeTime(TDateTime value);

// 1 for Sunday to 7 for Saturday.
int DayOfWeek(TDateTime value);

// Formats with the tokens yyyy yy mm m dd d hh h nn n ss s zzz z (m right after an
// hour token means minutes), "/" and ":" as they stand, and quoted literal text.
std::string FormatDateTime(std::string_view format, TDateTime value);
// The short date format of the machine, followed by the long time format when the
// value has a time of day.
std::string DateTimeToStr(TDateTime value);
// Reads a date (in the order of the machine's short date format, with "/", "-" or "."
// between the parts) and an optional time "h:n[:s[.z]]"; false when it cannot.
bool TryStrToDateTime(std::string_view text, TDateTime& out);

}  // namespace ox
