#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/MessageCodes.h"
#include "platform/CodePage.h"
#include "platform/Variant.h"
#include "tests/support/TestMachine.h"

namespace ox {
namespace {

class MessageCodesTest : public ::testing::Test {
 protected:
  test::TestMachine machine{936};
};

TEST_F(MessageCodesTest, ParsesFieldsOfACode) {
  struct Case {
    std::string code;
    std::string type;
    std::string id;
    bool show;
    std::vector<std::string> params;
  };
  std::string twelve = "E;000009";
  for (int i = 1; i <= 12; ++i)
    twelve += ";p" + std::to_string(i);
  const std::vector<Case> cases = {
      {"E;000038", "E", "000038", true, {""}},
      {"W;000004;", "W", "000004", true, {""}},
      {"I;-000004;J0001", "I", "000004", false, {"J0001"}},
      {" E ; 000013 ;\tfirst ; second\r\n", "E", "000013", true, {"first", "second"}},
      {"Q;000001;a;;c", "Q", "000001", true, {"a", "", "c"}},
      {twelve, "E", "000009", true, {"p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8", "p9", "p10"}},
      {"X;abc;" + Gb("材料"), "X", "bc", false, {Gb("材料")}},
      {"E;0", "E", "", false, {""}},
      {"I;99999999999", "I", "9999999999", false, {""}},
      {"E", "E", "", false, {""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    const ParsedMessageCode parsed = ParseMessageCode(c.code);
    EXPECT_EQ(parsed.type, c.type);
    EXPECT_EQ(parsed.id, c.id);
    EXPECT_EQ(parsed.show, c.show);
    ASSERT_EQ(parsed.paramCount, static_cast<int>(c.params.size()));
    for (int i = 0; i < kMessageParamCount; ++i) {
      SCOPED_TRACE(i);
      if (i < parsed.paramCount) {
        EXPECT_TRUE(parsed.params[i].isNarrowText());
        EXPECT_EQ(parsed.params[i].asString(), c.params[i]);
      } else {
        EXPECT_TRUE(parsed.params[i].isEmpty());
      }
    }
  }
}

TEST_F(MessageCodesTest, TypeLettersGiveKindAndButtons) {
  struct Case {
    std::string type;
    TMsgDlgType kind;
    TMsgDlgButtons buttons;
  };
  const Case cases[] = {
      {"C", mtWarning, mbOKCancel},
      {"D", mtWarning, mbYesNoCancel},
      {"E", mtError, {mbOK}},
      {"I", mtInformation, {mbOK}},
      {"Q", mtConfirmation, mbOKCancel},
      {"W", mtWarning, mbOKCancel},
      {"R", mtCustom, {mbOK}},
      {"", mtCustom, {mbOK}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    EXPECT_EQ(MessageKind(c.type), c.kind);
    EXPECT_EQ(CodedMessageButtons(c.type), c.buttons);
  }
}

TEST_F(MessageCodesTest, FormatsTheTenParameters) {
  struct Case {
    std::string text;
    std::string code;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"%s-%s", "I;000001;first;second", "first-second"},
      {"%1:s %0:s", "I;000001;first;second", "second first"},
      {Gb("作业号: %s") + "%s%s", "I;-000004;J0001", Gb("作业号: J0001")},
      {"no parameters", "E;000038", "no parameters"},
      // A failing format keeps the raw text and lists every parameter.
      {"Qty %d of %s", "E;000099;5;abc", "Qty %d of %s\r5;abc;;;;;;;;;"},
      {"bad %", "W;000004;x", "bad %\rx;;;;;;;;;;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(FormatMessageText(c.text, ParseMessageCode(c.code).params), c.expected);
  }
}

TEST_F(MessageCodesTest, MissingMessageTextKeepsTypeAndIdLiteral) {
  EXPECT_EQ(MissingMessageText("E", "000013"), "Can not Get Message\rType= E, ID= 000013 ");
  EXPECT_EQ(MissingMessageText("%s", "%d"), "Can not Get Message\rType= %s, ID= %d ");
}

// The steps of handling a code, as a form takes them with a host that knows one text.
class MessageRecordsTest : public MessageCodesTest {
 protected:
  void Raise(const std::string& code, const std::string& hostText) {
    const ParsedMessageCode parsed = ParseMessageCode(code);
    records.AddCode(code, FormatMessageText(hostText, parsed.params));
  }

  MessageRecords records;
};

TEST_F(MessageRecordsTest, RecordOnlyCodeKeepsCodeAndText) {
  const std::string code = "I;-000004;" + std::string("20240305001");
  EXPECT_FALSE(ParseMessageCode(code).show);
  Raise(code, "Job %s submitted");
  EXPECT_EQ(records.codes(), code + "; ");
  EXPECT_EQ(records.texts(), "Job 20240305001 submitted; ");
}

TEST_F(MessageRecordsTest, CodesRepeatButTextsAreKeptOnce) {
  Raise("E;000037", "Required field empty");
  Raise("E;000037", "Required field empty");
  Raise("E;000030", "field");  // contained in the first text
  Raise("W;000004;x", "");
  Raise("W;000004;x", "");
  EXPECT_EQ(records.codes(), "E;000037; E;000037; E;000030; W;000004;x; W;000004;x; ");
  EXPECT_EQ(records.texts(), "Required field empty; ; ; ");
}

TEST_F(MessageRecordsTest, FreeTextsAreTrimmedAndAnEmptyOneClears) {
  records.AddFreeText("  Access violation\r\n");
  records.AddFreeText("Access violation");
  Raise("E;000006", "Connect failed");
  EXPECT_EQ(records.codes(), "E;-1; E;-1; E;000006; ");
  EXPECT_EQ(records.texts(), "Access violation; Connect failed; ");

  records.AddFreeText(" \t ");
  EXPECT_EQ(records.codes(), "");
  EXPECT_EQ(records.texts(), "");
}

}  // namespace
}  // namespace ox
