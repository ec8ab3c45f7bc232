#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "tests/support/TestMachine.h"

namespace ox {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::string_view kKey = "Software\\Test";

RegistryData ParseBody(std::string_view body) {
  return RegistryData::Parse("REGEDIT4\r\n\r\n" + std::string(body));
}

// A readable form of a value so that a table row states its expectation in one text.
std::string Describe(const std::optional<RegistryValue>& value) {
  if (!value) return "missing";
  switch (value->kind) {
    case RegistryValue::Kind::String:
      return "text " + value->text;
    case RegistryValue::Kind::DWord:
      return "dword " + std::to_string(value->number);
    case RegistryValue::Kind::Binary: {
      std::string text = "binary";
      for (unsigned char byte : value->bytes) {
        static constexpr char kDigits[] = "0123456789abcdef";
        text += ' ';
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
      }
      return text;
    }
  }
  return "?";
}

TEST(RegistryDataTest, ParsesValueLines) {
  struct Case {
    const char* what;
    std::string lines;  // below [HKEY_LOCAL_MACHINE\Software\Test]
    std::string name;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"escaped backslashes", R"("ClientPath"="C:\\App\\")", "ClientPath", R"(text C:\App\)"},
      {"escaped quotes", R"("Q"="say \"hi\"")", "Q", R"(text say "hi")"},
      {"other backslashes kept", R"("P"="a\b")", "P", R"(text a\b)"},
      {"escaped name", R"("a\"b"="1")", "a\"b", "text 1"},
      {"empty text", R"("E"="")", "E", "text "},
      {"GB bytes kept", "\"N\"=\"\xb2\xe2\xca\xd4\"", "N", "text \xb2\xe2\xca\xd4"},
      {"default value", R"(@="dflt")", "", "text dflt"},
      {"blanks around =", R"("B" = "x")", "B", "text x"},
      {"dword", R"("Count"=dword:0000000a)", "Count", "dword 10"},
      {"dword upper case", R"("Count"=DWORD:FFFFFFFF)", "Count", "dword 4294967295"},
      {"dword of 9 digits", R"("Count"=dword:100000000)", "Count", "missing"},
      {"dword not hex", R"("Count"=dword:12g)", "Count", "missing"},
      {"dword empty", R"("Count"=dword:)", "Count", "missing"},
      {"binary", R"("Bin"=hex:01,ff,0A)", "Bin", "binary 01 ff 0a"},
      {"binary empty", R"("Bin"=hex:)", "Bin", "binary"},
      {"binary continued", "\"Bin\"=hex:01,02,\\\r\n  03,04", "Bin", "binary 01 02 03 04"},
      {"binary continued twice", "\"Bin\"=hex:01,\\\n  02,\\\n  03", "Bin", "binary 01 02 03"},
      {"binary bad byte", R"("Bin"=hex:01,123)", "Bin", "missing"},
      {"multi-text kept as bytes", R"("M"=hex(7):61,00,00)", "M", "binary 61 00 00"},
      {"expandable text", R"("X"=hex(2):25,54,4d,50,25,00)", "X", "text %TMP%"},
      {"unknown data", R"("U"=qword:1)", "U", "missing"},
      {"unterminated text", R"("U"="abc)", "U", "missing"},
      {"junk after text", R"("U"="abc" x)", "U", "missing"},
      {"unterminated name", R"("U=1)", "U", "missing"},
      {"comment", R"(;"C"="1")", "C", "missing"},
      {"name ignores case", R"("ClientPath"="x")", "CLIENTPATH", "text x"},
      // Only ASCII letters fold: C4 and E4 differ as ASCII 'D' and 'd' would.
      {"GB name exact", "\"\xc4\xe3\"=\"1\"", "\xe4\xe3", "missing"},
      {"GB name found", "\"\xc4\xe3\"=\"1\"", "\xc4\xe3", "text 1"},
      {"later definition wins", "\"V\"=\"1\"\r\n\"v\"=dword:00000002", "V", "dword 2"},
      {"deleted", "\"V\"=\"1\"\r\n\"V\"=-", "V", "missing"},
      {"defined after deletion", "\"V\"=\"1\"\r\n\"V\"=-\r\n\"V\"=\"3\"", "V", "text 3"},
      {"LF line ends", "\"A\"=\"1\"\n\"B\"=\"2\"\n", "B", "text 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const RegistryData data = ParseBody("[HKEY_LOCAL_MACHINE\\Software\\Test]\r\n" + c.lines);
    EXPECT_EQ(Describe(data.Value(HKEY_LOCAL_MACHINE, kKey, c.name)), c.expected);
  }
}

