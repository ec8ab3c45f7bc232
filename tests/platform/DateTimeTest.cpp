#include <gtest/gtest.h>

#include "platform/DateTime.h"
#include "platform/Exceptions.h"
#include "tests/support/TestMachine.h"

namespace ox {
namespace {

TEST(DateTime, EncodesAndDecodesAcrossTheWholeRange) {
  struct Case {
    int year, month, day;
    double serial;
    int weekday;  // 1 Sunday .. 7 Saturday
  };
  const Case cases[] = {
      {1899, 12, 30, 0, 7},       {1899, 12, 29, -1, 6},     {1900, 1, 1, 2, 2},
      {2024, 3, 5, 45356, 3},     {2024, 2, 29, 45351, 5},   {1, 1, 1, -693593, 2},
      {9999, 12, 31, 2958465, 6}, {1752, 12, 31, -53689, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) + "-" +
                 std::to_string(c.day));
    EXPECT_DOUBLE_EQ(EncodeDate(c.year, c.month, c.day), c.serial);
    // Before 1899-12-30 the time of day counts away from zero.
    const DateParts parts = DecodeDate(c.serial < 0 ? c.serial - 0.75 : c.serial + 0.75);
    EXPECT_EQ(parts.year, c.year);
    EXPECT_EQ(parts.month, c.month);
    EXPECT_EQ(parts.day, c.day);
    EXPECT_EQ(DayOfWeek(c.serial), c.weekday);
  }
}

TEST(DateTime, RejectsInvalidDates) {
  TDateTime out = 123;
  for (const auto& [y, m, d] : {std::tuple{2023, 2, 29},
                                {2024, 13, 1},
                                {2024, 0, 1},
                                {0, 1, 1},
                                {10000, 1, 1},
                                {2024, 4, 31}}) {
    EXPECT_FALSE(TryEncodeDate(y, m, d, out));
  }
  EXPECT_EQ(out, 123);
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
  EXPECT_EQ(DaysInAMonth(1900, 2), 28);
  EXPECT_EQ(DaysInAMonth(2000, 2), 29);
  EXPECT_EQ(DaysInAMonth(2024, 13), 0);
  EXPECT_EQ(DecodeDate(1e12).year, 0);
}

TEST(DateTime, TimeOfDayRoundsToTheMillisecond) {
  const TDateTime value = EncodeDate(2024, 3, 5) + EncodeTime(23, 59, 59, 999);
  const TimeParts t = DecodeTime(value);
  EXPECT_EQ(t.hour, 23);
  EXPECT_EQ(t.minute, 59);
  EXPECT_EQ(t.second, 59);
  EXPECT_EQ(t.millisecond, 999);
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn:ss:zzz", value), "2024/03/05 23:59:59:999");
  EXPECT_EQ(FormatDateTime("yyyymmdd", value), "20240305");
  EXPECT_EQ(FormatDateTime("yy-m-d h:mm \"at\" s", value), "24-3-5 23:59 at 59");
}

TEST(DateTime, ReadsDatesInTheShortDateOrder) {
  test::TestMachine machine;
  TDateTime out = 0;
  EXPECT_TRUE(TryStrToDateTime("2024/3/5", out));
  EXPECT_DOUBLE_EQ(out, EncodeDate(2024, 3, 5));
  Machine().shortDateFormat = "dd/mm/yyyy";
  EXPECT_TRUE(TryStrToDateTime("05.03.2024 10:20:30", out));
  EXPECT_DOUBLE_EQ(out, EncodeDate(2024, 3, 5) + EncodeTime(10, 20, 30, 0));
  for (const char* bad : {"", "2024", "5/3", "a/b/c", "31/02/2024", "1/1/2024 25:00", "1/1/2024 10",
                          "1/1/2024 1:2:3:4:5", "1234567890/1/1"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(TryStrToDateTime(bad, out));
  }
}

}  // namespace
}  // namespace ox
