// What every fuzz target of the system does with its input first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/Machine.h"

namespace ox::fuzz {

// Stops the run when a property of the parsed result does not hold.
inline void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// The first byte picks the system code page (English, GB or Big5), so that the
// double-byte paths of a parser are searched too; the rest is the text to parse.
inline std::string_view TextUnderCodePage(const std::uint8_t* data, std::size_t size) {
  constexpr int kCodePages[] = {1252, 936, 950};
  ox::Machine().ansiCodePage = kCodePages[data[0] % 3];
  return {reinterpret_cast<const char*>(data) + 1, size - 1};
}

}  // namespace ox::fuzz
