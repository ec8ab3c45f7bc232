#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/IniFile.h"
#include "tests/support/TestMachine.h"

namespace ox {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kMissing = "<default>";

// The value ReadString would give: the entry's value, or the default when it is missing.
std::string Read(const IniData& data, std::string_view section, std::string_view key) {
  const IniData::Entry* entry = data.FindEntry(section, key);
  return entry != nullptr ? entry->value : kMissing;
}

TEST(IniDataTest, ParsesAsTheProfileFunctionsRead) {
  struct Case {
    const char* what;
    std::string text;
    std::string section;
    std::string key;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"plain", "[S]\r\nK=v\r\n", "S", "K", "v"},
      {"missing section", "[S]\r\nK=v\r\n", "T", "K", kMissing},
      {"missing key", "[S]\r\nK=v\r\n", "S", "L", kMissing},
      {"empty value", "[S]\r\nK=\r\n", "S", "K", ""},
      {"blanks around names and value", "  [  S  ]  \r\n \t K \t=  a b \t\r\n", "S", "K", "a b"},
      {"names ignore case", "[CodePage]\nUICodePage=950\n", "codepage", "UICODEPAGE", "950"},
      {"GB names exact", "[\xc4\xe3]\nK=1\n", "\xe4\xe3", "K", kMissing},
      {"GB names found", "[\xc4\xe3]\n\xb2\xe2=1\n", "\xc4\xe3", "\xb2\xe2", "1"},
      {"GB value kept", "[S]\nK=\xb2\xe2\xca\xd4\n", "S", "K", "\xb2\xe2\xca\xd4"},
      {"double quotes", "[S]\nK=  \"  a b  \"  \n", "S", "K", "  a b  "},
      {"single quotes", "[S]\nK='x'\n", "S", "K", "x"},
      {"one pair only", "[S]\nK=\"\"x\"\"\n", "S", "K", "\"x\""},
      {"empty quotes", "[S]\nK=\"\"\n", "S", "K", ""},
      {"unmatched quotes", "[S]\nK=\"x'\n", "S", "K", "\"x'"},
      {"lone quote", "[S]\nK=\"\n", "S", "K", "\""},
      {"inner quotes", "[S]\nK=a\"b\"\n", "S", "K", "a\"b\""},
      {"= in value", "[S]\nK=a=b\n", "S", "K", "a=b"},
      {"first key wins", "[S]\nK=1\nk=2\n", "S", "K", "1"},
      {"first section wins", "[S]\nK=1\n[T]\n[s]\nK=2\nX=3\n", "S", "K", "1"},
      {"later section of same name unread", "[S]\nK=1\n[s]\nX=3\n", "S", "X", kMissing},
      {"comment", "[S]\n;K=1\n", "S", "K", kMissing},
      {"indented comment", "[S]\n  ;K=1\n", "S", "K", kMissing},
      {"line without =", "[S]\njunk\nK=v\n", "S", "K", "v"},
      {"line without = is no key", "[S]\nK\n", "S", "K", kMissing},
      {"no key name", "[S]\n=v\n", "S", "", kMissing},
      {"key before any section", "K=v\n[S]\n", "", "K", kMissing},
      {"unclosed section header", "[S]\n[T\nK=v\n", "S", "K", "v"},
      {"text after section header", "[S] ; note\nK=v\n", "S", "K", "v"},
      {"UTF-8 BOM", "\xEF\xBB\xBF[S]\nK=v\n", "S", "K", "v"},
      {"LF", "[S]\nA=1\nK=v", "S", "K", "v"},
      {"CR", "[S]\rA=1\rK=v\r", "S", "K", "v"},
      {"no line end", "[S]\nK=v", "S", "K", "v"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Read(IniData::Parse(c.text), c.section, c.key), c.expected);
  }
}

TEST(IniDataTest, KeepsSectionsAndKeysOnceInFileOrder) {
  const IniData data = IniData::Parse(
      "[Client Components]\nLangType=ENG\n"
      "[WorkDLLPath]\nB=\\Pkg\nA=D:\\Pkg\nb=other\n"
      "[client components]\nLangType=CHS\n"
      "[Empty]\n");
  std::vector<std::string> names;
  for (const IniData::Section& section : data.Sections())
    names.push_back(section.name);
  EXPECT_THAT(names, ElementsAre("Client Components", "WorkDLLPath", "Empty"));
  const IniData::Section* paths = data.FindSection("workdllpath");
  ASSERT_NE(paths, nullptr);
  ASSERT_EQ(paths->entries.size(), 2u);
  EXPECT_EQ(paths->entries[0].key, "B");
  EXPECT_EQ(paths->entries[0].value, "\\Pkg");
  EXPECT_EQ(paths->entries[1].key, "A");
  EXPECT_EQ(paths->entries[1].value, "D:\\Pkg");
}

// In a double-byte system code page the trail byte of a name's character keeps its case
// ("\xa6\x61" and "\xa6\x41" are two Big5 characters), while ASCII letters still fold;
// under code page 1252 the same bytes fold as letters.
TEST(IniDataTest, FoldsNoTrailBytesOfTwoByteNames) {
  struct Case {
    const char* what;
    std::string text;
    std::string section;
    std::string key;
    std::string big5;   // expected under code page 950
    std::string latin;  // expected under code page 1252
  };
  const std::vector<Case> cases = {
      {"sections differ", "[\xa6\x61]\nK=1\n[\xa6\x41]\nK=2\n", "\xa6\x41", "K", "2", "1"},
      {"keys differ", "[S]\n\xa6\x61=1\n\xa6\x41=2\n", "S", "\xa6\x41", "2", "1"},
      {"lookup folds no trail", "[\xa6\x61]\nK=1\n", "\xa6\x41", "K", kMissing, "1"},
      {"letters after a two-byte character fold", "[S]\n\xa6\x61x=1\n", "s", "\xa6\x61X", "1", "1"},
  };
  for (const int codePage : {950, 1252}) {
    const test::TestMachine machine{codePage};
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + " in code page " + std::to_string(codePage));
      EXPECT_EQ(Read(IniData::Parse(c.text), c.section, c.key), codePage == 950 ? c.big5 : c.latin);
    }
  }
}

