#include "platform/Registry.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <utility>

#include "platform/AsciiText.h"
#include "platform/Machine.h"

namespace ox {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// A key path with its components joined by single "\": leading, trailing and doubled
// separators are dropped, so "\Software\X\" and "Software\X" name the same key.
// A "\" that is the trail byte of a two-byte character separates nothing.
std::string NormalizePath(std::string_view path) {
  std::string result;
  while (!path.empty()) {
    const auto end = std::min(FindNarrowChar(path, '\\'), path.size());
    if (end > 0) {
      if (!result.empty()) result += '\\';
      result += path.substr(0, end);
    }
    path.remove_prefix(std::min(end + 1, path.size()));
  }
  return result;
}

// The prefix every deeper key's upper-cased path starts with.
std::string DescendantPrefix(const std::string& upperPath) {
  return upperPath.empty() ? std::string{} : upperPath + '\\';
}

std::optional<RootKey> ParseRoot(std::string_view name) {
  static constexpr std::pair<std::string_view, RootKey> kRoots[] = {
      {"HKEY_CLASSES_ROOT", RootKey::ClassesRoot},
      {"HKCR", RootKey::ClassesRoot},
      {"HKEY_CURRENT_USER", RootKey::CurrentUser},
      {"HKCU", RootKey::CurrentUser},
      {"HKEY_LOCAL_MACHINE", RootKey::LocalMachine},
      {"HKLM", RootKey::LocalMachine},
      {"HKEY_USERS", RootKey::Users},
      {"HKU", RootKey::Users},
      {"HKEY_CURRENT_CONFIG", RootKey::CurrentConfig},
      {"HKCC", RootKey::CurrentConfig},
  };
  for (const auto& [text, root] : kRoots) {
    if (SameTextAscii(name, text)) return root;
  }
  return std::nullopt;
}

// One to maxDigits hexadecimal digits and nothing else.
std::optional<std::uint32_t> ParseHex(std::string_view text, std::size_t maxDigits) {
  if (text.empty() || text.size() > maxDigits) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : text) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

// "aa,bb,cc": comma-separated bytes of one or two hex digits; blanks around them and
// empty items (a trailing comma) are allowed.
std::optional<std::string> ParseHexBytes(std::string_view list) {
  std::string bytes;
  while (!list.empty()) {
    const auto end = std::min(list.find(','), list.size());
    const std::string_view item = TrimBlanks(list.substr(0, end));
    if (!item.empty()) {
      const auto byte = ParseHex(item, 2);
      if (!byte) return std::nullopt;
      bytes += static_cast<char>(*byte);
    }
    list.remove_prefix(std::min(end + 1, list.size()));
  }
  return bytes;
}

// A quoted text starting at text[pos] ('"'), with \\ and \" escapes; any other
// backslash stays as it is, and a two-byte character is copied whole, so its trail byte
// escapes nothing. Advances pos past the closing quote; nothing when the quote is not
// closed.
std::optional<std::string> ReadQuoted(std::string_view text, std::size_t& pos) {
  std::string result;
  for (std::size_t i = pos + 1; i < text.size();) {
    const char c = text[i];
    if (c == '"') {
      pos = i + 1;
      return result;
    }
    if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) ++i;
    const std::size_t length = NarrowCharLength(text, i);
    result += text.substr(i, length);
    i += length;
  }
  return std::nullopt;
}

// Whether the text ends in a "\" of its own, not in the trail byte of a two-byte
// character.
bool EndsWithBackslash(std::string_view text) {
  return !text.empty() && FindLastNarrowChar(text, '\\') == text.size() - 1;
}

// The lines of a text without their CR LF or LF.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    const auto end = std::min(text_.find('\n', pos_), text_.size());
    line = text_.substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end + 1;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

bool IsHeader(std::string_view line) {
  line = TrimBlanks(line);
  return line == "REGEDIT4" || line == "Windows Registry Editor Version 5.00";
}

}  // namespace

// Imports a registry script line by line as REGEDIT does: later definitions of a value
// replace earlier ones, "[-key]" removes a key with all its subkeys, "name"=- removes
// a value. Lines that do not parse are passed over.
struct RegistryParser {
  RegistryData& registry;
  LineReader lines;
  RegistryData::Key* current = nullptr;
  std::size_t order = 0;

  void Run() {
    std::string_view line;
    if (!lines.Next(line)) return;
    if (line.substr(0, kUtf8Bom.size()) == kUtf8Bom) line.remove_prefix(kUtf8Bom.size());
    // Without its header a file is no registry script and imports nothing.
    if (!IsHeader(line)) return;
    while (lines.Next(line)) {
      line = TrimBlanks(line);
      if (line.empty() || line.front() == ';') continue;
      if (line.front() == '[') {
        KeyLine(line);
      } else if (current != nullptr) {
        ValueLine(line);
      }
    }
  }

