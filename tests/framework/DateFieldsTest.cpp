#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/DateFields.h"
#include "platform/DateTime.h"

namespace ox {
namespace {

std::string Describe(const DateSettings& settings, std::string_view text) {
  return "format " + std::to_string(settings.format) + " sep '" + settings.separator + "' text '" +
         std::string(text) + "'";
}

TEST(DateFieldsTest, ReadDateSettingsFallsBackToFormatOneAndSlash) {
  struct Case {
    std::string sys001, sys002;
    int format;
    std::string separator;
  };
  const std::vector<Case> cases = {
      {"3", "-", 3, "-"}, {"5", ".", 5, "."}, {"abc", "-", 1, "-"},
      {"", "", 1, "/"},   {"4x", "", 1, "/"}, {"2", " ", 2, " "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sys001 + " / " + c.sys002);
    const DateSettings settings = ReadDateSettings(c.sys001, c.sys002);
    EXPECT_EQ(settings.format, c.format);
    EXPECT_EQ(settings.separator, c.separator);
  }
}

TEST(DateFieldsTest, MasksAndBlankTextsFollowTheFormat) {
  struct Case {
    DateSettings settings;
    std::string dateMask, yearMonthMask, blankDate, blankYearMonth;
  };
  const std::vector<Case> cases = {
      {{1, "/"}, "9999/99/99;1; ", "9999/99;1; ", "    /  /  ", "    /  "},
      {{2, "/"}, "99/99/9999;1; ", "99/9999;1; ", "  /  /    ", "  /    "},
      {{3, "/"}, "99/99/9999;1; ", "99/9999;1; ", "  /  /    ", "  /    "},
      {{4, "/"}, "99/99/99;1; ", "99/99;1; ", "  /  /  ", "  /  "},
      {{5, "/"}, "999/99/99;1; ", "999/99;1; ", "   /  /  ", "   /  "},
      {{1, "-"}, "9999-99-99;1; ", "9999-99;1; ", "    -  -  ", "    -  "},
      {{2, "-"}, "99-99-9999;1; ", "99-9999;1; ", "  -  -    ", "  -    "},
      {{3, "-"}, "99-99-9999;1; ", "99-9999;1; ", "  -  -    ", "  -    "},
      {{4, "-"}, "99-99-99;1; ", "99-99;1; ", "  -  -  ", "  -  "},
      {{5, "-"}, "999-99-99;1; ", "999-99;1; ", "   -  -  ", "   -  "},
      // A format the settings do not define is laid out as format 1.
      {{9, "/"}, "9999/99/99;1; ", "9999/99;1; ", "    /  /  ", "    /  "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Describe(c.settings, ""));
    EXPECT_EQ(DateEditMask(c.settings), c.dateMask);
    EXPECT_EQ(YearMonthEditMask(c.settings), c.yearMonthMask);
    EXPECT_EQ(BlankDateText(c.settings), c.blankDate);
    EXPECT_EQ(BlankYearMonthText(c.settings), c.blankYearMonth);
  }
}

TEST(DateFieldsTest, NormalizeDateGivesTheInternalTextAndItsValidity) {
  struct Case {
    DateSettings settings;
    std::string text, normalized;
    bool valid;
  };
  const std::vector<Case> cases = {
      {{1, "/"}, "2024/05/01", "20240501", true},
      {{1, "/"}, " 2024/5/1 ", "20240501", true},
      {{2, "/"}, "05/01/2024", "20240501", true},
      {{3, "/"}, "01/05/2024", "20240501", true},
      {{4, "/"}, "13/05/01", "19240501", true},
      {{5, "/"}, "113/05/01", "20240501", true},
      {{4, "/"}, "94/03/05", "20050305", true},
      {{1, "-"}, "2024-02-29", "20240229", true},
      {{1, "/"}, "2023/02/29", "20230229", false},
      {{1, "/"}, "2024/13/01", "20241301", false},
      {{1, "/"}, "1752/12/31", "17521231", false},
      {{1, "/"}, "2024/0/01", "20240001", false},
      // Blank or empty texts are no date at all, and that is allowed.
      {{1, "/"}, "    /  /  ", "", true},
      {{4, "/"}, "  /  /  ", "", true},
      {{3, "-"}, "  -  -    ", "", true},
      {{1, "/"}, "", "", true},
      // A part that is no number leaves the trimmed text, which is no date.
      {{1, "/"}, " 2024/  /01 ", "2024/  /01", false},
      {{1, "-"}, "2024/05/01", "2024/05/01", false},
      {{1, "/"}, "2024/05", "2024/05", false},
      {{1, "/"}, "2024/ab/01", "2024/ab/01", false},
      // An undefined format gives nothing to check.
      {{6, "/"}, "2024/05/01", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Describe(c.settings, c.text));
    const std::string normalized = NormalizeDate(c.text, c.settings);
    EXPECT_EQ(normalized, c.normalized);
    EXPECT_EQ(IsValidDateText(normalized), c.valid);
  }
}

TEST(DateFieldsTest, NormalizeYearMonthGivesTheInternalTextAndItsValidity) {
  struct Case {
    DateSettings settings;
    std::string text, normalized;
    bool valid;
  };
  const std::vector<Case> cases = {
      {{1, "/"}, "2024/05", "202405", true},
      {{1, "/"}, " 2024/5 ", "202405", true},
      {{2, "/"}, "05/2024", "202405", true},
      {{3, "-"}, "05-2024", "202405", true},
      {{4, "/"}, "13/05", "192405", true},
      {{5, "/"}, "113/05", "202405", true},
      {{1, "/"}, "2024/13", "202413", false},
      {{1, "/"}, "    /  ", "", true},
      {{5, "/"}, "   /  ", "", true},
      // A part that is 0 or no number leaves the trimmed text, which the check refuses.
      {{1, "/"}, "2024/00", "2024/00", false},
      {{1, "/"}, "2024/ab", "2024/ab", false},
      {{4, "/"}, "  /05", "/05", false},
      {{7, "/"}, "2024/05", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Describe(c.settings, c.text));
    const std::string normalized = NormalizeYearMonth(c.text, c.settings);
    EXPECT_EQ(normalized, c.normalized);
    EXPECT_EQ(IsValidDateText(normalized.empty() ? normalized : normalized + "01"), c.valid);
  }
}

TEST(DateFieldsTest, YearMonthIsBlankForTheSeparatorAloneOrTheBlankText) {
  struct Case {
    DateSettings settings;
    std::string text;
    bool blank;
  };
  const std::vector<Case> cases = {
      {{1, "/"}, "    /  ", true},  {{1, "/"}, " / ", true},       {{4, "-"}, "  -  ", true},
      {{1, "/"}, "2024/  ", false}, {{1, "/"}, "-", false},        {{1, "/"}, "2024/05", false},
      {{1, "<>"}, "<>", true},      {{1, "<>"}, "    <>  ", true}, {{1, "/"}, "  ", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Describe(c.settings, c.text));
    EXPECT_EQ(YearMonthIsBlank(c.text, c.settings), c.blank);
  }
}

TEST(DateFieldsTest, QuickPickStartsAtAnEightCharacterTextElseToday) {
  const TDateTime today = EncodeDate(2024, 3, 5);
  EXPECT_EQ(DateQuickPickStart("20230101", today), "20230101");
  EXPECT_EQ(DateQuickPickStart("2023010", today), "20240305");
  EXPECT_EQ(DateQuickPickStart("2023/01/01", today), "20240305");
  EXPECT_EQ(DateQuickPickStart("", today), "20240305");
}

TEST(DateFieldsTest, QuickPickResultShowsTheAnswerInTheDateFormat) {
  struct Case {
    std::string answer, text;
    DateSettings settings;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {"20240305", "x", {1, "/"}, "2024/03/05"},
      {"20240305", "x", {2, "/"}, "03/05/2024"},
      {"20240305", "x", {3, "-"}, "05-03-2024"},
      {"20240305", "x", {4, "/"}, "113/03/05"},
      {"20050305", "x", {4, "/"}, "94/03/05"},
      {"20050305", "x", {5, "/"}, "094/03/05"},
      {" 20240305 ", "x", {1, "/"}, "2024/03/05"},
      // Nothing chosen keeps what the control shows.
      {"", "2024/01/01", {1, "/"}, "2024/01/01"},
      {"  ", "2024/01/01", {1, "/"}, "2024/01/01"},
      // An answer that is no date shows nothing.
      {"20241301", "x", {1, "/"}, ""},
      {"2024-3-5", "x", {1, "/"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Describe(c.settings, c.answer));
    EXPECT_EQ(DateQuickPickResult(c.answer, c.text, c.settings), c.shown);
  }
}

TEST(DateFieldsTest, PanelDateTypeOfEachFormat) {
  EXPECT_EQ(PanelDateType(1), TDateType::dt_YYYYMMDD);
  EXPECT_EQ(PanelDateType(2), TDateType::dt_MMDDYYYY);
  EXPECT_EQ(PanelDateType(3), TDateType::dt_DDMMYYYY);
  EXPECT_EQ(PanelDateType(4), TDateType::dt_YYMMDD);
  EXPECT_EQ(PanelDateType(5), TDateType::dt_YYYMMDD);
  EXPECT_EQ(PanelDateType(0), TDateType::dt_NoneCare);
  EXPECT_EQ(PanelDateType(6), TDateType::dt_NoneCare);
  EXPECT_EQ(PanelDateType(-1), TDateType::dt_NoneCare);
}

}  // namespace
}  // namespace ox