TEST(RegistryDataTest, ParsesKeyLines) {
  struct Case {
    const char* what;
    std::string text;  // the whole file
    RootKey root;
    std::string expected;  // value "V" of Software\Test
  };
  const std::vector<Case> cases = {
      {"REGEDIT4", "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n\"V\"=\"1\"",
       HKEY_CURRENT_USER, "text 1"},
      {"version 5 header",
       "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n"
       "\"V\"=\"1\"",
       HKEY_CURRENT_USER, "text 1"},
      {"UTF-8 BOM", "\xEF\xBB\xBFREGEDIT4\n[HKEY_USERS\\Software\\Test]\n\"V\"=\"1\"", HKEY_USERS,
       "text 1"},
      {"no header", "[HKEY_CURRENT_USER\\Software\\Test]\r\n\"V\"=\"1\"", HKEY_CURRENT_USER,
       "missing"},
      {"header not first", "\r\nREGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n\"V\"=\"1\"",
       HKEY_CURRENT_USER, "missing"},
      {"short root", "REGEDIT4\n[HKLM\\Software\\Test]\n\"V\"=\"1\"", HKEY_LOCAL_MACHINE, "text 1"},
      {"root ignores case", "REGEDIT4\n[hkcr\\Software\\Test]\n\"V\"=\"1\"", HKEY_CLASSES_ROOT,
       "text 1"},
      {"current config", "REGEDIT4\n[HKEY_CURRENT_CONFIG\\Software\\Test]\n\"V\"=\"1\"",
       HKEY_CURRENT_CONFIG, "text 1"},
      {"other root not seen", "REGEDIT4\n[HKCU\\Software\\Test]\n\"V\"=\"1\"", HKEY_LOCAL_MACHINE,
       "missing"},
      {"unknown root opens nothing",
       "REGEDIT4\n[HKCU\\Software\\Test]\n[HKEY_NOWHERE\\A]\n\"V\"=\"1\"", HKEY_CURRENT_USER,
       "missing"},
      {"value before any key", "REGEDIT4\n\"V\"=\"1\"\n[HKCU\\Software\\Test]", HKEY_CURRENT_USER,
       "missing"},
      {"blocks of one key merge",
       "REGEDIT4\n[HKCU\\Software\\Test]\n[HKCU\\Other]\n"
       "\"V\"=\"2\"\n[hkcu\\SOFTWARE\\test\\]\n\"V\"=\"1\"",
       HKEY_CURRENT_USER, "text 1"},
      {"deleted key loses values",
       "REGEDIT4\n[HKCU\\Software\\Test]\n\"V\"=\"1\"\n[-HKCU\\Software]\n[HKCU\\Software\\Test]",
       HKEY_CURRENT_USER, "missing"},
      {"values below a deletion line are passed over",
       "REGEDIT4\n[HKCU\\Software\\Test]\n[-HKCU\\Software\\Test]\n\"V\"=\"1\"", HKEY_CURRENT_USER,
       "missing"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Describe(RegistryData::Parse(c.text).Value(c.root, kKey, "V")), c.expected);
  }
}

