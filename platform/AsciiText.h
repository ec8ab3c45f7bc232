// Narrow-text helpers for the parsers of configuration files (registry, INI files).
// The texts are bytes of the system code page and are never decoded: only ASCII letters
// change case, every byte from 0x80 up compares exactly.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

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

}  // namespace ox
