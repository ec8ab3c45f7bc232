#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "lib/LibStrs.h"
#include "platform/CodePage.h"
#include "platform/DateTime.h"
#include "platform/Exceptions.h"
#include "platform/WinPath.h"
#include "tests/support/TestMachine.h"

namespace ox {
namespace {

// Every test runs on a GB machine: the searches are double-byte aware in its code page.
class LibStrsTest : public ::testing::Test {
 protected:
  test::TestMachine machine_{936};
};

// "亅" is 81 7C in GB: its trail byte is "|".
const std::string kTrailBar = Gb("亅");

// ---- texts -----------------------------------------------------------------

TEST_F(LibStrsTest, GetTokenCountsPiecesFromOne) {
  struct Case {
    std::string s, sep;
    int index;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"a,b,c", ",", 1, "a"},
      {"a,b,c", ",", 3, "c"},
      {"a,b,c", ",", 4, ""},
      {"a,b,c", ",", 0, ""},
      {"a,b,c", ",", -1, ""},
      {"a,,c", ",", 2, ""},
      {"a,,c", ",", 3, "c"},
      {"a,b,", ",", 3, ""},
      {"a,b,", ",", 4, ""},
      {"", ",", 1, ""},
      {"abc", ",", 1, "abc"},
      {"abc", ",", 2, ""},
      {"abc", "", 1, "abc"},
      {"a<>b<>c", "<>", 2, "b"},
      {"a\x01"
       "b\x01"
       "c",
       "\x01", 2, "b"},
      {"x" + kTrailBar + "y|z", "|", 1, "x" + kTrailBar + "y"},
      {"x" + kTrailBar + "y|z", "|", 2, "z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.s + " / " + c.sep + " / " + std::to_string(c.index));
    EXPECT_EQ(GetToken(c.s, c.sep, c.index), c.expected);
  }
}

TEST_F(LibStrsTest, NumTokenCountsSeparatorsPlusOne) {
  struct Case {
    std::string s, sep;
    int expected;
  };
  const std::vector<Case> cases = {
      {"a,b,c", ",", 3},   {"", ",", 0},    {"#", "#", 2},
      {"a#b##", "#", 4},   {"abc", ",", 1}, {"a,,c,", ",", 4},
      {"a<>b<>", "<>", 3}, {"abc", "", 1},  {"x" + kTrailBar + "|y", "|", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.s + " / " + c.sep);
    EXPECT_EQ(NumToken(c.s, c.sep), c.expected);
  }
}

TEST_F(LibStrsTest, CutTokenTakesThePieceAndTheSeparatorOff) {
  struct Case {
    std::string s, sep, piece, rest;
  };
  const std::vector<Case> cases = {
      {"abc", ",", "abc", ""},  {"a,b,c", ",", "a", "b,c"}, {",b", ",", "", "b"},
      {"a<>b", "<>", "a", "b"}, {"", ",", "", ""},          {kTrailBar + "|z", "|", kTrailBar, "z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.s + " / " + c.sep);
    std::string s = c.s;
    EXPECT_EQ(CutToken(s, c.sep), c.piece);
    EXPECT_EQ(s, c.rest);
  }
}

TEST_F(LibStrsTest, PadRFillsUpToTheLength) {
  EXPECT_EQ(PadR("ab", {4}), "ab  ");
  EXPECT_EQ(PadR("ab", {4, 48}), "ab00");
  EXPECT_EQ(PadR("abcde", {4}), "abcde");
  EXPECT_EQ(PadR("abcd", {4, 48}), "abcd");
  EXPECT_EQ(PadR("ab", {}), "ab");
  EXPECT_EQ(PadR("ab", {-3}), "ab");
  const std::vector<int> params = {3, '*'};
  EXPECT_EQ(PadR("", params), "***");
}

TEST_F(LibStrsTest, SwapStrReplacesUntilNoneIsLeft) {
  struct Case {
    std::string s, oldText, newText;
    bool doTrim;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"A;B;", ";", "", true, "AB"},
      {"abc", "abc", "ABC", false, "abc"},
      {" abc ", "abc", "ABC", true, "abc"},
      {"ABC", "b", "x", false, "ABC"},
      {"a b  c   d", "  ", " ", false, "a b c d"},
      {"aabb", "ab", "", false, ""},
      {"\t x,y \r\n", ",", ", ", true, "x, y"},
      {"a.b", ".", "..", false, "a..b"},
      {"abc", "", "x", false, "abc"},
      {"x" + kTrailBar + "|y", "|", "", false, "x" + kTrailBar + "y"},
      {kTrailBar + kTrailBar, kTrailBar, "-", false, "--"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.s + " / " + c.oldText + " / " + c.newText);
    EXPECT_EQ(SwapStr(c.s, c.oldText, c.newText, c.doTrim), c.expected);
  }
}

TEST_F(LibStrsTest, ButtonCaptionsAreTheSystemsGbTexts) {
  EXPECT_EQ(GetCHTButtonCaption("Yes"), Gb("是(&Y)"));
  EXPECT_EQ(GetCHTButtonCaption("OK"), Gb("确定"));
  EXPECT_EQ(GetCHTButtonCaption("NoToAll"), Gb("全否(&o)"));
  EXPECT_EQ(GetCHTButtonCaption("Help"), Gb("帮助(&H)"));
  EXPECT_EQ(GetCHTButtonCaption("ok"), "ok");
  EXPECT_EQ(GetCHTButtonCaption("Close"), "Close");
}

TEST_F(LibStrsTest, SmallTextHelpers) {
  EXPECT_TRUE(IsLocalAddress("127.0.0.1"));
  EXPECT_FALSE(IsLocalAddress("localhost"));
  EXPECT_FALSE(IsLocalAddress("127.0.0.1 "));
  EXPECT_DOUBLE_EQ(ValFloatDef("1.5", 9), 1.5);
  EXPECT_DOUBLE_EQ(ValFloatDef(" -2E3 ", 9), -2000);
  EXPECT_DOUBLE_EQ(ValFloatDef("1.5x", 9), 9);
  EXPECT_DOUBLE_EQ(ValFloatDef("", 9), 9);
}

TEST_F(LibStrsTest, LongTempPathIsTheTemporaryFolderWhenItFitsTheBuffer) {
  EXPECT_EQ(GetLongTempPath(), "C:\\Temp\\");
  Machine().tempPath = "C:\\" + std::string(300, 'x') + "\\";
  EXPECT_EQ(GetLongTempPath(), "");
}

// ---- dates -----------------------------------------------------------------

TEST_F(LibStrsTest, DateAndMonthTextsOfEveryKind) {
  struct Case {
    TDateTime date;
    int kind;
    std::string sep, full, month;
  };
  const TDateTime march5 = EncodeDate(2024, 3, 5);
  const std::vector<Case> cases = {
      {march5, 1, "/", "2024/03/05", "2024/03"},
      {march5, 2, "/", "03/05/2024", "03/2024"},
      {march5, 3, "/", "05/03/2024", "03/2024"},
      {march5, 4, "/", "113/03/05", "113/03"},
      {march5, 5, "/", "113/03/05", "113/03"},
      {EncodeDate(2005, 3, 5), 4, "/", "94/03/05", "94/03"},
      {EncodeDate(2005, 3, 5), 5, "/", "094/03/05", "094/03"},
      {march5 + 0.75, 1, "", "20240305", "202403"},
      {march5, 1, "-.", "2024-03-05", "2024-03"},
      {0, 1, "/", "", ""},
      {march5, 0, "/", "", ""},
      {march5, 6, "/", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.date) + " kind " + std::to_string(c.kind));
    EXPECT_EQ(DateToString(c.date, c.kind, c.sep), c.full);
    EXPECT_EQ(MonthToString(c.date, c.kind, c.sep), c.month);
  }
}

TEST_F(LibStrsTest, StringToDateReadsEveryKind) {
  struct Case {
    std::string s;
    int kind;
    std::string sep;
    TDateTime expected;
  };
  const TDateTime march5 = EncodeDate(2024, 3, 5);
  const std::vector<Case> cases = {
      {"2024/03/05", 1, "/", march5},
      {"03/05/2024", 2, "/", march5},
      {"05/03/2024", 3, "/", march5},
      {"113/3/5", 4, "/", march5},
      {"113/3/5", 5, "/", march5},
      {"  2024 / 3 / 5 ", 1, "/", march5},
      {"2024::03::05", 1, "::", march5},
      {"2024/02/30", 1, "/", EncodeDate(2024, 3, 1)},
      {"2024/12/32", 1, "/", EncodeDate(2025, 1, 1)},
      {"2024/13/01", 1, "/", 0},
      {"2024/00/01", 1, "/", 0},
      {"2024/03", 1, "/", 0},
      {"2024/x/05", 1, "/", 0},
      {"2024-03-05", 1, "/", 0},
      {"10000/01/01", 1, "/", 0},
      {"", 1, "/", 0},
      {"2024/03/05", 0, "/", 0},
      {"2024/03/05", 6, "/", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.s + " kind " + std::to_string(c.kind));
    EXPECT_EQ(StringToDate(c.s, c.kind, c.sep), c.expected);
  }
}

TEST_F(LibStrsTest, TransDateInAndCheckDate) {
  EXPECT_EQ(TransDateIn("20240305"), EncodeDate(2024, 3, 5));
  EXPECT_EQ(TransDateIn("2024035"), 0);
  EXPECT_EQ(TransDateIn("202403051"), 0);
  EXPECT_EQ(TransDateIn("20240230"), 0);
  EXPECT_EQ(TransDateIn("2024ab05"), 0);
  EXPECT_EQ(TransDateIn(""), 0);

  struct Case {
    std::string s;
    bool valid;
  };
  const std::vector<Case> cases = {
      {"", true},          {"17530101", true},  {"99991231", true},
      {"20240229", true},  {"17521231", false}, {"20240230", false},
      {"20230229", false}, {"2024030", false},  {"abcdefgh", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.s);
    EXPECT_EQ(CheckDate(c.s), c.valid);
  }
}

TEST_F(LibStrsTest, ShiftDateMovesByYearsMonthsAndDays) {
  struct Case {
    Variant date;
    std::string unit;
    int amount;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"20240131", "M", 1, "20240229"},
      {"20240229", "Y", 1, "20250228"},
      {"20240229", "y", 4, "20280229"},
      {"20240315", "m", -3, "20231215"},
      {"20241231", "M", 1, "20250131"},
      {"20240131", "M", 13, "20250228"},
      {"20240305", "D", -5, "20240229"},
      {"20241231", "d", 1, "20250101"},
      {"20240305", "D", 0, "20240305"},
      {"20240315", "W", 1, ""},
      {"20240315", "", 1, ""},
      {"99991215", "M", 1, ""},
      {"00010115", "M", -1, ""},
      {"99991231", "D", 1, ""},
      {"20240101", "Y", -2024, ""},
      {"20240101", "M", 2147483647, ""},
      {"20240230", "D", 1, ""},
      {u"20240305", "D", 1, "20240306"},
      {Variant::FromDate(EncodeDate(2024, 3, 5) + 0.5), "D", 1, "20240306"},
      {Variant::FromDate(0), "D", 1, ""},
      {20240305, "D", 1, ""},
      {Variant(), "D", 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(VarToStr(c.date) + " " + c.unit + " " + std::to_string(c.amount));
    EXPECT_EQ(ShiftDate(c.date, c.unit, c.amount), c.expected);
  }
}

TEST_F(LibStrsTest, DaysOfMonthByTheGregorianRule) {
  EXPECT_EQ(DaysOfMonth(2024, 2), 29);
  EXPECT_EQ(DaysOfMonth(2023, 2), 28);
  EXPECT_EQ(DaysOfMonth(2000, 2), 29);
  EXPECT_EQ(DaysOfMonth(1900, 2), 28);
  EXPECT_EQ(DaysOfMonth(2024, 4), 30);
  EXPECT_EQ(DaysOfMonth(2024, 12), 31);
  EXPECT_EQ(DaysOfMonth(2024, 0), 0);
  EXPECT_EQ(DaysOfMonth(2024, 13), 0);
}

TEST_F(LibStrsTest, UpdateDateWorksOutRelativeDates) {
  struct Case {
    std::string base, amount, unitFlag, mode, days, expected;
  };
  const std::vector<Case> cases = {
      {"202403", "-1", "1", "0", "0", "202402"},      {"202401", "-1", "0", "1", "x", "202312"},
      {"20240315", "1", "1", "2", "0", "20240430"},   {"20240315", "-1", "1", "2", "0", "20240229"},
      {"20240315", "1", "1", "1", "0", "20240401"},   {"20240315", "1", "1", "0", "-1", "20240414"},
      {"20240315", "1", "1", "9", "0", "20240415"},   {"20240131", "1", "1", "0", "0", "20240229"},
      {"20240315", "0", "0", "1", "0", "20240310"},   {"20240315", "0", "0", "2", "0", "20240316"},
      {"20240315", "-1", "0", "1", "0", "20240303"},  {"20240315", "1", "0", "0", "2", "20240324"},
      {"20240315", "1", "0", "0", "-30", "20240221"}, {"20241315", "1", "1", "1", "0", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.base + " " + c.amount + " " + c.unitFlag + " " + c.mode + " " + c.days);
    EXPECT_EQ(UpdateDate(c.base, c.amount, c.unitFlag, c.mode, c.days), c.expected);
  }
}

TEST_F(LibStrsTest, UpdateDateRaisesOnlyForNumbersItReads) {
  EXPECT_THROW(UpdateDate("20240315", "x", "1", "1", "0"), EConvertError);
  EXPECT_THROW(UpdateDate("202403", "", "1", "1", "0"), EConvertError);
  EXPECT_THROW(UpdateDate("20240315", "1", "0", "0", "x"), EConvertError);
  EXPECT_THROW(UpdateDate("20240315", "1", "1", "0", "1.5"), EConvertError);
  EXPECT_EQ(UpdateDate("20240315", "1", "1", "1", "x"), "20240401");
  EXPECT_EQ(UpdateDate("20240315", "1", "0", "2", "x"), "20240323");
}

TEST_F(LibStrsTest, WeekEdgeDateGivesSundayOrSaturday) {
  EXPECT_EQ(WeekEdgeDate("20240315", "1", "1"), "20240317");
  EXPECT_EQ(WeekEdgeDate("20240315", "1", "2"), "20240323");
  EXPECT_EQ(WeekEdgeDate("20240317", "0", "1"), "20240317");
  EXPECT_EQ(WeekEdgeDate("20240316", "0", "0"), "20240316");
  EXPECT_EQ(WeekEdgeDate("2024031", "0", "1"), "");
  EXPECT_THROW(WeekEdgeDate("20240315", "w", "1"), EConvertError);
}

// ---- schedules -------------------------------------------------------------

Variant Period(int kind, std::initializer_list<Variant> params) {
  return VarArrayOf({kind, VarArrayOf(params)});
}

TEST_F(LibStrsTest, ClientScheduleDateFindsTheFirstRun) {
  struct Case {
    std::string name, start;
    Variant period;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"daily", "20240305", Period(0, {}), "20240305"},
      {"daily, bad start", "2024030", Period(0, {}), ""},
      {"weekly on the start's weekday", "20240305", Period(1, {1, 2}), "20240305"},
      {"weekly on a weekday before it", "20240305", Period(1, {1, 1}), "20240311"},
      {"weekly on a weekday after it", "20240305", Period(1, {1, 6}), "20240309"},
      {"every 2 weeks, later weekday", "20240305", Period(1, {2, 4}), "20240314"},
      {"every 2 weeks, earlier weekday", "20240305", Period(1, {2, 0}), "20240317"},
      {"every 0 weeks as every week", "20240305", Period(1, {0, 1}), "20240311"},
      {"monthly on day 31", "20240320", Period(2, {0, 1, 31}), "20240331"},
      {"monthly on day 31, April", "20240405", Period(2, {0, 1, 31}), "20240430"},
      {"monthly on a passed day", "20240320", Period(2, {0, 1, 15}), "20240415"},
      {"monthly on the start day", "20240315", Period(2, {0, 1, 15}), "20240315"},
      {"every 2 months on a passed day", "20240320", Period(2, {0, 2, 15}), "20240515"},
      {"monthly on day 30 from 31 January", "20240131", Period(2, {0, 1, 30}), "20240229"},
      {"monthly on day 100", "20240305", Period(2, {0, 1, 100}), "20240331"},
      {"first Monday, passed", "20240320", Period(2, {1, 1, 0, 1}), "20240401"},
      {"first Monday, ahead", "20240301", Period(2, {1, 1, 0, 1}), "20240304"},
      {"first Friday, on the day", "20240301", Period(2, {1, 1, 0, 5}), "20240301"},
      {"second Tuesday", "20240305", Period(2, {1, 1, 1, 2}), "20240312"},
      {"second Tuesday, passed", "20240313", Period(2, {1, 1, 1, 2}), "20240409"},
      {"fourth Sunday", "20240301", Period(2, {1, 1, 3, 0}), "20240324"},
      {"last Friday", "20240301", Period(2, {1, 1, 4, 5}), "20240329"},
      {"last Sunday, passed", "20240331", Period(2, {1, 1, 4, 0}), "20240331"},
      {"last Saturday, passed", "20240331", Period(2, {1, 1, 4, 6}), "20240427"},
      {"every 3 months, first Monday", "20240320", Period(2, {1, 3, 0, 1}), "20240506"},
      {"every 0 months as every month", "20240320", Period(2, {1, 0, 0, 1}), "20240401"},
      {"week 5 names no day", "20240320", Period(2, {1, 1, 5, 1}), ""},
      {"hourly", "20240305", Period(3, {1}), ""},
      {"monthly sub-kind 2", "20240305", Period(2, {2, 1, 1}), ""},
      {"weekday not a number", "20240305", Period(1, {1, "x"}), ""},
      {"parameters missing", "20240305", Period(1, {1}), ""},
      {"no period", "20240305", Variant(), ""},
      {"no run left in the calendar", "99991215", Period(2, {1, 1, 0, 1}), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ClientScheduleDate(c.start, c.period), c.expected);
  }
}

