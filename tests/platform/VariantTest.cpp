#include <gtest/gtest.h>

#include <cmath>

#include "platform/CodePage.h"
#include "platform/DateTime.h"
#include "platform/Exceptions.h"
#include "platform/Variant.h"
#include "tests/support/TestMachine.h"

namespace ox {
namespace {

class VariantTest : public ::testing::Test {
 protected:
  test::TestMachine machine{936};
};

TEST_F(VariantTest, TypeCodesFollowAutomation) {
  struct Case {
    Variant value;
    std::uint16_t type;
  };
  const Case cases[] = {
      {Variant(), varEmpty},
      {Variant::Null(), varNull},
      {Variant(7), varInteger},
      {Variant(std::int64_t{1} << 40), varInt64},
      {Variant(4000000000u), varInt64},
      {Variant(true), varBoolean},
      {Variant(1.5), varDouble},
      {Variant::FromDate(45356), varDate},
      {Variant("abc"), varString},
      {Variant(u"abc"), varOleStr},
      {VarArrayCreate({0, 2}), varArray | varVariant},
      {VarArrayCreate({1, 3}, varOleStr), varArray | varOleStr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(VarTypeAsText(c.type));
    EXPECT_EQ(VarType(c.value), c.type);
  }
}

TEST_F(VariantTest, ConversionsToText) {
  struct Case {
    Variant value;
    std::string text;
  };
  const Case cases[] = {
      {Variant(), ""},
      {Variant(-12), "-12"},
      {Variant(true), "True"},
      {Variant(false), "False"},
      {Variant(0.1), "0.1"},
      {Variant(2.5), "2.5"},
      {Variant(1e20), "1E20"},
      {Variant(1.5e-7), "1.5E-7"},
      {Variant(123456789012345678.0), "1.23456789012346E17"},
      {Variant::FromDate(EncodeDate(2024, 3, 5)), "2024/03/05"},
      {Variant::FromDate(EncodeDate(2024, 3, 5) + EncodeTime(9, 8, 7, 0)), "2024/03/05 09:08:07"},
      {Variant(u"中文"), Gb("中文")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.value.asString(), c.text);
  }
  EXPECT_EQ(VarToStr(Variant::Null()), "");
  EXPECT_THROW(Variant::Null().asString(), EVariantTypeCastError);
  EXPECT_EQ(Variant(Gb("中文")).asWide(), u"中文");
}

TEST_F(VariantTest, ConversionsToNumbers) {
  EXPECT_EQ(Variant(true).asInteger(), -1);
  EXPECT_EQ(Variant().asInteger(), 0);
  EXPECT_EQ(Variant(" 42 ").asInteger(), 42);
  EXPECT_EQ(Variant("$1F").asInteger(), 31);
  EXPECT_EQ(Variant("2.5").asInteger(), 2);  // half rounds to even
  EXPECT_EQ(Variant(3.5).asInteger(), 4);
  EXPECT_EQ(Variant(-2.5).asInteger(), -2);
  EXPECT_DOUBLE_EQ(Variant("1e3").asDouble(), 1000.0);
  EXPECT_DOUBLE_EQ(Variant(u"-0.25").asDouble(), -0.25);
  EXPECT_EQ(Variant("9223372036854775807").asInt64(), INT64_MAX);

  for (const char* bad : {"", "abc", "12abc", "1.2.3", "inf", "nan", "0x", "--1", "1e"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(Variant(bad).asDouble(), EVariantTypeCastError);
  }
  EXPECT_THROW(Variant::Null().asInteger(), EVariantTypeCastError);
  EXPECT_THROW(VarArrayCreate({0, 1}).asInteger(), EVariantTypeCastError);
  EXPECT_THROW(Variant(3e9).asInteger(), EVariantOverflowError);
  EXPECT_THROW(Variant("99999999999999999999").asInt64(), EVariantOverflowError);
  EXPECT_THROW(Variant(std::nan("")).asInteger(), EVariantOverflowError);
}

TEST_F(VariantTest, ConversionsToBooleanAndDate) {
  EXPECT_TRUE(Variant(" TRUE ").asBoolean());
  EXPECT_FALSE(Variant("false").asBoolean());
  EXPECT_TRUE(Variant("-1").asBoolean());
  EXPECT_FALSE(Variant(0).asBoolean());
  EXPECT_TRUE(Variant(0.5).asBoolean());
  EXPECT_THROW(Variant("Y").asBoolean(), EVariantTypeCastError);

  EXPECT_DOUBLE_EQ(Variant("2024/03/05").asDate(), EncodeDate(2024, 3, 5));
  EXPECT_DOUBLE_EQ(Variant("2024-3-5 10:20").asDate(),
                   EncodeDate(2024, 3, 5) + EncodeTime(10, 20, 0, 0));
  EXPECT_DOUBLE_EQ(Variant(45356).asDate(), 45356.0);
  EXPECT_THROW(Variant("2024/02/30").asDate(), EVariantTypeCastError);
}

TEST_F(VariantTest, ArraysKeepTheirBoundsAndDimensions) {
  Variant grid = VarArrayCreate({0, 1, 0, 0});
  EXPECT_EQ(VarArrayDimCount(grid), 2);
  grid(0, 0) = "srv1";
  grid(1, 0) = 8080;
  VarArrayRedim(grid, 1);  // the last dimension grows, the first column stays
  grid(0, 1) = "srv2";
  grid(1, 1) = 8080;
  EXPECT_EQ(VarArrayHighBound(grid, 2), 1);
  EXPECT_EQ(grid(0, 0), Variant("srv1"));
  EXPECT_EQ(grid(1, 0).asInteger(), 8080);
  EXPECT_EQ(grid(0, 1), Variant("srv2"));

  Variant list = VarArrayCreate({1, 3});
  EXPECT_EQ(VarArrayLowBound(list, 1), 1);
  EXPECT_TRUE(VarIsEmpty(list[1]));
  EXPECT_THROW(list[0], EVariantBadIndexError);
  EXPECT_THROW(list[4], EVariantBadIndexError);
  EXPECT_THROW(list(1, 1), EVariantBadIndexError);
  EXPECT_THROW(Variant(5)[0], EVariantNotAnArrayError);
  EXPECT_THROW(VarArrayHighBound(list, 2), EVariantBadIndexError);
  EXPECT_THROW(VarArrayCreate({0}), EVariantBadIndexError);
  EXPECT_THROW(VarArrayCreate({0, 1, 0, 1, 0, 1}), EVariantBadIndexError);
  EXPECT_THROW(VarArrayCreate({3, 1}), EVariantBadIndexError);

  Variant none = VarArrayCreate({0, -1});  // an empty array is allowed
  EXPECT_EQ(none.array().size(), 0u);
  EXPECT_EQ(VarArrayCreate({0, 1}, varInteger)[0], Variant(0));
}

TEST_F(VariantTest, CopiesAreDeep) {
  Variant job = VarArrayCreate({0, 2});
  job[0] = VarArrayOf({"MVAR52", 3});
  Variant copy = job;
  copy[0][0] = "CHANGED";
  EXPECT_EQ(job[0][0], Variant("MVAR52"));
  EXPECT_EQ(copy[0][0], Variant("CHANGED"));
  EXPECT_FALSE(job == copy);
  copy[0][0] = "MVAR52";
  EXPECT_TRUE(job == copy);
}

TEST_F(VariantTest, EqualityComparesValues) {
  EXPECT_EQ(Variant(1), Variant(1.0));
  EXPECT_EQ(Variant(true), Variant(-1));
  EXPECT_EQ(Variant("abc"), Variant(u"abc"));
  EXPECT_FALSE(Variant("1") == Variant(1));
  EXPECT_FALSE(Variant() == Variant::Null());
  EXPECT_EQ(Variant::Null(), Variant::Null());
  EXPECT_FALSE(VarArrayCreate({0, 1}) == VarArrayCreate({1, 2}));
}

TEST(FloatText, ReadsOnlyWholeDecimalNumbers) {
  struct Case {
    const char* text;
    bool ok;
    double value;
  };
  const Case cases[] = {
      {"1", true, 1},         {" +1.5 ", true, 1.5}, {".5", true, 0.5},      {"5.", true, 5},
      {"-1E-2", true, -0.01}, {"", false, 0},        {".", false, 0},        {"1,5", false, 0},
      {"0x10", false, 0},     {"1e+", false, 0},     {"infinity", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    double value = 0;
    EXPECT_EQ(TryStrToFloat(c.text, value), c.ok);
    if (c.ok) {
      EXPECT_DOUBLE_EQ(value, c.value);
    }
  }
  std::int64_t n = 0;
  EXPECT_TRUE(TryStrToInt64("-0x10", n));
  EXPECT_EQ(n, -16);
  EXPECT_TRUE(TryStrToInt64("-9223372036854775808", n));
  EXPECT_EQ(n, INT64_MIN);
  EXPECT_FALSE(TryStrToInt64("9223372036854775808", n));
  EXPECT_FALSE(TryStrToInt64("+-1", n));
  EXPECT_FALSE(TryStrToInt64("$", n));
}

}  // namespace
}  // namespace ox
