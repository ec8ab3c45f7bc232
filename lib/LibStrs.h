// LibStrs: the free functions every option form uses for texts, dates and Variants.
// Narrow texts are bytes of the system code page and every search in them is double-byte
// aware: a separator byte inside a two-byte character never matches. Dates travel as
// "yyyymmdd" texts (month values as "yyyymm"), whose text order is their date order.
// Nothing here raises except the strict number readings that UpdateDate and WeekEdgeDate
// name below.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "platform/Machine.h"
#include "platform/Variant.h"

namespace ox {

// ---- texts -----------------------------------------------------------------

// The index-th piece of `s` cut at `sep`, counted from 1; the piece after the last
// separator counts. Empty for an index below 1 or past the last piece.
std::string GetToken(std::string_view s, std::string_view sep, int index);
// Returns the text before the first `sep` and removes it and `sep` from `s`; without a
// separator returns all of `s` and empties it.
std::string CutToken(std::string& s, std::string_view sep);
// The number of pieces of `s` cut at `sep`: 0 for an empty text, else separators + 1.
int NumToken(std::string_view s, std::string_view sep);
// `s` filled up to params[0] characters with the character code params[1] (a blank
// when missing); a longer text, or no params, leaves `s` as it is.
std::string PadR(std::string_view s, std::span<const int> params);
inline std::string PadR(std::string_view s, std::initializer_list<int> params) {
  return PadR(s, std::span<const int>(params.begin(), params.size()));
}
// Replaces `oldText` by `newText` until none is left, then trims blanks and control
// characters at both ends when `doTrim`. Texts equal ignoring ASCII case swap nothing.
std::string SwapStr(std::string_view s, std::string_view oldText, std::string_view newText,
                    bool doTrim);
// The caption of a standard dialog button ("Yes", "OK", ...); other names unchanged.
std::string GetCHTButtonCaption(std::string_view name);
// True only for "127.0.0.1".
bool IsLocalAddress(std::string_view host);
// The number the whole of `s` reads as, else `fallback`.
double ValFloatDef(std::string_view s, double fallback);
// The temporary folder as a long path name, ending in "\".
std::string GetLongTempPath();

// ---- dates -----------------------------------------------------------------

// The full date text of date kind 1 to 5 (the selection panel's TDateType values):
// 1 yyyy.mm.dd, 2 mm.dd.yyyy, 3 dd.mm.yyyy, 4 yy.mm.dd and 5 yyy.mm.dd (years since
// 1911), with the first character of `sep` between the parts. Empty for 0.
std::string DateToString(TDateTime date, int kind, std::string_view sep);
// The month text of the kind (the full date text without its day). Empty for 0.
std::string MonthToString(TDateTime date, int kind, std::string_view sep);
// Reads a full date text of the kind cut at the whole of `sep`; a day past the end of
// the month runs into the next month. 0 when it cannot.
TDateTime StringToDate(std::string_view s, int kind, std::string_view sep);
// Reads "yyyymmdd"; 0 when it cannot.
TDateTime TransDateIn(std::string_view s);
// True for an empty text and a valid "yyyymmdd" from "17530101" to "99991231".
bool CheckDate(std::string_view s);
// `date` (a "yyyymmdd" text or a date-time) moved by `amount` units "Y", "M" or "D"
// (any case), as "yyyymmdd". Empty for another unit or a date that cannot be read.
std::string ShiftDate(const Variant& date, std::string_view unit, int amount);
// Days of the month by the Gregorian rule; 0 for a month outside 1 to 12.
int DaysOfMonth(int year, int month);
// The relative date `amount` units after `base`: a month value moves by months; a full
// date by weeks and days (unit flag "0") or by months (else), `mode` choosing the day.
// Raises EConvertError when a number it needs is no integer.
std::string UpdateDate(std::string_view base, std::string_view amount, std::string_view unitFlag,
                       std::string_view mode, std::string_view days);
// The Sunday (mode "1") or else the Saturday of the week `weeks` weeks after `base`.
// Raises EConvertError when `weeks` is no integer.
std::string WeekEdgeDate(std::string_view base, std::string_view weeks, std::string_view mode);
// The first run date on or after `startDate` of a period definition [kind, parameters]
// (daily, weekly or monthly); empty for other kinds or when it cannot be worked out.
std::string ClientScheduleDate(std::string_view startDate, const Variant& period);
// The condition parameters options[1] with the relative dates of the dynamic-field
// records options[3] worked out for `runDate`; an empty text on any failure.
Variant GetPeriodRptOption(const Variant& options, std::string_view runDate);

// ---- Variants --------------------------------------------------------------

// `a` when `cond`, else `b`.
Variant IIF(bool cond, const Variant& a, const Variant& b);
// True when `v` is unassigned or null.
bool IsVarEmptyOrNull(const Variant& v);
// `v` with its texts, alone or in arrays, decoded from `codePage` into wide texts.
// On a failure the alert log "libstrs" gets a line and `v` comes back unchanged.
Variant OxStrToWideString(const Variant& v, int codePage);
// `v` with its texts, alone or in arrays, encoded into `codePage` as narrow texts.
// On a failure the alert log "libstrs" gets a line and `v` comes back unchanged.
Variant OxWideStringToStr(const Variant& v, int codePage);
// prefix #3 list[0] #3, then list[i] #3 for i from 1 to list[0]: a list sent to the
// server. Empty when `list` is not such an array.
std::u16string BLVariantToWideString(std::string_view prefix, const Variant& list);

}  // namespace ox