  // "[ROOT\path]" opens (creating) a key, "[-ROOT\path]" deletes it. A line that names
  // no known root leaves no key open, so its values are passed over.
  void KeyLine(std::string_view line) {
    current = nullptr;
    const auto close = FindLastNarrowChar(line, ']');
    if (close == std::string_view::npos) return;
    std::string_view name = line.substr(1, close - 1);
    const bool remove = !name.empty() && name.front() == '-';
    if (remove) name.remove_prefix(1);
    const auto separator = std::min(FindNarrowChar(name, '\\'), name.size());
    const auto root = ParseRoot(name.substr(0, separator));
    if (!root) return;
    std::string path = NormalizePath(name.substr(separator));
    auto& keys = registry.roots_[static_cast<std::size_t>(*root)];
    if (remove) {
      DeleteKey(keys, path);
      return;
    }
    current = &CreateKey(keys, std::move(path));
  }

  // Deletes the key and its subkeys; its parent stays, as it did exist. A root key
  // cannot be deleted.
  void DeleteKey(RegistryData::KeyMap& keys, const std::string& path) {
    if (path.empty()) return;
    const std::string upper = UpperNarrow(path);
    const std::string prefix = DescendantPrefix(upper);
    auto first = keys.lower_bound(prefix);
    auto last = first;
    while (last != keys.end() && last->first.starts_with(prefix))
      ++last;
    const bool removed = first != last || keys.contains(upper);
    keys.erase(first, last);
    keys.erase(upper);
    if (!removed) return;
    const auto parentEnd = FindLastNarrowChar(path, '\\');
    if (parentEnd == std::string::npos) return;
    CreateKey(keys, path.substr(0, parentEnd));
  }

  RegistryData::Key& CreateKey(RegistryData::KeyMap& keys, std::string path) {
    auto [it, added] = keys.try_emplace(UpperNarrow(path));
    if (added) {
      it->second.path = std::move(path);
      it->second.order = order++;
    }
    return it->second;
  }

  // "name"=..., @=... for the default value.
  void ValueLine(std::string_view line) {
    std::string name;
    std::size_t pos = 1;
    if (line.front() == '"') {
      pos = 0;
      auto quoted = ReadQuoted(line, pos);
      if (!quoted) return;
      name = std::move(*quoted);
    } else if (line.front() != '@') {
      return;
    }
    const std::string_view rest = TrimLeftBlanks(line.substr(pos));
    if (rest.empty() || rest.front() != '=') return;
    const std::string_view data = TrimLeftBlanks(rest.substr(1));
    if (data == "-") {
      current->values.erase(UpperNarrow(name));
      return;
    }
    if (auto value = ParseData(data)) Store(std::move(name), std::move(*value));
  }

  std::optional<RegistryValue> ParseData(std::string_view data) {
    RegistryValue value;
    if (!data.empty() && data.front() == '"') {
      std::size_t end = 0;
      auto text = ReadQuoted(data, end);
      if (!text || end != data.size()) return std::nullopt;
      value.text = std::move(*text);
      return value;
    }
    if (StartsWithTextAscii(data, "dword:")) {
      const auto number = ParseHex(data.substr(6), 8);
      if (!number) return std::nullopt;
      value.kind = RegistryValue::Kind::DWord;
      value.number = *number;
      return value;
    }
    if (StartsWithTextAscii(data, "hex")) return ParseHexData(data.substr(3));
    return std::nullopt;
  }

  // ":aa,bb" (binary) or "(n):aa,bb" (type n in hex), continued over lines ending in
  // "\". Types 1 and 2 (text, expandable text) hold narrow text ending in a NUL.
  std::optional<RegistryValue> ParseHexData(std::string_view data) {
    std::uint32_t type = 3;
    if (!data.empty() && data.front() == '(') {
      const auto close = data.find(')');
      if (close == std::string_view::npos) return std::nullopt;
      const auto parsed = ParseHex(data.substr(1, close - 1), 8);
      if (!parsed) return std::nullopt;
      type = *parsed;
      data.remove_prefix(close + 1);
    }
    if (data.empty() || data.front() != ':') return std::nullopt;
    auto bytes = ParseHexBytes(JoinContinuations(data.substr(1)));
    if (!bytes) return std::nullopt;
    RegistryValue value;
    if (type == 1 || type == 2) {
      value.text = bytes->substr(0, bytes->find('\0'));
    } else {
      value.kind = RegistryValue::Kind::Binary;
      value.bytes = std::move(*bytes);
    }
    return value;
  }

  // Each line is looked at on its own, so joining stays linear in the text.
  std::string JoinContinuations(std::string_view first) {
    std::string joined;
    std::string_view line = first;
    std::string_view next;
    while (EndsWithBackslash(line) && lines.Next(next)) {
      joined += line.substr(0, line.size() - 1);
      line = TrimBlanks(next);
    }
    joined += line;
    return joined;
  }

  void Store(std::string name, RegistryValue value) {
    auto [it, added] = current->values.try_emplace(UpperNarrow(name));
    if (added) it->second = {std::move(name), order++, {}};
    it->second.value = std::move(value);
  }
};

RegistryData RegistryData::Parse(std::string_view text) {
  RegistryData data;
  RegistryParser{data, LineReader(text)}.Run();
  return data;
}

