#include "framework/DateFields.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "lib/LibStrs.h"
#include "platform/AsciiText.h"
#include "platform/DateTime.h"
#include "platform/Variant.h"

namespace ox {
namespace {

// Minguo years count from 1911.
constexpr int kMinguoBase = 1911;

// The whole text as an Integer, else `fallback`.
int IntOrDefault(std::string_view text, int fallback) {
  std::int64_t value = 0;
  if (!TryStrToInt64(text, value) || value < std::numeric_limits<int>::min() ||
      value > std::numeric_limits<int>::max())
    return fallback;
  return static_cast<int>(value);
}

bool YearLast(int format) {
  return format == 2 || format == 3;
}

int YearDigits(int format) {
  return format == 4 ? 2 : format == 5 ? 3 : 4;
}

// The year, month and (when `withDay`) day pieces joined by the separator in the order
// the format types them.
std::string Layout(const DateSettings& settings, std::string_view year, std::string_view pair,
                   bool withDay) {
  const std::string& sep = settings.separator;
  std::string pairs(pair);
  if (withDay) pairs.append(sep).append(pair);
  if (YearLast(settings.format)) return pairs + sep + std::string(year);
  return std::string(year) + sep + pairs;
}

std::string Mask(const DateSettings& settings, bool withDay) {
  const std::string year(static_cast<std::size_t>(YearDigits(settings.format)), '9');
  return Layout(settings, year, "99", withDay) + ";1; ";
}

std::string Blank(const DateSettings& settings, bool withDay) {
  const std::string year(static_cast<std::size_t>(YearDigits(settings.format)), ' ');
  return Layout(settings, year, "  ", withDay);
}

// The first N pieces of `text` cut at the separator, each read as an Integer (-1 when it
// is none).
template <std::size_t N>
std::array<int, N> TypedParts(std::string_view text, const DateSettings& settings) {
  std::array<int, N> parts{};
  for (std::size_t i = 0; i < N; ++i)
    parts[i] = IntOrDefault(GetToken(text, settings.separator, static_cast<int>(i) + 1), -1);
  return parts;
}

// At least two digits, after the sign of a negative value.
std::string TwoDigits(int value) {
  std::array<char, 16> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%.2d", value);
  return buffer.data();
}

// The year as it stands, then the month and day with at least two digits each.
std::string Joined(std::int64_t year, int month) {
  return std::to_string(year) + TwoDigits(month);
}
std::string Joined(std::int64_t year, int month, int day) {
  return Joined(year, month) + TwoDigits(day);
}

}  // namespace

DateSettings ReadDateSettings(std::string_view sys001, std::string_view sys002) {
  return {IntOrDefault(sys001, 1), sys002.empty() ? std::string("/") : std::string(sys002)};
}

std::string DateEditMask(const DateSettings& settings) {
  return Mask(settings, true);
}

std::string YearMonthEditMask(const DateSettings& settings) {
  return Mask(settings, false);
}

std::string BlankDateText(const DateSettings& settings) {
  return Blank(settings, true);
}

std::string BlankYearMonthText(const DateSettings& settings) {
  return Blank(settings, false);
}

std::string NormalizeDate(std::string_view text, const DateSettings& settings) {
  const std::string_view trimmed = TrimText(text);
  if (trimmed.empty() || trimmed == TrimText(BlankDateText(settings))) return {};
  const auto [p1, p2, p3] = TypedParts<3>(trimmed, settings);
  if (p1 == -1 || p2 == -1 || p3 == -1) return std::string(trimmed);
  switch (settings.format) {
    case 1:
      return Joined(p1, p2, p3);
    case 2:
      return Joined(p3, p1, p2);
    case 3:
      return Joined(p3, p2, p1);
    case 4:
    case 5:
      return Joined(std::int64_t{p1} + kMinguoBase, p2, p3);
    default:
      return {};
  }
}

std::string NormalizeYearMonth(std::string_view text, const DateSettings& settings) {
  const std::string_view trimmed = TrimText(text);
  if (trimmed == TrimText(BlankYearMonthText(settings))) return {};
  const auto [p1, p2] = TypedParts<2>(trimmed, settings);
  // A part that is 0 or no number leaves the text as typed, so that the check refuses
  // it: "  /05" must not become the year 1910 under the Minguo formats.
  if (p1 <= 0 || p2 <= 0) return std::string(trimmed);
  switch (settings.format) {
    case 1:
      return Joined(p1, p2);
    case 2:
    case 3:
      return Joined(p2, p1);
    case 4:
    case 5:
      return Joined(std::int64_t{p1} + kMinguoBase, p2);
    default:
      return {};
  }
}

bool IsValidDateText(std::string_view yyyymmdd) {
  return CheckDate(yyyymmdd);
}

bool YearMonthIsBlank(std::string_view text, const DateSettings& settings) {
  // The blank text trims to the separator alone; an empty plain edit is blank too.
  const std::string_view trimmed = TrimText(text);
  return trimmed.empty() || trimmed == TrimText(BlankYearMonthText(settings));
}

std::string DateQuickPickStart(std::string_view text, TDateTime today) {
  return text.size() == 8 ? std::string(text) : FormatDateTime("yyyymmdd", today);
}

std::string DateQuickPickResult(std::string_view answer, std::string_view text,
                                const DateSettings& settings) {
  const std::string_view chosen = TrimText(answer);
  if (chosen.empty()) return std::string(text);
  return DateToString(TransDateIn(chosen), settings.format, settings.separator);
}

TDateType PanelDateType(int format) {
  return format >= 1 && format <= 5 ? static_cast<TDateType>(format) : TDateType::dt_NoneCare;
}

}  // namespace ox