// Over every start of a leap year, each first run lies on or after the start, on the
// chosen weekday, and within the period.
TEST_F(LibStrsTest, ClientScheduleDateOverAWholeYear) {
  const TDateTime first = EncodeDate(2024, 1, 1);
  for (int day = 0; day < 366; ++day) {
    const TDateTime date = first + day;
    const std::string start = DateToString(date, 1, "");
    for (int weekday = 0; weekday < 7; ++weekday) {
      SCOPED_TRACE(start + " weekday " + std::to_string(weekday));
      const std::string weekly = ClientScheduleDate(start, Period(1, {1, weekday}));
      const TDateTime run = TransDateIn(weekly);
      EXPECT_GE(run, date);
      EXPECT_LT(run, date + 7);
      EXPECT_EQ(DayOfWeek(run), weekday + 1);

      const std::string lastOfMonth = ClientScheduleDate(start, Period(2, {1, 1, 4, weekday}));
      const TDateTime monthly = TransDateIn(lastOfMonth);
      EXPECT_GE(monthly, date);
      EXPECT_EQ(DayOfWeek(monthly), weekday + 1);
      EXPECT_NE(ShiftDate(lastOfMonth, "D", 7).substr(4, 2), lastOfMonth.substr(4, 2));
    }
  }
}