TEST(RegistryDataTest, FindsKeysIgnoringCaseAndOuterBackslashes) {
  const RegistryData data = ParseBody("[HKEY_LOCAL_MACHINE\\Software\\QMX\\Corvane]\r\n");
  struct Case {
    std::string path;
    bool exists;
  };
  const std::vector<Case> cases = {
      {"Software\\QMX\\Corvane", true},
      {"\\SOFTWARE\\qmx\\corvane\\", true},
      {"Software\\QMX", true},
      {"Software", true},
      {"", true},
      {"Soft", false},
      {"Software\\QMX\\Corvane\\X", false},
      {"Software\\QMX\\Corvane2", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(data.HasKey(HKEY_LOCAL_MACHINE, c.path), c.exists);
  }
  EXPECT_FALSE(data.HasKey(HKEY_CURRENT_USER, ""));
  EXPECT_FALSE(RegistryData::Parse("").HasKey(HKEY_LOCAL_MACHINE, ""));
}

// "A!" sorts between "A" and "A\B": a lookup by prefix alone would miss "A\B".
TEST(RegistryDataTest, KeysThatSortBetweenAKeyAndItsSubkeysDoNotHideThem) {
  RegistryData data = ParseBody("[HKCU\\A!]\n[HKCU\\A\\B]\n[HKCU\\A\\B\\C]\n");
  EXPECT_TRUE(data.HasKey(HKEY_CURRENT_USER, "A"));
  EXPECT_THAT(data.SubKeyNames(HKEY_CURRENT_USER, ""), ElementsAre("A", "A!"));

  data = ParseBody("[HKCU\\A\\B]\n[HKCU\\A\\B!]\n[HKCU\\A\\B\\C]\n[-HKCU\\A\\B]\n");
  EXPECT_FALSE(data.HasKey(HKEY_CURRENT_USER, "A\\B"));
  EXPECT_FALSE(data.HasKey(HKEY_CURRENT_USER, "A\\B\\C"));
  EXPECT_TRUE(data.HasKey(HKEY_CURRENT_USER, "A\\B!"));
}

TEST(RegistryDataTest, DeletingAKeyKeepsItsParent) {
  const RegistryData data = ParseBody("[HKCU\\X\\Y\\Z]\n[-HKCU\\x\\y]\n[-HKCU\\Missing\\Key]\n");
  EXPECT_FALSE(data.HasKey(HKEY_CURRENT_USER, "X\\Y"));
  EXPECT_TRUE(data.HasKey(HKEY_CURRENT_USER, "X"));
  EXPECT_THAT(data.SubKeyNames(HKEY_CURRENT_USER, "X"), IsEmpty());
  EXPECT_FALSE(data.HasKey(HKEY_CURRENT_USER, "Missing"));
}

TEST(RegistryDataTest, ListsDirectSubkeysOnceSortedAsTheRegistryDoes) {
  const RegistryData data = ParseBody(
      "[HKLM\\S\\Beta]\n"
      "[HKLM\\S\\alpha\\Deep\\Deeper]\n"
      "[HKLM\\s\\ALPHA]\n"
      "[HKLM\\S\\_x]\n"
      "[HKLM\\Sibling\\NotMine]\n");
  // Sorted by upper-case names ("_" comes after the letters), spelled as first written.
  EXPECT_THAT(data.SubKeyNames(HKEY_LOCAL_MACHINE, "\\s\\"), ElementsAre("alpha", "Beta", "_x"));
  EXPECT_THAT(data.SubKeyNames(HKEY_LOCAL_MACHINE, "S\\Alpha"), ElementsAre("Deep"));
  EXPECT_THAT(data.SubKeyNames(HKEY_LOCAL_MACHINE, ""), ElementsAre("S", "Sibling"));
  EXPECT_THAT(data.SubKeyNames(HKEY_LOCAL_MACHINE, "S\\Beta"), IsEmpty());
  EXPECT_THAT(data.SubKeyNames(HKEY_LOCAL_MACHINE, "Nowhere"), IsEmpty());
}

TEST(RegistryDataTest, ListsValueNamesInTheOrderTheyWereFirstDefined) {
  const RegistryData data = ParseBody(
      "[HKLM\\K]\n\"b\"=\"1\"\n@=\"d\"\n\"A\"=\"2\"\n\"gone\"=\"3\"\n"
      "[HKLM\\Other]\n\"x\"=\"1\"\n"
      "[HKLM\\k]\n\"B\"=dword:00000001\n\"Gone\"=-\n");
  EXPECT_THAT(data.ValueNames(HKEY_LOCAL_MACHINE, "K"), ElementsAre("b", "", "A"));
  EXPECT_THAT(data.ValueNames(HKEY_LOCAL_MACHINE, "Missing"), IsEmpty());
}

// Big5 (code page 950) characters whose trail byte is an ASCII character.
constexpr std::string_view kGong = "\xa5\x5c";  // 功, trail "\"
constexpr std::string_view kJia = "\xa5\x5b";   // 加, trail "["
constexpr std::string_view kBao = "\xa5\x5d";   // 包, trail "]"
constexpr std::string_view kDi = "\xa6\x61";    // 地, trail "a"
constexpr std::string_view kZai = "\xa6\x41";   // 再, trail "A"
constexpr std::string_view kNeng = "\xaf\xe0";  // 能

std::string Big5(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts)
    text += part;
  return text;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names)
    text += (text.empty() ? "" : "|") + name;
  return text;
}

