#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/GeneratorLog.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"
#include "tests/support/TestMachine.h"

namespace ox {
namespace {

namespace fs = std::filesystem;

// The short date and long time formats of the test machine.
constexpr std::string_view kStamp = "[2024/03/05 10:20:30] ";
constexpr std::string_view kFile = "Alert_ZANTOGenerator_20240305.log";

// The log text of entries written one after the other.
std::string Entries(const std::vector<std::string>& texts) {
  std::string log;
  for (const std::string& text : texts)
    log += std::string(kStamp) + text + "\r\n";
  return log;
}

class GeneratorLogTest : public ::testing::Test {
 protected:
  void Register(std::string_view values) const {
    machine.WriteRegistry("[HKEY_LOCAL_MACHINE\\Software\\QMX\\Corvane]\r\n" + std::string(values));
  }
  fs::path C(std::string_view relative) const { return machine.driveC().path() / relative; }
  std::string AppLog() const { return test::ReadFileText(C("App/Log") / kFile); }

  test::TestMachine machine{936};
};

TEST_F(GeneratorLogTest, LogFolderFollowsTheRegistryElseTheTemporaryFolder) {
  struct Case {
    std::string_view registry, tempPath, folder;
  };
  const std::string longTemp = "C:\\" + std::string(252, 't') + "\\";  // 256 bytes
  const Case cases[] = {
      {"\"ClientPath\"=\"C:\\\\App\"\r\n\"ServerPath\"=\"C:\\\\Srv\"\r\n", "C:\\Tmp\\", "App/Log"},
      {"\"ServerPath\"=\"C:\\\\Srv\\\\\"\r\n", "C:\\Tmp\\", "Srv/Log"},
      {"", "C:\\Tmp\\", "Tmp/Log"},
      // A temporary folder too long for its buffer reads as none.
      {"", longTemp, "Temp/Log"},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.folder);
    Register(t.registry);
    Machine().tempPath = std::string(t.tempPath);
    ASSERT_TRUE(WriteGeneratorLog("x"));
    EXPECT_TRUE(fs::exists(C(t.folder) / kFile));
  }
}

TEST_F(GeneratorLogTest, StampsWithTheMachinesDateAndTimeFormats) {
  Register("\"ClientPath\"=\"C:\\\\App\\\\\"\r\n");
  ASSERT_TRUE(WriteGeneratorLog("first"));
  Machine().shortDateFormat = "dd.mm.yyyy";
  Machine().longTimeFormat = "h:nn";
  ASSERT_TRUE(WriteGeneratorLog("second"));
  EXPECT_EQ(AppLog(), std::string(kStamp) + "first\r\n[05.03.2024 10:20] second\r\n");
}

struct BlockCase {
  std::string_view title;
  std::shared_ptr<const std::exception> error;
  std::string location;
  std::string programmerMessage;
  std::vector<std::string> entries;
};

class LogExceptionTest : public GeneratorLogTest,
                         public ::testing::WithParamInterface<BlockCase> {};

const std::string kDashes(34, '-');

std::vector<BlockCase> BlockCases() {
  const std::string info = Gb("讯息信息:");
  using Entry = EDBEngineError::Entry;
  return {
      {"AnyException",
       std::make_shared<EConvertError>("M"),
       "L",
       "P",
       {kDashes + " on L " + kDashes, info, "Exception is EConvertError\r\nMessage 01: M",
        "ErrorMessage Count: 1", "Programer Message: P"}},
      {"MessageIsLiteral",
       std::make_shared<Exception>("100% %s %d"),
       "",
       "",
       {kDashes + kDashes, info, "Exception is Exception\r\nMessage 01: 100% %s %d",
        "ErrorMessage Count: 1"}},
      {"StandardException",
       std::make_shared<std::runtime_error>("boom"),
       "Loc",
       "",
       {kDashes + " on Loc " + kDashes, info, "Exception is std::runtime_error\r\nMessage 01: boom",
        "ErrorMessage Count: 1"}},
      {"EngineErrorWithThreeEntries",
       std::make_shared<EDBEngineError>(
           "top", std::vector<Entry>{{13059, "General SQL error."}, {-1, "50%"}, {0, ""}}),
       "Open",
       "",
       {kDashes + " on Open " + kDashes, info,
        "EDBEngineError Error 01: Code: 13059, Message: General SQL error.",
        "EDBEngineError Error 02: Code: -1, Message: 50%",
        "EDBEngineError Error 03: Code: 0, Message: ", "ErrorMessage Count: 3"}},
      {"EngineErrorWithoutEntries",
       std::make_shared<EDBEngineError>("top", std::vector<Entry>{}),
       "Open",
       "",
       {kDashes + " on Open " + kDashes, info, "ErrorMessage Count: 0"}},
      {"WindowsError",
       std::make_shared<EWin32Error>("Access denied", 5u),
       "W",
       "",
       {kDashes + " on W " + kDashes, info, "EWin32Error Error 01: Code: 5, Message: Access denied",
        "ErrorMessage Count: 1"}},
      {"InOutError",
       std::make_shared<EInOutError>("File not found", 2),
       "IO",
       "",
       {kDashes + " on IO " + kDashes, info,
        "EInOutError Error 01: Code: 2, Message: File not found", "ErrorMessage Count: 1"}},
      // Blank texts: no location between the dashes, no programmer line; a message
      // that is not blank keeps its blanks.
      {"NoExceptionBlankTexts", nullptr, "   ", " \t ", {kDashes + kDashes}},
      {"NoExceptionWithNote",
       nullptr,
       " x ",
       " note ",
       {kDashes + " on  x  " + kDashes, "Programer Message:  note "}},
  };
}

TEST_P(LogExceptionTest, WritesOneEntryPerLine) {
  Register("\"ClientPath\"=\"C:\\\\App\\\\\"\r\n");
  const BlockCase& t = GetParam();
  LogException(t.error.get(), t.location, t.programmerMessage);
  EXPECT_EQ(AppLog(), Entries(t.entries));
}

INSTANTIATE_TEST_SUITE_P(Blocks, LogExceptionTest, ::testing::ValuesIn(BlockCases()),
                         [](const auto& test) { return std::string(test.param.title); });

TEST_F(GeneratorLogTest, UnwritableLogGivesFalseAndRaisesNothing) {
  Register("\"ClientPath\"=\"C:\\\\App\\\\\"\r\n");
  machine.driveC().Write("App/Log", "a file, not a folder");
  EXPECT_FALSE(WriteGeneratorLog("x"));
  const EDBEngineError error("top", {{1, "a"}});
  EXPECT_NO_THROW(LogException(&error, "L", "P"));
  EXPECT_EQ(test::ReadFileText(C("App/Log")), "a file, not a folder");
}

}  // namespace
}  // namespace ox