// ---- relative dates in condition parameters --------------------------------

// A dynamic-field record: the fields joined by #3.
std::string Record(std::initializer_list<std::string> fields) {
  std::string record;
  for (const std::string& field : fields)
    record += field + "\x03";
  return record;
}

Variant Options(const Variant& params, std::initializer_list<Variant> records) {
  Variant dynamic = VarArrayCreate({0, static_cast<int>(records.size())});
  dynamic[0] = static_cast<int>(records.size());
  int i = 1;
  for (const Variant& record : records)
    dynamic[i++] = record;
  return VarArrayOf({Variant(), params, Variant(), dynamic});
}

TEST_F(LibStrsTest, GetPeriodRptOptionFillsRangesAndSingleValues) {
  const Variant params = VarArrayOf({"keep", VarArrayOf({"", "b", "e"}), "s", "m", "n"});
  const Variant options =
      Options(params,
              {// Range of parameter 1: first and last day of the previous month.
               Record({"0", "F1", "Y", "-1", "1", "1", "0", "Y", "-1", "1", "2", "0", "D", "1"}),
               // Single full date, parameter 2: the run date itself.
               Record({"1", "F2", "Y", "0", "0", "0", "0", "D", "2"}),
               // Single month value, parameter 3: three months back.
               Record({"1", "F3", "Y", "-3", "1", "0", "0", "M", "3"}),
               // Not relative: parameter 4 stays.
               Record({"1", "F4", "N", "-3", "1", "0", "0", "D", "4"})});
  const Variant result = GetPeriodRptOption(options, "20240305");
  ASSERT_TRUE(result.isArray());
  EXPECT_EQ(result[0], Variant("keep"));
  EXPECT_EQ(result[1], VarArrayOf({"", "20240201", "20240229"}));
  EXPECT_EQ(result[2], Variant("20240305"));
  EXPECT_EQ(result[3], Variant("202312"));
  EXPECT_EQ(result[4], Variant("n"));
}

