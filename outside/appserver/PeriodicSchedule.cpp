#include "outside/appserver/PeriodicSchedule.h"

#include <algorithm>
#include <cmath>

#include "lib/LibStrs.h"
#include "platform/DateTime.h"
#include "platform/Exceptions.h"

namespace ox::appserver {

namespace {

enum CycleKind { kDaily = 0, kWeekly = 1, kMonthly = 2, kHourly = 3 };
enum RangeKind { kNoEnd = 0, kRuns = 1, kEndDate = 2 };

std::string DateText(TDateTime t) {
  return FormatDateTime("yyyymmdd", t);
}

// "hh:mm" as a fraction of a day; 0 when it does not read.
TDateTime TimeOfDay(const Variant& text) {
  const std::string hhmm = VarToStr(text);
  std::int64_t hour = 0;
  std::int64_t minute = 0;
  const std::size_t colon = hhmm.find(':');
  if (colon == std::string::npos || !TryStrToInt64(hhmm.substr(0, colon), hour) ||
      !TryStrToInt64(hhmm.substr(colon + 1), minute) || hour < 0 || hour > 23 || minute < 0 ||
      minute > 59)
    return 0;
  return EncodeTime(static_cast<int>(hour), static_cast<int>(minute), 0, 0);
}

// The run date after `last` by the cycle pattern, "yyyymmdd"; empty when none.
std::string NextDate(const Variant& pattern, TDateTime last) {
  const Variant& p = pattern[1];
  switch (pattern[0].asInteger()) {
    case kDaily:
      return DateText(std::floor(last) + std::max(1, p.asInteger()));
    case kWeekly:
      return ClientScheduleDate(DateText(std::floor(last) + 1), pattern);
    case kMonthly: {
      // The client's rule finds the first run on or after a start; starting on the first
      // day of the month n months on, with a count of one, finds the run of that month.
      const std::string month = ShiftDate(Variant(DateText(last).substr(0, 6) + "01"), "M",
                                          std::max(1, p[1].asInteger()));
      Variant once = pattern;
      once[1][1] = 1;
      return month.empty() ? std::string() : ClientScheduleDate(month, once);
    }
    default:
      return {};
  }
}

bool RangeEnded(const Variant& range, TDateTime next, int runsDone) {
  switch (range[1].asInteger()) {
    case kRuns:
      return runsDone >= range[2].asInteger();
    case kEndDate:
      return DateText(next) > VarToStr(range[2]);
    default:
      return false;
  }
}

}  // namespace

std::optional<TDateTime> NextRun(const Variant& period, TDateTime last, int runsDone) {
  try {
    const Variant& pattern = period[2];
    TDateTime next = 0;
    if (pattern[0].asInteger() == kHourly) {
      const double hours = pattern[1].asDouble();
      if (!(hours > 0)) return std::nullopt;
      next = last + hours / 24;
    } else {
      const TDateTime day = TransDateIn(NextDate(pattern, last));
      if (day == 0) return std::nullopt;
      next = day + TimeOfDay(period[1]);
    }
    if (RangeEnded(period[3], next, runsDone)) return std::nullopt;
    return next;
  } catch (const Exception&) {
    return std::nullopt;
  }
}

Variant ShiftForRun(const Variant& job, TDateTime moment) {
  try {
    Variant shifted = job;
    Variant options = VarArrayCreate({1, 3});
    options[1] = job[2];
    options[2] = job[3];
    options[3] = job[4];
    Variant values = GetPeriodRptOption(options, DateText(moment));
    if (!values.isArray()) return job;
    shifted[2] = std::move(values);
    Variant& header = shifted[0];
    if (VarArrayHighBound(header, 1) >= 11) header[11] = Variant::FromDate(moment);
    return shifted;
  } catch (const Exception&) {
    return job;
  }
}

}  // namespace ox::appserver
