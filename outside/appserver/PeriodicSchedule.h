// The later runs of a periodic job. The job variant carries the period array
// [ "Y", "hh:mm", cycle pattern, range ] (element 3) and the dynamic-field array
// (element 4); the client worked out the first run with the same rules.
#pragma once

#include <optional>
#include <string>

#include "platform/Variant.h"

namespace ox::appserver {

// The moment of the run after one at `last`, `runsDone` runs having been made (this
// one included); nothing when the range has ended or the period cannot be read.
// Daily: `last` + every-n days. Weekly: the client's first run date on or after the
// day after `last`. Monthly: the client's first run date in the month n months after
// `last`'s month. Hourly: `last` + every-h hours. The time of day is the period's.
std::optional<TDateTime> NextRun(const Variant& period, TDateTime last, int runsDone);

// The job variant with the relative dates of its condition values worked out for a run
// at `moment` and the moment stored in header entry 11; the job as it was when its
// dynamic fields cannot be applied.
Variant ShiftForRun(const Variant& job, TDateTime moment);

}  // namespace ox::appserver
