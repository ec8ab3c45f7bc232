// The generator log "Alert_ZANTOGenerator_YYYYMMDD.log" and the exception blocks
// written to it. Writers never raise.
#pragma once

#include <exception>
#include <string_view>

namespace ox {

// Writes "[<short date> <long time>] text" to the generator log; false when the line
// could not be written.
bool WriteGeneratorLog(std::string_view text);

// Writes a block describing `error` (may be null), where it happened and the
// programmer's note: a header line, the error lines by error family, the count of
// error lines, and the note. Never raises.
void LogException(const std::exception* error, std::string_view location,
                  std::string_view programmerMessage);

}  // namespace ox
