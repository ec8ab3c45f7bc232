#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "tests/support/TestMachine.h"

namespace ox {
namespace {

enum class Way { Both, Decode, Encode };

struct Mapping {
  int codePage;
  Way way;
  std::string bytes;
  std::u16string text;
};

// What Windows' MultiByteToWideChar / WideCharToMultiByte give.
const std::vector<Mapping> kWindowsMappings = {
    {936, Way::Both, "Abc 1~\x1A\x7F", u"Abc 1~\x1A\x7F"},
    {936, Way::Both, "\xD6\xD0\xCE\xC4", u"中文"},
    {936, Way::Both, "\x80", u"€"},
    {936, Way::Both, "\xFF", u"\uF8F5"},
    {936, Way::Both, "\xAA\xA1\xF8\xA1", u"\uE000\uE234"},  // user-defined areas
    {936, Way::Encode, "\xA8\xA4\xA8\xA1", u"Àā"},          // best fit
    {936, Way::Encode, "a??b", u"a\U00020000b"},
    {936, Way::Encode, "?x", u"\xD800x"},  // lone surrogate
    {936, Way::Encode, "?", u"\u0E01"},
    {936, Way::Decode, "a\xD6", u"a?"},   // lead byte at the end
    {936, Way::Decode, "\x81 b", u"?b"},  // the "?" takes the space
    {936, Way::Decode, "\xD6\x7F\xD6\xD0", u"?中"},
    {950, Way::Both, "\xA4\xA4\xA4\xE5", u"中文"},
    {950, Way::Both, "\xA3\xE1", u"€"},
    {950, Way::Both, "\x80\xFF", u"\u0080\uF8F8"},
    {950, Way::Both, "\xFA\x40", u"\uE000"},  // user-defined area
    {950, Way::Both, "\xF9\xF9\xA1\x45", u"═‧"},
    {950, Way::Decode, "\xA2\xA4", u"═"},
    {950, Way::Encode, "A", u"À"},
    {950, Way::Encode, "??", u"\U0001F600"},
    {950, Way::Decode, "\xA4", u"?"},
    {950, Way::Decode, "\xA4\x20\xA4\xA4", u"?中"},
    {950, Way::Decode, "\x81\x80", u"?"},  // a trail byte with no character
    {437, Way::Both, "\x01\x1A\x1C\x7F", u"\x01\x1A\x1C\x7F"},
    {437, Way::Both, "\x80\x82\xE1\xB0\xFF", u"Çéß░\u00A0"},
    {437, Way::Encode, "a?", u"a中"},
    {437, Way::Encode, "??", u"\U00020000"},
    {932, Way::Both, "\x1A\x1C\x7F\x82\xA0", u"\x1A\x1C\x7Fあ"},
};

TEST(CodePageTest, ConvertsAsWindowsDoes) {
  for (const Mapping& m : kWindowsMappings) {
    SCOPED_TRACE(testing::Message() << m.codePage << " " << testing::PrintToString(m.bytes));
    if (m.way != Way::Encode) {
      EXPECT_EQ(MultiByteToWide(m.codePage, m.bytes), m.text);
    }
    if (m.way != Way::Decode) {
      EXPECT_EQ(WideToMultiByte(m.codePage, m.text), m.bytes);
    }
  }
}

TEST(CodePageTest, NoStateCarriesOverBetweenCalls) {
  EXPECT_EQ(MultiByteToWide(936, "\xD6"), u"?");
  EXPECT_EQ(MultiByteToWide(936, "\xD0"), u"?");
  EXPECT_EQ(MultiByteToWide(936, "\xD6\xD0"), u"中");
}

TEST(CodePageTest, LeadBytes) {
  for (int byte = 0; byte < 256; ++byte) {
    SCOPED_TRACE(byte);
    const auto b = static_cast<unsigned char>(byte);
    const bool chinese = byte >= 0x81 && byte <= 0xFE;
    EXPECT_EQ(IsDBCSLeadByteEx(936, b), chinese);
    EXPECT_EQ(IsDBCSLeadByteEx(950, b), chinese);
    EXPECT_EQ(IsDBCSLeadByteEx(932, b),
              (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
    EXPECT_FALSE(IsDBCSLeadByteEx(437, b));
    EXPECT_FALSE(IsDBCSLeadByteEx(1252, b));
    EXPECT_FALSE(IsDBCSLeadByteEx(65001, b));
  }
}

TEST(CodePageTest, SystemCodePageIsTheMachines) {
  {
    test::TestMachine machine(950);
    EXPECT_TRUE(IsDBCSLeadByte(0xA4));
    EXPECT_EQ(AnsiToUtf8("\xA4\xA4"), "中");
    EXPECT_EQ(Utf8ToAnsi("中"), "\xA4\xA4");
    EXPECT_EQ(MultiByteToWide(0, "\xA4\xA4"), u"中");
    EXPECT_EQ(Gb("中"), "\xD6\xD0");  // GB whatever the machine
  }
  test::TestMachine machine(1252);
  EXPECT_FALSE(IsDBCSLeadByte(0xA4));
  EXPECT_EQ(AnsiToUtf8("\xE9\x80"), "é€");
  EXPECT_EQ(AnsiToUtf8("\xA4\xA4", 950), "中");
}

TEST(CodePageTest, UnknownCodePages) {
  for (int codePage : {936, 950, 437, 1252, 932, 65001})
    EXPECT_TRUE(IsValidCodePage(codePage));
  for (int codePage : {12345, -1, 0, 1200}) {
    SCOPED_TRACE(codePage);
    EXPECT_FALSE(IsValidCodePage(codePage));
    if (codePage == 0) continue;  // 0 is the system code page in the conversions
    EXPECT_EQ(MultiByteToWide(codePage, "abc"), u"");
    EXPECT_EQ(WideToMultiByte(codePage, u"abc"), "");
    EXPECT_FALSE(IsDBCSLeadByteEx(codePage, 0xA4));
  }
}

TEST(CodePageTest, Utf8NeverFails) {
  EXPECT_EQ(Utf8ToWide("a\xFF"
                       "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Utf8ToWide("a\xE4\xB8"), u"a\uFFFD");
  EXPECT_EQ(WideToUtf8(u"a\xD800"), "a\xEF\xBF\xBD");
  EXPECT_EQ(WideToUtf8(Utf8ToWide("中文𠀀")), "中文𠀀");
  EXPECT_EQ(MultiByteToWide(65001, "\xE4\xB8\xAD\xFF"), u"中\uFFFD");
}

TEST(CodePageTest, SystemTextsRoundTripThroughGb) {
  EXPECT_EQ(Gb("确定"), "\xC8\xB7\xB6\xA8");
  for (const char* text :
       {"商品分类方式一", "[您现在运行的是Exe版本!]", "web报表网址配置不正确或无法访问！",
        "不能同時有兩個 F2Button 指到同一個 Edit.", "中断(&A)", "Inv.Cate.1"}) {
    SCOPED_TRACE(text);
    const std::string gb = Gb(text);
    EXPECT_EQ(gb.find('?'), std::string::npos);
    EXPECT_EQ(AnsiToUtf8(gb, 936), text);
  }
}

}  // namespace
}  // namespace ox