// In a double-byte system code page a trail byte is part of its character: never an
// escape, quote, bracket or separator, never case-folded. The same bytes read as
// single-byte characters under code page 1252.
TEST(RegistryDataTest, ReadsValuesOfTwoByteCharactersWhole) {
  struct Case {
    const char* what;
    std::string lines;  // below [HKEY_LOCAL_MACHINE\Software\Test]
    std::string name;
    std::string big5;   // expected under code page 950
    std::string latin;  // expected under code page 1252
  };
  const std::vector<Case> cases = {
      {"folder ending in a \\ trail", Big5({R"("P"="C:\\)", kGong, R"(\\")"}), "P",
       Big5({R"(text C:\)", kGong, "\\"}), "missing"},
      {"text ending in a \\ trail", Big5({R"("P"=")", kGong, R"(")"}), "P", Big5({"text ", kGong}),
       "missing"},
      {"name ending in a \\ trail", Big5({R"(")", kGong, R"("="1")"}), Big5({kGong}), "text 1",
       "missing"},
      {"[ and ] trails", Big5({R"(")", kJia, kBao, R"("=")", kBao, kJia, kGong, kNeng, R"(")"}),
       Big5({kJia, kBao}), Big5({"text ", kBao, kJia, kGong, kNeng}),
       Big5({"text ", kBao, kJia, kGong, kNeng})},
      {"letter trails differ", Big5({R"(")", kDi, R"("="1")", "\r\n", R"(")", kZai, R"("="2")"}),
       Big5({kDi}), "text 1", "text 2"},
      {"lookup does not fold a trail", Big5({R"(")", kDi, R"("="1")"}), Big5({kZai}), "missing",
       "text 1"},
      {"letters after a two-byte character fold", Big5({R"(")", kDi, R"(x"="1")"}),
       Big5({kDi, "X"}), "text 1", "text 1"},
      {"a \\ trail continues no hex line", Big5({R"("B"=hex:01,)", kGong, "\r\n", R"("V"="1")"}),
       "V", "text 1", "missing"},
  };
  for (const int codePage : {950, 1252}) {
    const test::TestMachine machine{codePage};
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + " in code page " + std::to_string(codePage));
      const RegistryData data = ParseBody("[HKEY_LOCAL_MACHINE\\Software\\Test]\r\n" + c.lines);
      EXPECT_EQ(Describe(data.Value(HKEY_LOCAL_MACHINE, kKey, c.name)),
                codePage == 950 ? c.big5 : c.latin);
    }
  }
}

TEST(RegistryDataTest, SplitsKeyPathsOfTwoByteCharactersOnlyAtTheirOwnSeparators) {
  struct Case {
    const char* what;
    std::string lines;  // key lines
    std::string big5;   // subkeys of HKLM\S, joined by "|", under code page 950
    std::string latin;  // the same under code page 1252
  };
  const std::vector<Case> cases = {
      {"\\ trail", Big5({"[HKLM\\S\\", kGong, kNeng, "]"}), Big5({kGong, kNeng}), "\xa5"},
      {"[ and ] trails", Big5({"[HKLM\\S\\", kJia, "]\n[HKLM\\S\\", kBao, "]"}),
       Big5({kJia, "|", kBao}), Big5({kJia, "|", kBao})},
      {"letter trails differ", Big5({"[HKLM\\S\\", kDi, "]\n[HKLM\\S\\", kZai, "]"}),
       Big5({kZai, "|", kDi}), Big5({kDi})},
      {"] trail closes no key line", Big5({"[HKLM\\S\\X", kBao, "\n[HKLM\\S\\Y]"}), "Y", "X\xa5|Y"},
      {"deleting keeps the real parent",
       Big5({"[HKLM\\S\\", kGong, "\\T]\n[-HKLM\\S\\", kGong, "]\n[HKLM\\S\\Y]"}), "Y", "Y"},
  };
  for (const int codePage : {950, 1252}) {
    const test::TestMachine machine{codePage};
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + " in code page " + std::to_string(codePage));
      const RegistryData data = ParseBody(c.lines);
      EXPECT_EQ(Joined(data.SubKeyNames(HKEY_LOCAL_MACHINE, "S")),
                codePage == 950 ? c.big5 : c.latin);
    }
  }
}