TEST_F(LibStrsTest, GetPeriodRptOptionMovesOnlyTheChangingEdgeOfARange) {
  const Variant params = VarArrayOf({VarArrayOf({"", "b", "e"})});
  const Variant options = Options(
      params, {Record({"0", "F", "N", "0", "0", "0", "0", "Y", "1", "0", "2", "0", "M", "0"})});
  EXPECT_EQ(GetPeriodRptOption(options, "20240305")[0], VarArrayOf({"", "b", "202404"}));
}

TEST_F(LibStrsTest, GetPeriodRptOptionGivesAnEmptyTextOnAnyFailure) {
  const Variant params = VarArrayOf({"a", "b"});
  const std::vector<Variant> cases = {
      Options(params, {Record({"1", "F", "Y", "0", "0", "0", "0", "D", "x"})}),
      Options(params, {Record({"1", "F", "Y", "0", "0", "0", "0", "D", "7"})}),
      Options(params, {Record({"1", "F", "Y", "z", "1", "1", "0", "D", "1"})}),
      Options(params, {Record({"0", "F", "Y", "0", "0", "0", "0", "N", "", "", "", "", "D", "1"})}),
      Options(params, {Variant::Null()}),
      VarArrayOf({Variant(), params}),
      Variant("not an array"),
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    const Variant result = GetPeriodRptOption(cases[i], "20240305");
    EXPECT_TRUE(result.isNarrowText());
    EXPECT_EQ(VarToStr(result), "");
  }
}

