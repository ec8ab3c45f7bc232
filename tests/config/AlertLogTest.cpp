#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "config/AlertLog.h"
#include "platform/CodePage.h"
#include "tests/support/TestMachine.h"

namespace ox {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kStamp = "[2024/03/05 10:20:30:456] ";

class AlertLogTest : public ::testing::Test {
 protected:
  // The installation registered with the given ClientPath and ServerPath.
  void Register(std::string_view clientPath, std::string_view serverPath) const {
    machine.WriteRegistry("[HKEY_LOCAL_MACHINE\\Software\\QMX\\Corvane]\r\n\"ClientPath\"=\"" +
                          Escaped(clientPath) + "\"\r\n\"ServerPath\"=\"" + Escaped(serverPath) +
                          "\"\r\n");
  }
  static std::string Escaped(std::string_view path) {
    std::string text;
    for (char c : path)
      text += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return text;
  }
  fs::path C(std::string_view relative) const { return machine.driveC().path() / relative; }

  test::TestMachine machine{936};
};

TEST_F(AlertLogTest, PeriodAndNameChooseTheFile) {
  Register("C:\\App\\", "");
  struct Case {
    std::string_view name, period, file;
  };
  const Case cases[] = {
      {"libstrs", "D", "Alert_libstrs_20240305.log"},
      {"libstrs", "M", "Alert_libstrs_202403.log"},
      {"libstrs", "Y", "Alert_libstrs_2024.log"},
      {"libstrs", "m", "Alert_libstrs_20240305.log"},  // the period is case-sensitive
      {"libstrs", "", "Alert_libstrs_20240305.log"},
      {"libstrs", "Month", "Alert_libstrs_20240305.log"},
      // A name with an extension keeps it: no ".log" after the date part.
      {"OxDownLoad.dll", "D", "Alert_OxDownLoad.dll_20240305"},
      {"a.b", "M", "Alert_a.b_202403"},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(std::string(t.name) + " " + std::string(t.period));
    ASSERT_TRUE(WriteAlertLog(t.name, "entry", t.period));
    const fs::path file = C("App/Log") / t.file;
    EXPECT_EQ(test::ReadFileText(file), std::string(kStamp) + "entry\r\n");
    fs::remove(file);
  }
}

TEST_F(AlertLogTest, LogFolderFollowsTheRegistryElseTheHostProgram) {
  struct Case {
    std::string_view clientPath, serverPath, folder;
  };
  const Case cases[] = {
      {"C:\\App\\", "C:\\Srv", "App/Log"},
      {"", "C:\\Srv", "Srv/Log"},
      {"", "", "Host/Log"},  // the host program is C:\Host\Host.exe
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.folder);
    Register(t.clientPath, t.serverPath);
    ASSERT_TRUE(WriteAlertLog("libstrs", "x", "D"));
    EXPECT_TRUE(fs::exists(C(t.folder) / "Alert_libstrs_20240305.log"));
  }
  fs::remove(machine.driveC().path() / "registry.reg");
  ASSERT_TRUE(WriteAlertLog("nokey", "x", "D"));
  EXPECT_TRUE(fs::exists(C("Host/Log/Alert_nokey_20240305.log")));
}

TEST_F(AlertLogTest, DownloaderWritesBesideTheHostProgram) {
  Register("C:\\App\\", "");
  ASSERT_TRUE(WriteDownloaderAlertLog("OxDownLoadNewFileU", "fetched", "M"));
  EXPECT_EQ(test::ReadFileText(C("Host/Log/Alert_OxDownLoadNewFileU_202403.log")),
            std::string(kStamp) + "fetched\r\n");
  EXPECT_FALSE(fs::exists(C("App/Log")));
}

TEST_F(AlertLogTest, AppendsTextsAsTheyStand) {
  Register("C:\\Deep\\Er\\App", "");  // no folder of it exists yet
  const std::string gbText = Gb("讯息信息: 100% %s %d");
  ASSERT_TRUE(WriteAlertLog("libstrs", "first", "D"));
  ASSERT_TRUE(WriteAlertLog("libstrs", gbText, "D"));
  ASSERT_TRUE(WriteAlertLog("libstrs", "two\r\nlines", "D"));
  EXPECT_EQ(test::ReadFileText(C("Deep/Er/App/Log/Alert_libstrs_20240305.log")),
            std::string(kStamp) + "first\r\n" + std::string(kStamp) + gbText + "\r\n" +
                std::string(kStamp) + "two\r\nlines\r\n");
}

TEST_F(AlertLogTest, FailuresGiveFalseAndRaiseNothing) {
  // A file stands where the Log folder should be.
  Register("C:\\App\\", "");
  machine.driveC().Write("App/Log", "not a folder");
  EXPECT_FALSE(WriteAlertLog("libstrs", "x", "D"));
  // The log file's name is taken by a folder.
  Register("C:\\Other\\", "");
  fs::create_directories(C("Other/Log/Alert_libstrs_20240305.log"));
  EXPECT_FALSE(WriteAlertLog("libstrs", "x", "D"));
  // A drive this machine does not have.
  Register("Q:\\App\\", "");
  EXPECT_FALSE(WriteAlertLog("libstrs", "x", "D"));
  // The host program on a UNC share names no folder of this system.
  Machine().hostExeName = "\\\\server\\share\\Host.exe";
  EXPECT_FALSE(WriteDownloaderAlertLog("d", "x", "D"));
}

// Writes under a read-only Log folder in a child process; root, which writes
// anywhere, first becomes an ordinary user there. Exits with 0 when the writer said no.
[[noreturn]] void WriteAsOrdinaryUser() {
  constexpr uid_t kNobody = 65534;
  if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(2);
  _exit(WriteAlertLog("libstrs", "x", "D") ? 1 : 0);
}

TEST_F(AlertLogTest, ReadOnlyLogFolderGivesFalse) {
  Register("C:\\App\\", "");
  fs::create_directories(C("App/Log"));
  fs::permissions(C("App/Log"), fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
  EXPECT_EXIT(WriteAsOrdinaryUser(), ::testing::ExitedWithCode(0), "");
  EXPECT_FALSE(fs::exists(C("App/Log/Alert_libstrs_20240305.log")));
}

}  // namespace
}  // namespace ox