// Through the registry file of the machine settings, as the configuration readers use it.
class RegistryFileTest : public ::testing::Test {
 protected:
  test::TestMachine machine_;
};

TEST_F(RegistryFileTest, ReadsTheOpenKeyOfTheMachineRegistryFile) {
  machine_.WriteRegistry(
      "[HKEY_LOCAL_MACHINE\\Software\\QMX\\Corvane]\r\n"
      "\"ClientPath\"=\"C:\\\\App\\\\\"\r\n"
      "\"ProfileType\"=dword:00000001\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\QMX\\Corvane\\Sub]\r\n"
      "\"Inner\"=\"in\"\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\PLOD\\Vantrell]\r\n"
      "\"GoAhead\"=\"1\"\r\n");
  TRegistry reg(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(reg.ReadString("ClientPath"), "");  // no key open yet
  ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\QMX\\Corvane"));
  EXPECT_EQ(reg.ReadString("clientpath"), "C:\\App\\");
  EXPECT_EQ(reg.ReadInteger("ProfileType"), 1u);
  EXPECT_EQ(reg.ReadString("ProfileType"), "");  // a number is no text
  EXPECT_EQ(reg.ReadInteger("ClientPath"), std::nullopt);
  EXPECT_TRUE(reg.ValueExists("ProfileType"));
  EXPECT_FALSE(reg.ValueExists("ServerPath"));
  EXPECT_THAT(reg.GetValueNames(), ElementsAre("ClientPath", "ProfileType"));
  EXPECT_THAT(reg.GetKeyNames(), ElementsAre("Sub"));

  // A relative path goes below the open key; a failed open keeps the open key.
  EXPECT_TRUE(reg.KeyExists("Sub"));
  EXPECT_FALSE(reg.OpenKeyReadOnly("Missing"));
  EXPECT_EQ(reg.ReadString("ClientPath"), "C:\\App\\");
  ASSERT_TRUE(reg.OpenKeyReadOnly("Sub"));
  EXPECT_EQ(reg.ReadString("Inner"), "in");
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\SOFTWARE\\PLOD\\Vantrell"));
  EXPECT_EQ(reg.ReadString("GoAhead"), "1");

  reg.setRootKey(HKEY_CURRENT_USER);  // closes the key
  EXPECT_EQ(reg.ReadString("GoAhead"), "");
  EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\PLOD\\Vantrell"));
}

TEST_F(RegistryFileTest, ReadsTheFileAfreshOnEveryOpen) {
  TRegistry reg(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\QMX\\Corvane"));  // no file

  machine_.WriteRegistry("[HKLM\\Software\\QMX\\Corvane]\n\"ServerPath\"=\"D:\\\\S\"\n");
  EXPECT_TRUE(reg.KeyExists("Software\\QMX\\Corvane"));
  ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\QMX\\Corvane"));
  EXPECT_EQ(reg.ReadString("ServerPath"), "D:\\S");

  machine_.WriteRegistry("[HKLM\\Software\\QMX\\Corvane]\n\"ServerPath\"=\"E:\\\\T\"\n");
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\QMX\\Corvane"));
  EXPECT_EQ(reg.ReadString("ServerPath"), "E:\\T");

  std::filesystem::remove(Machine().registryFile);
  EXPECT_FALSE(reg.KeyExists("\\Software\\QMX\\Corvane"));
  EXPECT_FALSE(reg.OpenKeyReadOnly("\\Software\\QMX\\Corvane"));
}

}  // namespace
}  // namespace ox