// ---- Variants --------------------------------------------------------------

TEST_F(LibStrsTest, IifAndEmptyOrNull) {
  EXPECT_EQ(IIF(true, 1, "b"), Variant(1));
  EXPECT_EQ(IIF(false, 1, "b"), Variant("b"));
  EXPECT_TRUE(IsVarEmptyOrNull(Variant()));
  EXPECT_TRUE(IsVarEmptyOrNull(Variant::Null()));
  EXPECT_FALSE(IsVarEmptyOrNull(Variant("")));
  EXPECT_FALSE(IsVarEmptyOrNull(0));
}

// A job value as the forms build it: GB texts, a nested list, a number, a null, and a
// two-dimensional block whose nested array is left alone.
Variant NarrowJob() {
  Variant block = VarArrayCreate({1, 2, 0, 1});
  block(1, 0) = Gb("材料");
  block(1, 1) = 7;
  block(2, 0) = Gb("差异");
  block(2, 1) = VarArrayOf({Gb("汇总")});
  return VarArrayOf(
      {Gb("中文"), VarArrayOf({Gb("报表"), VarArrayOf({"abc"}), 5}), Variant::Null(), block});
}

Variant WideJob() {
  Variant block = VarArrayCreate({1, 2, 0, 1});
  block(1, 0) = u"材料";
  block(1, 1) = 7;
  block(2, 0) = u"差异";
  block(2, 1) = VarArrayOf({Gb("汇总")});
  return VarArrayOf(
      {u"中文", VarArrayOf({u"报表", VarArrayOf({u"abc"}), 5}), Variant::Null(), block});
}

