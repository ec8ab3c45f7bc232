#include "lib/LibStrs.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <limits>
#include <utility>
#include <vector>

#include "config/AlertLog.h"
#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "platform/DateTime.h"
#include "platform/Exceptions.h"

namespace ox {

namespace {

constexpr std::size_t npos = std::string_view::npos;

// Whether a byte starts a two-byte character of the system code page. Each byte value
// is asked for once in the life of the object, which lives for one call of the unit;
// lead bytes all lie above ASCII, which spares the asking for most bytes.
class LeadBytes {
 public:
  bool operator()(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) return false;
    Answer& answer = answers_[byte - 0x80];
    if (answer == kUnasked) answer = IsDBCSLeadByte(byte) ? kLead : kSingle;
    return answer == kLead;
  }

 private:
  enum Answer : std::uint8_t { kUnasked, kLead, kSingle };
  std::array<Answer, 128> answers_{};
};

// The first `sep` in `text` at or after `from` (a character start) that starts at a
// character start; npos when there is none or `sep` is empty.
std::size_t FindText(std::string_view text, std::string_view sep, LeadBytes& isLead,
                     std::size_t from = 0) {
  if (sep.empty()) return npos;
  for (std::size_t i = from; i < text.size(); i += isLead(text[i]) ? 2 : 1)
    if (text[i] == sep[0] && text.substr(i, sep.size()) == sep) return i;
  return npos;
}

// Drops blanks and control characters (every byte up to " ") at both ends.
std::string_view TrimControls(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
    ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
    --last;
  return text.substr(first, last - first);
}

// `count` bytes of `text` from `pos`, fewer or none where the text ends first.
std::string_view Part(std::string_view text, std::size_t pos, std::size_t count) {
  return text.substr(std::min(pos, text.size()), count);
}

// The text up to its first NUL, as the Windows calls read a terminated buffer.
template <typename Char>
std::basic_string_view<Char> UpToNul(std::basic_string_view<Char> text) {
  return text.substr(0, text.find(Char{}));
}

// Reads the whole text as an Integer; false when it is none or out of range.
bool TryStrToInt(std::string_view text, int& out) {
  std::int64_t value = 0;
  if (!TryStrToInt64(text, value) || value < std::numeric_limits<int>::min() ||
      value > std::numeric_limits<int>::max())
    return false;
  out = static_cast<int>(value);
  return true;
}

// The whole text as an Integer, else `fallback` (StrToIntDef).
int IntOrDefault(std::string_view text, int fallback) {
  int value = fallback;
  return TryStrToInt(text, value) ? value : fallback;
}

// The whole text as an Integer; raises EConvertError when it is none (StrToInt).
int StrToInt(std::string_view text) {
  int value = 0;
  if (!TryStrToInt(text, value))
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
  return value;
}

// A day count beyond an Integer moves any date out of the calendar, as the bound does.
int ClampDays(std::int64_t days) {
  return static_cast<int>(std::clamp<std::int64_t>(days, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

// `value` with at least `digits` digits ("%.*d").
std::string ZeroPadded(std::int64_t value, int digits) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.*lld", digits, static_cast<long long>(value));
  return buffer;
}

std::string YearMonthDay(const DateParts& date) {
  return ZeroPadded(date.year, 4) + ZeroPadded(date.month, 2) + ZeroPadded(date.day, 2);
}

// Year, month and day from characters 1-4, 5-6 and 7-8 of a "yyyymmdd" text; 0 for a
// part that is no number.
DateParts DigitsOfDate(std::string_view text) {
  return {IntOrDefault(Part(text, 0, 4), 0), IntOrDefault(Part(text, 4, 2), 0),
          IntOrDefault(Part(text, 6, 2), 0)};
}

// The last day of the month of a "yyyymmdd" text.
std::string LastDayOfMonth(std::string_view date) {
  const DateParts parts = DigitsOfDate(date);
  return std::string(Part(date, 0, 6)) + std::to_string(DaysOfMonth(parts.year, parts.month));
}

int WeekdayOf(std::string_view date) {
  return DayOfWeek(TransDateIn(date));
}

// ---- SwapStr ---------------------------------------------------------------

// Replaces the first `oldText` again and again, each time searching from the start, until
// none is left, so that replacements can meet: "   " with "  " swapped for " " ends as
// " ". The text before a replacement never holds `oldText`, so one pass that reads each
// inserted `newText` again, with the rest of the text after it, gives the same result.
// A `newText` holding `oldText` is not read again: that replacement would never end.
std::string ReplaceRepeatedly(std::string_view text, std::string_view oldText,
                              std::string_view newText) {
  const bool readAgain = newText.find(oldText) == npos;
  std::string input(text.rbegin(), text.rend());  // the bytes still to read, the next last
  std::string out;
  LeadBytes isLead;
  std::vector<bool> charStarts;  // for each byte of `out`: whether a character starts there
  auto take = [&](bool charStart) {
    out.push_back(input.back());
    input.pop_back();
    charStarts.push_back(charStart);
  };
  while (!input.empty()) {
    take(true);
    if (isLead(out.back()) && !input.empty()) take(false);
    const std::size_t at = out.size() - std::min(out.size(), oldText.size());
    if (out.size() < oldText.size() || !charStarts[at] || !out.ends_with(oldText)) continue;
    out.resize(at);
    charStarts.resize(at);
    if (readAgain) {
      input.append(newText.rbegin(), newText.rend());
    } else {
      out.append(newText);
      charStarts.resize(out.size(), false);
    }
  }
  return out;
}

// ---- date kinds ------------------------------------------------------------

// The parts of a date text in their order, the digits of the year and the year its
// count starts from (kinds 4 and 5 count from 1911).
struct DateKindFormat {
  std::array<char, 3> order;
  int yearDigits;
  int yearBase;
};

constexpr std::array<DateKindFormat, 5> kDateKinds{{
    {{'Y', 'M', 'D'}, 4, 0},     // 1 dt_YYYYMMDD
    {{'M', 'D', 'Y'}, 4, 0},     // 2 dt_MMDDYYYY
    {{'D', 'M', 'Y'}, 4, 0},     // 3 dt_DDMMYYYY
    {{'Y', 'M', 'D'}, 2, 1911},  // 4 dt_YYMMDD
    {{'Y', 'M', 'D'}, 3, 1911},  // 5 dt_YYYMMDD
}};

bool IsDateKind(int kind) {
  return kind >= 1 && kind <= static_cast<int>(kDateKinds.size());
}

// The date text of `kind`, without the day for a month text. Empty for 0, for a kind
// outside 1 to 5 (the host only passes its own date kind) and outside the calendar.
std::string FormatDateKind(TDateTime date, int kind, std::string_view sep, bool withDay) {
  if (date == 0 || !IsDateKind(kind)) return {};
  const DateParts parts = DecodeDate(date);
  if (parts.year == 0) return {};
  const DateKindFormat& format = kDateKinds[static_cast<std::size_t>(kind - 1)];
  std::string text;
  for (const char part : format.order) {
    if (part == 'D' && !withDay) continue;
    if (!text.empty()) text.append(sep.substr(0, 1));
    if (part == 'Y')
      text += ZeroPadded(parts.year - format.yearBase, format.yearDigits);
    else
      text += ZeroPadded(part == 'M' ? parts.month : parts.day, 2);
  }
  return text;
}

// ---- schedules -------------------------------------------------------------
// Weekdays count 1 (Sunday) to 7 (Saturday); the period parameters count them from 0.

// A count of periods below 1 is taken as 1: the first run never falls before the start
// and the monthly search ends.
int EveryCount(const Variant& count) {
  return std::max(1, count.asInteger());
}

// P = [every n weeks, weekday].
std::string WeeklyRun(std::string_view start, const Variant& p) {
  const int every = EveryCount(p[0]);
  const std::int64_t weekday = std::int64_t{p[1].asInteger()} + 1;
  const std::int64_t weeks = weekday >= WeekdayOf(start) ? every - 1 : every;
  const std::string jumped = ShiftDate(start, "D", ClampDays(weeks * 7));
  if (jumped.empty()) return jumped;
  return ShiftDate(jumped, "D", ClampDays(weekday - WeekdayOf(jumped)));
}

// P = [0, every n months, day of the month].
std::string MonthlyDayRun(std::string_view start, const Variant& p) {
  int months = EveryCount(p[1]);
  const int day = p[2].asInteger();
  if (day >= DecodeDate(TransDateIn(start)).day) --months;  // not yet passed this month
  const std::string month = ShiftDate(start, "M", months);
  if (month.empty()) return month;
  // A day of three digits would make a nine-character text whose day CheckDate misreads.
  const std::string candidate = month.substr(0, 6) + ZeroPadded(day, 2);
  return candidate.size() == 8 && CheckDate(candidate) ? candidate : LastDayOfMonth(month);
}

// The week-th (0 first to 3 fourth, 4 last) `weekday` of the month of `date`.
std::string WeekdayInMonth(std::string_view date, int week, std::int64_t weekday) {
  if (date.empty()) return {};
  if (week == 4) {
    const std::string last = LastDayOfMonth(date);
    const std::int64_t back = WeekdayOf(last) - weekday;
    return ShiftDate(last, "D", ClampDays(-(back >= 0 ? back : back + 7)));
  }
  const std::string first = std::string(Part(date, 0, 6)) + "01";
  const std::int64_t ahead = weekday - WeekdayOf(first);
  return ShiftDate(first, "D", ClampDays((ahead >= 0 ? ahead : ahead + 7) + 7LL * week));
}

// P = [1, every n months, week, weekday]: tries the month n - 1 months on, then the one
// n months on when that day has passed. `result` holds each step, so a failure leaves
// the last date worked out. A week outside 0 to 4 names no day and gives no date.
void MonthlyWeekdayRun(std::string_view start, const Variant& p, std::string& result) {
  const int every = EveryCount(p[1]);
  const int week = p[2].asInteger();
  const std::int64_t weekday = std::int64_t{p[3].asInteger()} + 1;
  if (week < 0 || week > 4) return;
  for (const int months : {every - 1, every}) {
    result = WeekdayInMonth(ShiftDate(start, "M", months), week, weekday);
    if (std::string_view(result) >= start) return;
  }
}

// ---- relative dates --------------------------------------------------------

constexpr std::string_view kFieldSep = "\x03";

// The #3-separated fields of a dynamic-field record, numbered from 1; a missing field
// reads as empty.
class RecordFields {
 public:
  explicit RecordFields(std::string record) {
    while (!record.empty())
      fields_.push_back(CutToken(record, kFieldSep));
  }
  std::string_view operator[](std::size_t number) const {
    return number >= 1 && number <= fields_.size() ? std::string_view(fields_[number - 1])
                                                   : std::string_view();
  }

 private:
  std::vector<std::string> fields_;
};

// The value that fields first to first + 3 (count, unit, mode, days) make of `base`:
// `base` itself when count, mode and days are all "0".
std::string RelativeDate(std::string_view base, const RecordFields& f, std::size_t first) {
  if (f[first] == "0" && f[first + 2] == "0" && f[first + 3] == "0") return std::string(base);
  return UpdateDate(base, f[first], f[first + 1], f[first + 2], f[first + 3]);
}

// Fills the relative dates of one record into `params`. A range entry (field 1 "0")
// holds both edges of parameter [field 14]; a single entry parameter [field 9].
void ApplyRelativeRecord(const RecordFields& f, std::string_view runDate, Variant& params) {
  const bool range = f[1] == "0";
  const bool fullDates = f[range ? 13 : 8] == "D";
  const std::string_view base = fullDates ? runDate : runDate.substr(0, 6);
  if (!range) {
    if (f[3] == "Y") params[StrToInt(f[9])] = Variant(RelativeDate(base, f, 4));
    return;
  }
  Variant& edges = params[StrToInt(f[14])];
  if (f[3] == "Y") edges[1] = Variant(RelativeDate(base, f, 4));
  if (f[8] == "Y") edges[2] = Variant(RelativeDate(base, f, 9));
}

// ---- code pages ------------------------------------------------------------

using TextConversion = Variant (*)(const Variant& text, int codePage);

// A narrow text (a wide one first goes to the system code page) decoded from
// `codePage` up to its first NUL; a code page that decodes nothing gives way to the
// system conversion.
Variant DecodeText(const Variant& text, int codePage) {
  const std::string bytes = text.asString();
  const std::string_view terminated = UpToNul(std::string_view(bytes));
  if (terminated.empty()) return Variant(std::u16string());
  std::u16string wide = MultiByteToWide(codePage, terminated);
  if (wide.empty()) wide = MultiByteToWide(GetACP(), bytes);
  return Variant(std::move(wide));
}

// A wide text (a narrow one first decoded from the system code page) encoded into
// `codePage` up to its first NUL; a code page that encodes nothing gives way to the
// system conversion.
Variant EncodeText(const Variant& text, int codePage) {
  const std::u16string wide = text.asWide();
  const std::u16string_view terminated = UpToNul(std::u16string_view(wide));
  if (terminated.empty()) return Variant(std::string());
  std::string bytes = WideToMultiByte(codePage, terminated);
  if (bytes.empty()) bytes = WideToMultiByte(GetACP(), wide);
  return Variant(std::move(bytes));
}

// Converts in place `v` when it is a text, every text of a two-dimensional array, and
// every text of a one-dimensional array and of the arrays nested in it. Texts of both
// kinds are converted, in arrays as alone: the forms put narrow texts into job values,
// and leaving them would send them unconverted.
void ConvertTexts(Variant& v, TextConversion convert, int codePage) {
  if (v.isText()) {
    v = convert(v, codePage);
    return;
  }
  if (!v.isArray()) return;
  const bool walkNested = v.array().dimCount() == 1;
  for (Variant& element : v.array().elements())
    if (element.isText() || (walkNested && element.isArray()))
      ConvertTexts(element, convert, codePage);
}

// The converted copy of `v`; on a failure one line "<line><message>" goes to the alert
// log and `v` comes back as it was.
Variant ConvertVariantTexts(const Variant& v, TextConversion convert, int codePage,
                            std::string_view line) {
  try {
    Variant result = v;
    ConvertTexts(result, convert, codePage);
    return result;
  } catch (const std::exception& error) {
    WriteAlertLog("libstrs", std::string(line) + error.what(), "D");
    return v;
  }
}

}  // namespace

// ---- texts -----------------------------------------------------------------

std::string GetToken(std::string_view s, std::string_view sep, int index) {
  LeadBytes isLead;
  std::string_view piece;
  int i = 1;
  bool found = !s.empty();
  while (i <= index && found) {
    const std::size_t p = FindText(s, sep, isLead);
    found = p != npos;
    if (found) {
      piece = s.substr(0, p);
      s.remove_prefix(p + sep.size());
      ++i;
    } else {
      piece = s;
    }
  }
  return index > i ? std::string() : std::string(piece);
}

std::string CutToken(std::string& s, std::string_view sep) {
  LeadBytes isLead;
  const std::size_t p = FindText(s, sep, isLead);
  std::string piece;
  if (p == npos) {
    piece.swap(s);
  } else {
    piece = s.substr(0, p);
    s.erase(0, p + sep.size());
  }
  return piece;
}

int NumToken(std::string_view s, std::string_view sep) {
  if (s.empty()) return 0;
  // Each search goes on from the byte after the last separator found, as overwriting
  // that byte and searching again from the start would: overlapping separators count.
  LeadBytes isLead;
  int count = 1;
  for (std::size_t p = FindText(s, sep, isLead); p != npos; p = FindText(s, sep, isLead, p + 1))
    ++count;
  return count;
}

std::string PadR(std::string_view s, std::span<const int> params) {
  std::string result(s);
  if (params.empty() || params[0] <= 0) return result;
  const char pad = params.size() > 1 ? static_cast<char>(params[1]) : ' ';
  if (result.size() < static_cast<std::size_t>(params[0]))
    result.resize(static_cast<std::size_t>(params[0]), pad);
  return result;
}

std::string SwapStr(std::string_view s, std::string_view oldText, std::string_view newText,
                    bool doTrim) {
  std::string result = oldText.empty() || SameTextAscii(oldText, newText)
                           ? std::string(s)
                           : ReplaceRepeatedly(s, oldText, newText);
  return doTrim ? std::string(TrimControls(result)) : result;
}

std::string GetCHTButtonCaption(std::string_view name) {
  static constexpr std::pair<std::string_view, std::string_view> kCaptions[] = {
      {"Yes", "是(&Y)"},        {"No", "否(&N)"},      {"OK", "确定"},
      {"Cancel", "取消"},       {"Abort", "中断(&A)"}, {"Retry", "重试(&R)"},
      {"Ignore", "忽略(&I)"},   {"All", "全部(&A)"},   {"NoToAll", "全否(&o)"},
      {"YesToAll", "全是(&A)"}, {"Help", "帮助(&H)"},
  };
  for (const auto& [button, caption] : kCaptions)
    if (name == button) return Gb(caption);
  return std::string(name);
}

bool IsLocalAddress(std::string_view host) {
  return host == "127.0.0.1";
}

double ValFloatDef(std::string_view s, double fallback) {
  double value = 0;
  return TryStrToFloat(s, value) ? value : fallback;
}

std::string GetLongTempPath() {
  // Folders here have no short names, so the long name is the path itself. Windows
  // answers into a buffer of MAX_PATH characters and leaves it empty when the path does
  // not fit.
  constexpr std::size_t kMaxPath = 260;
  std::string path = GetTempPath();
  return path.size() < kMaxPath ? path : std::string();
}

// ---- dates -----------------------------------------------------------------

std::string DateToString(TDateTime date, int kind, std::string_view sep) {
  return FormatDateKind(date, kind, sep, true);
}

std::string MonthToString(TDateTime date, int kind, std::string_view sep) {
  return FormatDateKind(date, kind, sep, false);
}

TDateTime StringToDate(std::string_view s, int kind, std::string_view sep) {
  std::string rest(TrimControls(s));
  if (rest.empty() || !IsDateKind(kind)) return 0;
  std::array<int, 3> pieces{};
  for (int& piece : pieces) {
    const std::string text = CutToken(rest, sep);
    piece = IntOrDefault(TrimControls(text), -1);
    if (piece <= 0) return 0;
  }
  const auto [a, b, c] = pieces;
  std::int64_t year = a;
  int month = b;
  int day = c;
  if (kind == 2) {
    month = a;
    day = b;
    year = c;
  } else if (kind == 3) {
    day = a;
    month = b;
    year = c;
  } else if (kind >= 4) {
    year += 1911;
  }
  TDateTime first = 0;
  if (year > 9999 || !TryEncodeDate(static_cast<int>(year), month, 1, first)) return 0;
  return first + (day - 1);
}

TDateTime TransDateIn(std::string_view s) {
  TDateTime date = 0;
  if (s.size() != 8) return 0;
  const DateParts parts = DigitsOfDate(s);
  return TryEncodeDate(parts.year, parts.month, parts.day, date) ? date : 0;
}

bool CheckDate(std::string_view s) {
  if (s.empty()) return true;
  const DateParts parts = DigitsOfDate(s);
  return IsValidDate(parts.year, parts.month, parts.day) && s >= "17530101" && s <= "99991231";
}

std::string ShiftDate(const Variant& date, std::string_view unit, int amount) {
  TDateTime value = 0;
  if (date.isText())
    value = TransDateIn(date.asString());
  else if (date.type() == varDate)
    value = date.asDate();
  const DateParts parts = DecodeDate(value);
  if (value == 0 || parts.year == 0) return {};
  if (SameTextAscii(unit, "D")) {
    const DateParts moved = DecodeDate(value + amount);
    return moved.year == 0 ? std::string() : YearMonthDay(moved);
  }
  std::int64_t months = 0;
  if (SameTextAscii(unit, "Y"))
    months = std::int64_t{amount} * 12;
  else if (SameTextAscii(unit, "M"))
    months = amount;
  else
    return {};
  // The day stays, lowered to the last of a shorter month (31 January + 1 month is the
  // last of February, 29 February + 1 year is 28 February). Years outside 1 to 9999
  // leave the calendar and give no date.
  const std::int64_t total = std::int64_t{parts.year} * 12 + parts.month - 1 + months;
  if (total < 12 || total >= 10000 * 12) return {};
  const int year = static_cast<int>(total / 12);
  const int month = static_cast<int>(total % 12) + 1;
  return YearMonthDay({year, month, std::min(parts.day, DaysOfMonth(year, month))});
}

int DaysOfMonth(int year, int month) {
  // A leap year and a common year of the calendar stand for every year of their kind.
  return DaysInAMonth(IsLeapYear(year) ? 2000 : 2001, month);
}

std::string UpdateDate(std::string_view base, std::string_view amount, std::string_view unitFlag,
                       std::string_view mode, std::string_view days) {
  const int count = StrToInt(amount);
  if (base.size() <= 6) return ShiftDate(std::string(base) + "01", "M", count).substr(0, 6);
  if (unitFlag == "0") {
    if (mode == "0") return ShiftDate(base, "D", ClampDays(count * 7LL + StrToInt(days)));
    return WeekEdgeDate(base, amount, mode);
  }
  const std::string moved = ShiftDate(base, "M", count);
  if (moved.empty()) return moved;
  if (mode == "0") return ShiftDate(moved, "D", StrToInt(days));
  if (mode == "1") return moved.substr(0, 6) + "01";
  if (mode == "2") return LastDayOfMonth(moved);
  return moved;
}

std::string WeekEdgeDate(std::string_view base, std::string_view weeks, std::string_view mode) {
  const std::string moved = ShiftDate(base, "D", ClampDays(StrToInt(weeks) * 7LL));
  if (moved.empty()) return moved;
  const int weekday = WeekdayOf(moved);
  return ShiftDate(moved, "D", mode == "1" ? 1 - weekday : 7 - weekday);
}

std::string ClientScheduleDate(std::string_view startDate, const Variant& period) {
  std::string result;
  try {
    switch (period[0].asInteger()) {
      case 0:
        result = ShiftDate(startDate, "D", 0);
        break;
      case 1:
        result = WeeklyRun(startDate, period[1]);
        break;
      case 2: {
        const Variant& p = period[1];
        const int subKind = p[0].asInteger();
        if (subKind == 0) result = MonthlyDayRun(startDate, p);
        if (subKind == 1) MonthlyWeekdayRun(startDate, p, result);
        break;
      }
      default:
        break;
    }
  } catch (const std::exception&) {
    // A period that cannot be read leaves the result as far as it was worked out.
  }
  return result;
}

Variant GetPeriodRptOption(const Variant& options, std::string_view runDate) {
  try {
    Variant params = options[1];
    const Variant& records = options[3];
    const int count = records[0].asInteger();
    for (int i = 1; i <= count; ++i)
      ApplyRelativeRecord(RecordFields(records[i].asString()), runDate, params);
    return params;
  } catch (const std::exception&) {
    return Variant(std::string());
  }
}

// ---- Variants --------------------------------------------------------------

Variant IIF(bool cond, const Variant& a, const Variant& b) {
  return cond ? a : b;
}

bool IsVarEmptyOrNull(const Variant& v) {
  return VarIsClear(v);
}

Variant OxStrToWideString(const Variant& v, int codePage) {
  return ConvertVariantTexts(v, DecodeText, codePage, "LINE[115] ");
}

Variant OxWideStringToStr(const Variant& v, int codePage) {
  return ConvertVariantTexts(v, EncodeText, codePage, "LINE[2735] ");
}

std::u16string BLVariantToWideString(std::string_view prefix, const Variant& list) {
  constexpr char16_t kSep = u'\x03';
  auto textOf = [](const Variant& v) { return v.isNull() ? std::u16string() : v.asWide(); };
  try {
    const int count = list[0].asInteger();
    std::u16string text = MultiByteToWide(GetACP(), prefix);
    text.append(1, kSep).append(textOf(list[0])).append(1, kSep);
    for (int i = 1; i <= count; ++i)
      text.append(textOf(list[i])).append(1, kSep);
    return text;
  } catch (const Exception&) {
    return {};
  }
}

}  // namespace ox
