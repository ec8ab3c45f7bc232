// INI texts of arbitrary bytes: parsing never crashes, names are kept trimmed and once
// (ignoring case), and every section and key kept is found again by its name.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/IniFile.h"
#include "platform/Machine.h"

namespace {

// Sections and keys checked per input, so that a run stays linear in its size.
constexpr std::size_t kChecked = 64;
constexpr std::size_t kProbeLength = 256;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

bool IsTrimmed(std::string_view name) {
  return name.empty() ||
         (name.front() != ' ' && name.front() != '\t' && name.back() != ' ' && name.back() != '\t');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte picks the system code page: English, GB or Big5, so that the
  // double-byte paths of the parser are searched too.
  if (size == 0) return 0;
  constexpr int kCodePages[] = {1252, 936, 950};
  ox::Machine().ansiCodePage = kCodePages[data[0] % 3];
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const ox::IniData ini = ox::IniData::Parse(text);
  std::size_t sections = 0;
  for (const ox::IniData::Section& section : ini.Sections()) {
    if (++sections > kChecked) break;
    Check(IsTrimmed(section.name));
    Check(ini.FindSection(section.name) == &section);
    std::size_t keys = 0;
    for (const ox::IniData::Entry& entry : section.entries) {
      if (++keys > kChecked) break;
      Check(!entry.key.empty() && IsTrimmed(entry.key));
      Check(ini.FindEntry(section.name, entry.key) == &entry);
    }
  }
  const std::string_view probe = text.substr(0, kProbeLength);
  ini.FindEntry(probe, probe);
  return 0;
}