// Compares kinds as well as values: Variant equality treats narrow and wide alike.
void ExpectSameTexts(const Variant& actual, const Variant& expected) {
  ASSERT_EQ(actual.type(), expected.type());
  if (actual.isNarrowText()) {
    EXPECT_EQ(*actual.narrowText(), *expected.narrowText());
  } else if (actual.isWideText()) {
    EXPECT_EQ(*actual.wideText(), *expected.wideText());
  }
  if (!actual.isArray()) return;
  ASSERT_EQ(actual.array().dimCount(), expected.array().dimCount());
  for (int dim = 1; dim <= actual.array().dimCount(); ++dim)
    ASSERT_EQ(actual.array().bounds(dim), expected.array().bounds(dim));
  for (std::size_t i = 0; i < actual.array().size(); ++i) {
    SCOPED_TRACE(i);
    ExpectSameTexts(actual.array().elements()[i], expected.array().elements()[i]);
  }
}

TEST_F(LibStrsTest, JobValuesAreWidenedAndNarrowedAgain) {
  const Variant wide = OxStrToWideString(NarrowJob(), 936);
  ExpectSameTexts(wide, WideJob());
  ExpectSameTexts(OxWideStringToStr(wide, 936), NarrowJob());
}

TEST_F(LibStrsTest, SingleValuesConvertWithTheGivenCodePage) {
  const std::string big5 = Utf8ToAnsi("中文", 950);
  ExpectSameTexts(OxWideStringToStr(u"中文", 950), Variant(big5));
  ExpectSameTexts(OxStrToWideString(big5, 950), Variant(u"中文"));
  // A wide text first goes to the system code page.
  ExpectSameTexts(OxStrToWideString(u"中文", 936), Variant(u"中文"));
  ExpectSameTexts(OxWideStringToStr(Gb("中文"), 936), Variant(Gb("中文")));
  // A code page that converts nothing gives way to the system code page.
  ExpectSameTexts(OxStrToWideString(Gb("中文"), 12345), Variant(u"中文"));
  ExpectSameTexts(OxWideStringToStr(u"中文", 12345), Variant(Gb("中文")));
  // The conversions read up to the first NUL.
  ExpectSameTexts(OxStrToWideString(Gb("中") + std::string(1, '\0') + "x", 936), Variant(u"中"));
  ExpectSameTexts(OxWideStringToStr(std::u16string(u"中\0x", 3), 936), Variant(Gb("中")));
  ExpectSameTexts(OxStrToWideString(std::string(), 936), Variant(std::u16string()));
  // Values without text stay as they are.
  EXPECT_TRUE(OxStrToWideString(Variant(), 936).isEmpty());
  EXPECT_TRUE(OxWideStringToStr(Variant::Null(), 936).isNull());
  ExpectSameTexts(OxStrToWideString(5, 936), Variant(5));
}

