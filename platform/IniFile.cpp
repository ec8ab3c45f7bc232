#include "platform/IniFile.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <utility>

#include "platform/AsciiText.h"
#include "platform/WinPath.h"

namespace ox {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// One pair of enclosing double or single quotes is removed.
std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && value.front() == value.back() &&
      (value.front() == '"' || value.front() == '\''))
    return value.substr(1, value.size() - 2);
  return value;
}

// A decimal number with an optional sign, or a hexadecimal one after "$" or "0x".
// Hexadecimal texts run up to FFFFFFFF and wrap into the negative numbers, as the
// run-time library's conversion does; anything else is no number.
std::optional<int> ParseInteger(std::string_view text) {
  text = TrimBlanks(text);
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  std::uint64_t base = 10;
  std::uint64_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
  if (text.starts_with('$') || (text.size() >= 2 && text[0] == '0' && UpperAscii(text[1]) == 'X')) {
    text.remove_prefix(text.front() == '$' ? 1 : 2);
    base = 16;
    limit = 0xFFFFFFFFu;
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    const int digit = HexDigitValue(c);
    if (digit < 0 || static_cast<std::uint64_t>(digit) >= base) return std::nullopt;
    value = value * base + static_cast<std::uint64_t>(digit);
    if (value > limit) return std::nullopt;
  }
  const auto bits = static_cast<std::uint32_t>(value);
  return static_cast<int>(negative ? 0u - bits : bits);
}

std::string ReadFileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (path.empty() || !in) return {};
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

// "[name]" starts a section, "key=value" lines fill it, ";" lines are comments and any
// other line is passed over. Only the first of equal sections and the first of equal
// keys in a section are kept: later ones can never be read.
IniData IniData::Parse(std::string_view text) {
  IniData data;
  if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
  std::set<std::string> sectionNames;  // upper-cased
  std::set<std::string> keyNames;      // upper-cased, of the current section
  Section* current = nullptr;          // null: lines are passed over
  while (!text.empty()) {
    const auto end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = TrimBlanks(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const auto close = line.rfind(']');
      if (close == std::string_view::npos) continue;  // no section header
      const std::string_view name = TrimBlanks(line.substr(1, close - 1));
      current = nullptr;
      keyNames.clear();
      if (!sectionNames.insert(UpperNarrow(name)).second) continue;
      data.sections_.push_back({std::string(name), {}});
      current = &data.sections_.back();
      continue;
    }
    const auto equals = line.find('=');
    if (current == nullptr || equals == std::string_view::npos) continue;
    const std::string_view key = TrimBlanks(line.substr(0, equals));
    if (key.empty() || !keyNames.insert(UpperNarrow(key)).second) continue;
    current->entries.push_back(
        {std::string(key), std::string(Unquote(TrimBlanks(line.substr(equals + 1))))});
  }
  return data;
}

const IniData::Section* IniData::FindSection(std::string_view name) const {
  for (const Section& section : sections_) {
    if (SameNarrowText(section.name, name)) return &section;
  }
  return nullptr;
}

const IniData::Entry* IniData::FindEntry(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(section);
  if (found == nullptr) return nullptr;
  for (const Entry& entry : found->entries) {
    if (SameNarrowText(entry.key, key)) return &entry;
  }
  return nullptr;
}

TIniFile::TIniFile(std::string fileName)
    : fileName_(std::move(fileName)),
      data_(IniData::Parse(ReadFileText(ToNativePath(fileName_)))) {}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
  const IniData::Entry* entry = data_.FindEntry(section, key);
  return std::string(entry != nullptr ? std::string_view(entry->value) : defaultValue);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
  const IniData::Entry* entry = data_.FindEntry(section, key);
  if (entry == nullptr) return defaultValue;
  return ParseInteger(entry->value).value_or(defaultValue);
}

// As TIniFile has it: a section exists when it holds at least one key.
bool TIniFile::SectionExists(std::string_view section) const {
  const IniData::Section* found = data_.FindSection(section);
  return found != nullptr && !found->entries.empty();
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
  return data_.FindEntry(section, key) != nullptr;
}

std::vector<std::string> TIniFile::ReadSections() const {
  std::vector<std::string> names;
  for (const IniData::Section& section : data_.Sections())
    names.push_back(section.name);
  return names;
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  if (const IniData::Section* found = data_.FindSection(section)) {
    for (const IniData::Entry& entry : found->entries)
      keys.push_back(entry.key);
  }
  return keys;
}

std::vector<std::string> TIniFile::ReadSectionValues(std::string_view section) const {
  std::vector<std::string> lines;
  if (const IniData::Section* found = data_.FindSection(section)) {
    for (const IniData::Entry& entry : found->entries)
      lines.push_back(entry.key + '=' + entry.value);
  }
  return lines;
}

}  // namespace ox
