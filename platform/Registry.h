// A read-only registry backed by a REGEDIT4 text file (the file named by
// Machine().registryFile). A missing or unreadable file is an empty registry: every
// key is missing. The file is read afresh whenever a key is opened, so a reader always
// sees the registry as it is now.
//
// File format (as REGEDIT writes it):
//   REGEDIT4
//   [HKEY_LOCAL_MACHINE\Software\QMX\Corvane]
//   "ClientPath"="C:\\App\\"
//   "Count"=dword:0000000a
//   @="the key's default value"
// Key paths and value names ignore letter case. Texts are narrow (system code page).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ox {

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

inline constexpr RootKey HKEY_CLASSES_ROOT = RootKey::ClassesRoot;
inline constexpr RootKey HKEY_CURRENT_USER = RootKey::CurrentUser;
inline constexpr RootKey HKEY_LOCAL_MACHINE = RootKey::LocalMachine;
inline constexpr RootKey HKEY_USERS = RootKey::Users;
inline constexpr RootKey HKEY_CURRENT_CONFIG = RootKey::CurrentConfig;

// One value of a key: a text (REG_SZ, REG_EXPAND_SZ) or a number (REG_DWORD).
struct RegistryValue {
  enum class Kind { String, DWord, Binary } kind = Kind::String;
  std::string text;          // String
  std::uint32_t number = 0;  // DWord
  std::string bytes;         // Binary (hex:…)
};

// The parsed content of a registry file: every key with its values.
class RegistryData {
 public:
  // Parses REGEDIT4 text. Lines that do not parse are passed over; parsing never fails.
  static RegistryData Parse(std::string_view text);
  // Reads and parses the file; a missing or unreadable file gives an empty registry.
  static RegistryData Load();

  bool HasKey(RootKey root, std::string_view path) const;
  std::optional<RegistryValue> Value(RootKey root, std::string_view path,
                                     std::string_view name) const;
  std::vector<std::string> ValueNames(RootKey root, std::string_view path) const;
  std::vector<std::string> SubKeyNames(RootKey root, std::string_view path) const;

 private:
  struct NamedValue {
    std::string name;       // as first written
    std::size_t order = 0;  // when it was first defined, for listing in file order
    RegistryValue value;
  };
  struct Key {
    std::string path;                          // as written, without outer "\"
    std::size_t order = 0;                     // when it was created
    std::map<std::string, NamedValue> values;  // by upper-cased name
  };
  using KeyMap = std::map<std::string, Key>;  // by upper-cased path
  const KeyMap& Keys(RootKey root) const { return roots_[static_cast<std::size_t>(root)]; }

  // One map per root key. A key also exists when a deeper key exists (its parents
  // are implied), so a map holds only the keys the file names.
  std::array<KeyMap, 5> roots_;
  friend struct RegistryParser;
};

// TRegistry with the read-only operations the system uses.
class TRegistry {
 public:
  explicit TRegistry(RootKey root = HKEY_CURRENT_USER);

  RootKey rootKey() const { return root_; }
  void setRootKey(RootKey root);

  // Opens an existing key for reading; false when the key does not exist.
  bool OpenKeyReadOnly(std::string_view path);
  void CloseKey();
  bool KeyExists(std::string_view path) const;
  bool ValueExists(std::string_view name) const;
  // The text of a value of the open key; a missing value or no open key: "".
  std::string ReadString(std::string_view name) const;
  // The number of a value of the open key; a missing or non-number value: nothing.
  std::optional<std::uint32_t> ReadInteger(std::string_view name) const;
  std::vector<std::string> GetValueNames() const;
  std::vector<std::string> GetKeyNames() const;

 private:
  std::string FullPath(std::string_view path) const;

  RootKey root_;
  std::optional<RegistryData> data_;
  std::string openPath_;
};

}  // namespace ox