TEST_F(LibStrsTest, BLVariantToWideStringJoinsTheListWithItsCount) {
  EXPECT_EQ(BLVariantToWideString("P", VarArrayOf({2, "a", Gb("中")})),
            u"P\x03"
            u"2\x03"
            u"a\x03"
            u"中\x03");
  EXPECT_EQ(BLVariantToWideString(Gb("表"), VarArrayOf({"0", "unused"})),
            u"表\x03"
            u"0\x03");
  EXPECT_EQ(BLVariantToWideString("P", VarArrayOf({1, Variant::Null()})),
            u"P\x03"
            u"1\x03"
            u"\x03");
  EXPECT_EQ(BLVariantToWideString("P", VarArrayOf({3, "a"})), u"");
  EXPECT_EQ(BLVariantToWideString("P", VarArrayOf({"x", "a"})), u"");
  EXPECT_EQ(BLVariantToWideString("P", Variant("x")), u"");
}

// ---- the failure path of the conversions -----------------------------------

using Conversion = Variant (*)(const Variant&, int);

// Converts `input` under an address-space limit that leaves room for a copy of it and
// the log line, not for the converted text; exits with 0 when `input` came back as it was.
[[noreturn]] void ConvertWithLittleMemory(Conversion convert, const Variant& input,
                                          std::size_t bytes) {
  std::size_t pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  rlimit limit{};
  getrlimit(RLIMIT_AS, &limit);
  limit.rlim_cur = pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) + bytes * 3 / 2;
  setrlimit(RLIMIT_AS, &limit);
  const Variant result = convert(input, 936);
  // Compared in place: Variant equality would widen copies of both texts.
  const Variant& in = input.array().elements()[0];
  const Variant& out = result.array().elements()[0];
  const bool same = out.isNarrowText() ? in.isNarrowText() && *out.narrowText() == *in.narrowText()
                                       : in.isWideText() && *out.wideText() == *in.wideText();
  _exit(same ? 0 : 1);
}

// Running out of memory during the walk: the conversion writes the failure to the
// alert log and gives its input back.
TEST_F(LibStrsTest, AConversionThatFailsIsLoggedAndGivesItsInputBack) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers reserve more address space than the limit allows";
#endif
  struct Case {
    Conversion convert;
    Variant input;
    std::string line;
  };
  constexpr std::size_t kBytes = 64 << 20;
  const std::vector<Case> cases = {
      {OxStrToWideString, VarArrayOf({std::string(kBytes, 'a')}), "LINE[115] std::bad_alloc"},
      {OxWideStringToStr, VarArrayOf({std::u16string(kBytes / 2, u'a')}),
       "LINE[2735] std::bad_alloc"},
  };
  const std::filesystem::path log = ToNativePath("C:\\Host\\Log\\Alert_libstrs_20240305.log");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EXIT(ConvertWithLittleMemory(c.convert, c.input, kBytes), ::testing::ExitedWithCode(0),
                "");
    EXPECT_NE(test::ReadFileText(log).find("] " + c.line + "\r\n"), std::string::npos)
        << test::ReadFileText(log);
  }
}

}  // namespace
}  // namespace ox
