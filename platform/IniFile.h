// INI files with the semantics of the Windows profile functions: a missing file or
// key gives the default, a key present with an empty value gives the empty text,
// an integer key whose text is no number gives its default, section and key names
// ignore letter case, blanks around names and values are dropped, and one pair of
// enclosing quotes around a value is removed. The first of two equal sections or keys
// wins. Lines starting with ";" are comments. Texts are narrow (system code page).
// The file is read once, when the object is created.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ox {

// The parsed content of an INI text.
class IniData {
 public:
  // Parses INI text; lines that do not parse are passed over; parsing never fails.
  static IniData Parse(std::string_view text);

  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  const std::vector<Section>& Sections() const { return sections_; }
  const Section* FindSection(std::string_view name) const;
  const Entry* FindEntry(std::string_view section, std::string_view key) const;

 private:
  std::vector<Section> sections_;
};

class TIniFile {
 public:
  // fileName is a Windows path text (see WinPath.h).
  explicit TIniFile(std::string fileName);

  const std::string& FileName() const { return fileName_; }
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  // Section names in file order.
  std::vector<std::string> ReadSections() const;
  // The key names of a section in file order.
  std::vector<std::string> ReadSection(std::string_view section) const;
  // The "key=value" lines of a section in file order.
  std::vector<std::string> ReadSectionValues(std::string_view section) const;

 private:
  std::string fileName_;
  IniData data_;
};

}  // namespace ox