RegistryData RegistryData::Load() {
  std::ifstream in(Machine().registryFile, std::ios::binary);
  if (!in) return {};
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return Parse(text);
}

bool RegistryData::HasKey(RootKey root, std::string_view path) const {
  const KeyMap& keys = Keys(root);
  const std::string upper = UpperNarrow(NormalizePath(path));
  if (keys.contains(upper)) return true;
  // Keys between "A" and "A\..." ("A!") sort apart, so deeper keys are found by prefix.
  const std::string prefix = DescendantPrefix(upper);
  const auto deeper = keys.lower_bound(prefix);
  return deeper != keys.end() && deeper->first.starts_with(prefix);
}

std::optional<RegistryValue> RegistryData::Value(RootKey root, std::string_view path,
                                                 std::string_view name) const {
  const KeyMap& keys = Keys(root);
  const auto key = keys.find(UpperNarrow(NormalizePath(path)));
  if (key == keys.end()) return std::nullopt;
  const auto value = key->second.values.find(UpperNarrow(name));
  if (value == key->second.values.end()) return std::nullopt;
  return value->second.value;
}

std::vector<std::string> RegistryData::ValueNames(RootKey root, std::string_view path) const {
  const KeyMap& keys = Keys(root);
  const auto key = keys.find(UpperNarrow(NormalizePath(path)));
  if (key == keys.end()) return {};
  std::vector<const NamedValue*> values;
  for (const auto& entry : key->second.values)
    values.push_back(&entry.second);
  std::sort(values.begin(), values.end(),
            [](const NamedValue* a, const NamedValue* b) { return a->order < b->order; });
  std::vector<std::string> names;
  for (const NamedValue* value : values)
    names.push_back(value->name);
  return names;
}

// Direct children, including keys implied by deeper ones, sorted by their upper-case
// names as the registry enumerates them.
std::vector<std::string> RegistryData::SubKeyNames(RootKey root, std::string_view path) const {
  const KeyMap& keys = Keys(root);
  const std::string upper = UpperNarrow(NormalizePath(path));
  const std::string prefix = DescendantPrefix(upper);
  // By upper-cased name: the name as written by the earliest key line that made it.
  std::map<std::string, std::pair<std::size_t, std::string_view>> children;
  for (auto it = keys.lower_bound(prefix); it != keys.end() && it->first.starts_with(prefix);
       ++it) {
    if (it->first.size() == prefix.size()) continue;  // the root key itself
    // Upper-casing keeps every byte in place, so the written path splits the same way.
    const auto end = std::min(FindNarrowChar(it->first, '\\', prefix.size()), it->first.size());
    const std::pair<std::size_t, std::string_view> child{
        it->second.order,
        std::string_view(it->second.path).substr(prefix.size(), end - prefix.size())};
    auto [found, added] =
        children.try_emplace(it->first.substr(prefix.size(), end - prefix.size()), child);
    if (!added && child.first < found->second.first) found->second = child;
  }
  std::vector<std::string> names;
  for (const auto& entry : children)
    names.emplace_back(entry.second.second);
  return names;
}

TRegistry::TRegistry(RootKey root) : root_(root) {}

void TRegistry::setRootKey(RootKey root) {
  CloseKey();
  root_ = root;
}

// A path starting with "\" starts at the root key; any other is taken below the open
// key, or below the root when no key is open.
std::string TRegistry::FullPath(std::string_view path) const {
  if (!data_ || (!path.empty() && path.front() == '\\')) return std::string(path);
  return openPath_ + '\\' + std::string(path);
}

bool TRegistry::OpenKeyReadOnly(std::string_view path) {
  RegistryData fresh = RegistryData::Load();
  std::string full = FullPath(path);
  if (!fresh.HasKey(root_, full)) return false;
  data_ = std::move(fresh);
  openPath_ = NormalizePath(full);
  return true;
}

void TRegistry::CloseKey() {
  data_.reset();
  openPath_.clear();
}

bool TRegistry::KeyExists(std::string_view path) const {
  return RegistryData::Load().HasKey(root_, FullPath(path));
}

bool TRegistry::ValueExists(std::string_view name) const {
  return data_ && data_->Value(root_, openPath_, name).has_value();
}

std::string TRegistry::ReadString(std::string_view name) const {
  if (!data_) return {};
  const auto value = data_->Value(root_, openPath_, name);
  return value && value->kind == RegistryValue::Kind::String ? value->text : std::string{};
}

std::optional<std::uint32_t> TRegistry::ReadInteger(std::string_view name) const {
  if (!data_) return std::nullopt;
  const auto value = data_->Value(root_, openPath_, name);
  if (!value || value->kind != RegistryValue::Kind::DWord) return std::nullopt;
  return value->number;
}

std::vector<std::string> TRegistry::GetValueNames() const {
  return data_ ? data_->ValueNames(root_, openPath_) : std::vector<std::string>{};
}

std::vector<std::string> TRegistry::GetKeyNames() const {
  return data_ ? data_->SubKeyNames(root_, openPath_) : std::vector<std::string>{};
}

}  // namespace ox