class IniFileTest : public ::testing::Test {
 protected:
  TIniFile Write(std::string_view content) const {
    machine_.WriteFile("C:\\App\\CorvaneC.ini", content);
    return TIniFile("C:\\App\\CorvaneC.ini");
  }
  test::TestMachine machine_;
};

TEST_F(IniFileTest, ReadsIntegersAsTheRunTimeLibraryConvertsThem) {
  struct Case {
    std::string text;
    int expected;
  };
  constexpr int kDefault = -99;
  const std::vector<Case> cases = {
      {"12", 12},
      {"  -12  ", -12},
      {"+5", 5},
      {"007", 7},
      {"0x1F", 31},
      {"0X1f", 31},
      {"$ff", 255},
      {"-$10", -16},
      {"$7FFFFFFF", INT_MAX},
      {"$FFFFFFFF", -1},
      {"0x100000000", kDefault},
      {"2147483647", INT_MAX},
      {"2147483648", kDefault},
      {"-2147483648", INT_MIN},
      {"-2147483649", kDefault},
      {"99999999999999999999999", kDefault},
      {"\" 42 \"", 42},
      {"12abc", kDefault},
      {"1.5", kDefault},
      {"1 2", kDefault},
      {"", kDefault},
      {"abc", kDefault},
      {"0x", kDefault},
      {"$", kDefault},
      {"-", kDefault},
      {"--1", kDefault},
      {"0xg", kDefault},
  };
  std::string content = "[Numbers]\n";
  for (std::size_t i = 0; i < cases.size(); ++i)
    content += "k" + std::to_string(i) + "=" + cases[i].text + "\n";
  const TIniFile ini = Write(content);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE("\"" + cases[i].text + "\"");
    EXPECT_EQ(ini.ReadInteger("numbers", "K" + std::to_string(i), kDefault), cases[i].expected);
  }
  EXPECT_EQ(ini.ReadInteger("Numbers", "missing", kDefault), kDefault);
  EXPECT_EQ(ini.ReadInteger("Missing", "k0", 211), 211);
}

TEST_F(IniFileTest, ReadsTheFileOnceThroughItsWindowsPath) {
  const TIniFile ini = Write(
      "[Server Information]\r\n"
      "ComputerName = srv1;srv2; \r\n"
      "ServerPort=8080\r\n"
      "SupportCallBack=\r\n"
      "[WorkDLLPath]\r\n"
      "P1=\"D:\\Pkg\"\r\n"
      "P2=Pkg\r\n"
      "[Empty]\r\n");
  EXPECT_EQ(ini.FileName(), "C:\\App\\CorvaneC.ini");
  EXPECT_EQ(ini.ReadString("server information", "computername", "127.0.0.1"), "srv1;srv2;");
  EXPECT_EQ(ini.ReadString("Server Information", "SupportCallBack", "0"), "");
  EXPECT_EQ(ini.ReadString("Server Information", "LoginCheck", "0"), "0");
  EXPECT_EQ(ini.ReadInteger("Server Information", "ServerPort", 211), 8080);
  EXPECT_THAT(ini.ReadSections(), ElementsAre("Server Information", "WorkDLLPath", "Empty"));
  EXPECT_THAT(ini.ReadSection("workdllpath"), ElementsAre("P1", "P2"));
  EXPECT_THAT(ini.ReadSectionValues("WorkDLLPath"), ElementsAre("P1=D:\\Pkg", "P2=Pkg"));
  EXPECT_THAT(ini.ReadSection("Missing"), IsEmpty());
  // As TIniFile has it, a section exists when it holds a key.
  EXPECT_TRUE(ini.SectionExists("SERVER INFORMATION"));
  EXPECT_FALSE(ini.SectionExists("Empty"));
  EXPECT_FALSE(ini.SectionExists("Missing"));
  EXPECT_TRUE(ini.ValueExists("Server Information", "supportcallback"));
  EXPECT_FALSE(ini.ValueExists("Server Information", "LoginCheck"));

  // Read once: a later change of the file is not seen by this object.
  machine_.WriteFile("C:\\App\\CorvaneC.ini", "[Server Information]\r\nServerPort=1\r\n");
  EXPECT_EQ(ini.ReadInteger("Server Information", "ServerPort", 211), 8080);
  EXPECT_EQ(TIniFile("C:\\APP\\corvanec.INI").ReadInteger("Server Information", "ServerPort", 211),
            1);
}

TEST_F(IniFileTest, AMissingFileGivesEveryDefault) {
  const TIniFile ini("C:\\App\\Profile\\tester\\CorvaneC.ini");
  EXPECT_EQ(ini.ReadString("CodePage", "UICodePage", "936"), "936");
  EXPECT_EQ(ini.ReadInteger("Server Information", "ServerPort", 211), 211);
  EXPECT_THAT(ini.ReadSections(), IsEmpty());
  EXPECT_FALSE(TIniFile("\\\\server\\share\\x.ini").ValueExists("S", "K"));
}

}  // namespace
}  // namespace ox
