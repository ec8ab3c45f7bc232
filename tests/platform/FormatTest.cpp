#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Exceptions.h"
#include "platform/Format.h"
#include "platform/Variant.h"
#include "tests/support/TestMachine.h"

namespace ox {
namespace {

struct Case {
  std::string format;
  std::vector<Variant> args;
  std::string expected;
};

class FormatTest : public ::testing::Test {
 protected:
  static void ExpectAll(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.format);
      EXPECT_EQ(Format(c.format, c.args), c.expected);
    }
  }

  test::TestMachine machine{936};
};

TEST_F(FormatTest, Integers) {
  const std::int64_t min64 = std::numeric_limits<std::int64_t>::min();
  ExpectAll({
      {"%d", {5}, "5"},
      {"%.2d", {5}, "05"},
      {"%.3d", {-5}, "-005"},
      {"%.1d", {123}, "123"},
      {"%5d|%-5d|", {42, 42}, "   42|42   |"},
      {"%6.3d", {7}, "   007"},
      {"%d%.2d%.2d", {2024, 3, 5}, "20240305"},
      {"%.2d:%.2d", {8, 5}, "08:05"},
      {"%D", {std::int64_t{1} << 40}, "1099511627776"},
      {"%d", {min64}, "-9223372036854775808"},
      {"%d", {true}, "-1"},
      {"%u", {-1}, "4294967295"},
      {"%u", {std::int64_t{-1}}, "18446744073709551615"},
      {"%x|%.4X|%x", {255, 255, -1}, "FF|00FF|FFFFFFFF"},
      {"%x", {std::int64_t{-2}}, "FFFFFFFFFFFFFFFE"},
      {"%p", {255}, "000000FF"},
  });
}

TEST_F(FormatTest, Texts) {
  ExpectAll({
      {"%s", {"abc"}, "abc"},
      {"%.2s|%.9s|%.s|", {"abc", "abc", "abc"}, "ab|abc||"},
      {"%5s|%-5s|", {"abc", "abc"}, "  abc|abc  |"},
      {"%S", {u"测试"}, Gb("测试")},
      {"[%s]", {Variant()}, "[]"},
      {Gb("材料%s"), {Gb("差异")}, Gb("材料差异")},
      {"Can not Get Message\rType= %s, ID= %s ",
       {"E", "000013"},
       "Can not Get Message\rType= E, ID= 000013 "},
  });
}

TEST_F(FormatTest, ArgumentCounterAndStars) {
  ExpectAll({
      {"%1:s %0:s %s", {"a", "b"}, "b a b"},
      {"%:s%s", {"a", "b"}, "ab"},
      {"%*d|", {5, 42}, "   42|"},
      {"%-*.*d|", {6, 3, 7}, "007   |"},
      {"%*d|%.*s|", {-3, 1, -1, "ab"}, "1|ab|"},
      {"100%% %s%%", {"x"}, "100% x%"},
      {"no specifiers", {}, "no specifiers"},
  });
}

TEST_F(FormatTest, FloatingPoint) {
  const double date = 45356.5;
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  ExpectAll({
      {"%f", {1.0}, "1.00"},
      {"%e", {1000.0}, "1.00000000000000E+003"},
      {"%.3e|%.1e", {-1234.5, 0.0}, "-1.23E+003|0E+000"},
      {"%e", {1e-300}, "1.00000000000000E-300"},
      {"%g|%g|%g", {0.1 + 0.2, 2.5, -7.0}, "0.3|2.5|-7"},
      {"%g|%g", {1e20, 1.5e-7}, "1E020|1.5E-007"},
      {"%g|%g", {0.0001, 0.00001}, "0.0001|1E-005"},
      {"%g|%g", {1e14, 1e15}, "100000000000000|1E015"},
      {"%.3g|%.3g", {1234.5, 0.0012345}, "1.23E003|0.00123"},
      {"%.0f|%.2f|%.2f", {2.5, 0.125, -0.001}, "3|0.13|0.00"},
      {"%.2f", {-2.675}, "-2.67"},
      {"%.20f", {0.5}, "0.500000000000000000"},
      {"%f", {1e20}, "1.00000000000000000E+020"},
      {"%n|%.1n|%.0n", {1234567.891, 999.96, -1234.5}, "1,234,567.89|1,000.0|-1,235"},
      {"%m|%m", {1234.5, -2.0}, Gb("￥") + "1,234.50|-" + Gb("￥") + "2.00"},
      {"%f", {Variant::FromDate(date)}, "45356.50"},
      {"%8.1f|%-8.1f|", {-3.14159, 3.14159}, "    -3.1|3.1     |"},
      {"%f|%e|%g",
       {kInfinity, -kInfinity, std::numeric_limits<double>::quiet_NaN()},
       "INF|-INF|NAN"},
  });
}

TEST_F(FormatTest, CurrencySignFollowsTheCodePage) {
  struct SignCase {
    int codePage;
    std::string expected;
  };
  const SignCase cases[] = {{950, "NT$1.00"}, {1252, "$1.00"}};
  for (const SignCase& c : cases) {
    SCOPED_TRACE(c.codePage);
    Machine().ansiCodePage = c.codePage;
    const Variant one(1.0);
    EXPECT_EQ(Format("%m", {&one, 1}), c.expected);
  }
}

TEST_F(FormatTest, FailuresQuoteTheFormat) {
  const std::string invalid = "' invalid or incompatible with argument";
  const std::string longFormat = "0123456789012345678901234567890123 %d";
  const std::string gbCut = std::string(30, 'a') + Gb("材") + "%d";
  const std::vector<Case> cases = {
      {"%d", {"12"}, "Format '%d" + invalid},
      {"%d", {Variant()}, "Format '%d" + invalid},
      {"%d", {1.5}, "Format '%d" + invalid},
      {"%s", {5}, "Format '%s" + invalid},
      {"%s", {true}, "Format '%s" + invalid},
      {"%s", {2.5}, "Format '%s" + invalid},
      {"%s", {Variant::Null()}, "Format '%s" + invalid},
      {"%s", {VarArrayOf({1})}, "Format '%s" + invalid},
      {"%f", {5}, "Format '%f" + invalid},
      {"%x", {"FF"}, "Format '%x" + invalid},
      {"%*d", {"5", 1}, "Format '%*d" + invalid},
      {"%y", {1}, "Format '%y" + invalid},
      {"abc%", {1}, "Format 'abc%" + invalid},
      {"%5", {1}, "Format '%5" + invalid},
      {"%5-d", {1}, "Format '%5-d" + invalid},
      {"%70000s", {"a"}, "Format '%70000s" + invalid},
      {"%*s", {70000, "a"}, "Format '%*s" + invalid},
      {"%d %d", {1}, "No argument for format '%d %d'"},
      {"%2:s", {"a", "b"}, "No argument for format '%2:s'"},
      {"%*d", {5}, "No argument for format '%*d'"},
      {longFormat, {"x"}, "Format '" + longFormat.substr(0, 31) + invalid},
      {gbCut, {"x"}, "Format '" + std::string(30, 'a') + invalid},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    try {
      Format(c.format, c.args);
      ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), c.expected);
    }
  }
}

}  // namespace
}  // namespace ox
