// INI texts of arbitrary bytes: parsing never crashes, names are kept trimmed and once
// (ignoring case), and every section and key kept is found again by its name.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/FuzzInput.h"
#include "platform/IniFile.h"

namespace {

using ox::fuzz::Check;

// Sections and keys checked per input, so that a run stays linear in its size.
constexpr std::size_t kChecked = 64;
constexpr std::size_t kProbeLength = 256;

bool IsTrimmed(std::string_view name) {
  return name.empty() ||
         (name.front() != ' ' && name.front() != '\t' && name.back() != ' ' && name.back() != '\t');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view text = ox::fuzz::TextUnderCodePage(data, size);
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
