#include "platform/DateTime.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/Exceptions.h"

namespace ox {

namespace {

constexpr long kDaysFrom0000ToEpoch = 693899;  // 0000-03-01 based count of 1899-12-30
constexpr double kMinDate = -693593.0;         // 0001-01-01
constexpr double kMaxDate = 2958466.0;         // the day after 9999-12-31

// Day count since 0000-03-01 (proleptic Gregorian), after H. Hinnant's civil algorithms.
long DaysFromCivil(long y, long m, long d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe;
}

DateParts CivilFromDays(long z) {
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  const long d = doy - (153 * mp + 2) / 5 + 1;
  const long m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int>(yoe + era * 400 + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

std::string TwoDigits(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d", value);
  return buffer;
}

std::string Digits(int value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
  return buffer;
}

// Length of the run of `c` (ignoring case) starting at `i`.
std::size_t RunLength(std::string_view format, std::size_t i) {
  const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(format[i])));
  std::size_t n = 0;
  while (i + n < format.size() && std::tolower(static_cast<unsigned char>(format[i + n])) == c)
    ++n;
  return n;
}

// Reads the unsigned numbers of a text, each with the character that ended it.
struct NumberToken {
  int value;
  char endedBy;
};

bool ReadNumbers(std::string_view text, std::vector<NumberToken>& out) {
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ')
      ++i;
    if (i >= text.size()) break;
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    long value = 0;
    std::size_t digits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
      if (++digits > 9) return false;
      value = value * 10 + (text[i++] - '0');
    }
    const char endedBy = i < text.size() ? text[i] : '\0';
    if (endedBy != '\0' && std::string_view("/-.: ").find(endedBy) == std::string_view::npos)
      return false;
    if (endedBy != '\0' && endedBy != ' ') ++i;
    out.push_back({static_cast<int>(value), endedBy});
  }
  return true;
}

}  // namespace

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInAMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int year, int month, int day) {
  return day >= 1 && day <= DaysInAMonth(year, month);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out) {
  if (!IsValidDate(year, month, day)) return false;
  out = static_cast<double>(DaysFromCivil(year, month, day) - kDaysFrom0000ToEpoch);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime value = 0;
  if (!TryEncodeDate(year, month, day, value))
    throw EConvertError("Invalid argument to date encode");
  return value;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& out) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999)
    return false;
  out = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / 86400000.0;
  return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  TDateTime value = 0;
  if (!TryEncodeTime(hour, minute, second, millisecond, value))
    throw EConvertError("Invalid argument to time encode");
  return value;
}

DateParts DecodeDate(TDateTime value) {
  const double day = std::trunc(value);
  if (!(day >= kMinDate && day < kMaxDate)) return {};
  return CivilFromDays(static_cast<long>(day) + kDaysFrom0000ToEpoch);
}

TimeParts DecodeTime(TDateTime value) {
  if (!std::isfinite(value)) return {};
  double fraction = std::fabs(value - std::trunc(value));
  auto ms = static_cast<long>(std::llround(fraction * 86400000.0));
  if (ms >= 86400000) ms = 86399999;
  return {static_cast<int>(ms / 3600000), static_cast<int>(ms / 60000 % 60),
          static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000)};
}

int DayOfWeek(TDateTime value) {
  // 1899-12-30 was a Saturday.
  const long days = static_cast<long>(std::trunc(value));
  return static_cast<int>(((days % 7) + 7 + 6) % 7) + 1;
}

std::string FormatDateTime(std::string_view format, TDateTime value) {
  const DateParts date = DecodeDate(value);
  const TimeParts time = DecodeTime(value);
  std::string out;
  bool afterHour = false;
  for (std::size_t i = 0; i < format.size();) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(format[i])));
    if (format[i] == '"' || format[i] == '\'') {
      const std::size_t close = format.find(format[i], i + 1);
      const std::size_t end = close == std::string_view::npos ? format.size() : close;
      out.append(format.substr(i + 1, end - i - 1));
      i = end + 1;
      continue;
    }
    const std::size_t n = RunLength(format, i);
    switch (c) {
      case 'y':
        out += n >= 3 ? Digits(date.year, 4) : TwoDigits(date.year % 100);
        break;
      case 'm':
        if (afterHour)
          out += n >= 2 ? TwoDigits(time.minute) : std::to_string(time.minute);
        else
          out += n >= 2 ? TwoDigits(date.month) : std::to_string(date.month);
        break;
      case 'd':
        out += n >= 2 ? TwoDigits(date.day) : std::to_string(date.day);
        break;
      case 'h':
        out += n >= 2 ? TwoDigits(time.hour) : std::to_string(time.hour);
        break;
      case 'n':
        out += n >= 2 ? TwoDigits(time.minute) : std::to_string(time.minute);
        break;
      case 's':
        out += n >= 2 ? TwoDigits(time.second) : std::to_string(time.second);
        break;
      case 'z':
        out += n >= 3 ? Digits(time.millisecond, 3) : std::to_string(time.millisecond);
        break;
      default:
        out.append(format.substr(i, n));
        break;
    }
    if (c != ' ' && c != ':' && c != '/' && c != '-' && c != '.') afterHour = c == 'h';
    i += n;
  }
  return out;
}

std::string DateTimeToStr(TDateTime value) {
  std::string text = FormatDateTime(Machine().shortDateFormat, value);
  if (value != std::trunc(value)) text += " " + FormatDateTime(Machine().longTimeFormat, value);
  return text;
}

bool TryStrToDateTime(std::string_view text, TDateTime& out) {
  std::vector<NumberToken> numbers;
  if (!ReadNumbers(text, numbers) || numbers.size() < 3) return false;
  // The order of year, month and day follows the short date format.
  int order[3] = {0, 1, 2};  // year, month, day positions
  std::string letters;
  for (char c : Machine().shortDateFormat) {
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if ((lower == 'y' || lower == 'm' || lower == 'd') && letters.find(lower) == std::string::npos)
      letters += lower;
  }
  if (letters.size() == 3)
    for (int part = 0; part < 3; ++part)
      order[part] = static_cast<int>(letters.find("ymd"[part]));
  int year = numbers[static_cast<std::size_t>(order[0])].value;
  const int month = numbers[static_cast<std::size_t>(order[1])].value;
  const int day = numbers[static_cast<std::size_t>(order[2])].value;
  if (year < 100) year += year < 50 ? 2000 : 1900;
  TDateTime date = 0;
  if (!TryEncodeDate(year, month, day, date)) return false;
  int timeParts[4] = {0, 0, 0, 0};
  const std::size_t timeCount = numbers.size() - 3;
  if (timeCount > 4 || timeCount == 1) return false;
  for (std::size_t i = 0; i < timeCount; ++i)
    timeParts[i] = numbers[3 + i].value;
  TDateTime time = 0;
  if (!TryEncodeTime(timeParts[0], timeParts[1], timeParts[2], timeParts[3], time)) return false;
  out = date < 0 ? date - time
                 : date + time;  // the fraction of a day before 1899-12-30 counts away from zero
  return true;
}

}  // namespace ox
