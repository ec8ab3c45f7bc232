// Narrow-text helpers for the parsers of configuration files (registry, INI files).
// The texts are bytes of the system code page and are never decoded: only ASCII letters
// change case, every byte from 0x80 up compares exactly.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

namespace ox {

// The blanks dropped around names and values.
inline constexpr std::string_view kAsciiBlanks = " \t";

inline std::string_view TrimLeftBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(kAsciiBlanks);
  return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

inline std::string_view TrimBlanks(std::string_view text) {
  text = TrimLeftBlanks(text);
  return text.substr(0, text.find_last_not_of(kAsciiBlanks) + 1);
}

// Drops spaces and control characters at both ends, as the framework's Trim does.
inline std::string_view TrimText(std::string_view text) {
  const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && isBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

inline char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// Upper case, because Windows sorts names by their upper-case form.
inline std::string UpperAscii(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](char c) { return UpperAscii(c); });
  return result;
}

// Lower case of ASCII letters, as file names are sent to the host.
inline std::string LowerAscii(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
  return result;
}

// The value of a hexadecimal digit, or -1.
inline int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

inline bool SameTextAscii(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return UpperAscii(x) == UpperAscii(y);
         });
}

inline bool StartsWithTextAscii(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameTextAscii(text.substr(0, prefix.size()), prefix);
}

// Texts of a double-byte system code page (936, 950): a lead byte and the byte after it
// are one character, and that trail byte can be "\", "[", "]" or an ASCII letter. The
// helpers below step over such pairs, so a trail byte is never taken for a character
// of its own. Positions given to them must start a character.

// The length of the character at text[pos]: 2 for a lead byte with a byte after it.
inline std::size_t NarrowCharLength(std::string_view text, std::size_t pos) {
  const auto byte = static_cast<unsigned char>(text[pos]);
  return byte >= 0x80 && pos + 1 < text.size() && IsDBCSLeadByte(byte) ? 2 : 1;
}

// The position of the first character c (ASCII) from pos on, or npos.
inline std::size_t FindNarrowChar(std::string_view text, char c, std::size_t pos = 0) {
  for (; pos < text.size(); pos += NarrowCharLength(text, pos)) {
    if (text[pos] == c) return pos;
  }
  return std::string_view::npos;
}

// The position of the last character c (ASCII), or npos.
inline std::size_t FindLastNarrowChar(std::string_view text, char c) {
  std::size_t last = std::string_view::npos;
  for (std::size_t pos = 0; pos < text.size(); pos += NarrowCharLength(text, pos)) {
    if (text[pos] == c) last = pos;
  }
  return last;
}

// UpperAscii for names: the trail bytes of two-byte characters keep their case.
inline std::string UpperNarrow(std::string_view text) {
  std::string result(text);
  for (std::size_t pos = 0; pos < result.size(); pos += NarrowCharLength(result, pos))
    result[pos] = UpperAscii(result[pos]);
  return result;
}

// SameTextAscii for names: the trail bytes of two-byte characters compare exactly.
inline bool SameNarrowText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t pos = 0; pos < a.size();) {
    const std::size_t length = NarrowCharLength(a, pos);
    // A lead byte only equals itself, so both texts split into the same characters.
    if (length == 2 ? a.substr(pos, 2) != b.substr(pos, 2)
                    : UpperAscii(a[pos]) != UpperAscii(b[pos]))
      return false;
    pos += length;
  }
  return true;
}

}  // namespace ox
