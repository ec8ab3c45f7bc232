// Registry scripts of arbitrary bytes: parsing never crashes, and what the parsed
// registry lists can be looked up again (every listed subkey exists, every listed value
// reads back).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzInput.h"
#include "platform/AsciiText.h"
#include "platform/Registry.h"

namespace {

using ox::fuzz::Check;

constexpr ox::RootKey kRoots[] = {ox::HKEY_CLASSES_ROOT, ox::HKEY_CURRENT_USER,
                                  ox::HKEY_LOCAL_MACHINE, ox::HKEY_USERS, ox::HKEY_CURRENT_CONFIG};
// Keys visited per root, so that a run stays linear in the size of the input.
constexpr std::size_t kVisitsPerRoot = 64;
constexpr std::size_t kProbeLength = 256;

void Walk(const ox::RegistryData& registry, ox::RootKey root, const std::string& path,
          std::size_t& budget) {
  if (budget == 0) return;
  --budget;
  Check(registry.HasKey(root, path));
  for (const std::string& name : registry.ValueNames(root, path))
    Check(registry.Value(root, path, name).has_value());
  for (const std::string& child : registry.SubKeyNames(root, path)) {
    Check(!child.empty() && ox::FindNarrowChar(child, '\\') == std::string::npos);
    Walk(registry, root, path.empty() ? child : path + '\\' + child, budget);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view text = ox::fuzz::TextUnderCodePage(data, size);
  const ox::RegistryData registry = ox::RegistryData::Parse(text);
  for (ox::RootKey root : kRoots) {
    std::size_t budget = kVisitsPerRoot;
    if (registry.HasKey(root, "")) Walk(registry, root, "", budget);
  }
  // Lookups with arbitrary key paths and value names.
  const std::string_view probe = text.substr(0, kProbeLength);
  for (ox::RootKey root : kRoots) {
    registry.HasKey(root, probe);
    registry.Value(root, probe, probe);
    registry.SubKeyNames(root, probe);
  }
  return 0;
}
