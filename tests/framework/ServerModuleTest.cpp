// The report's server module runs inside the client: found in the server configuration's
// package folder, accepted by the downloader, handed the job array, its message kept.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/BaseGene.h"
#include "framework/ServerModule.h"
#include "platform/Machine.h"
#include "tests/support/TestMachine.h"

namespace ox {
namespace {

class TfrmMVAmodule : public TfrmBaseGene {
 public:
  OX_CLASS_INFO()
  using TfrmBaseGene::TfrmBaseGene;
};

const ClassInfo& TfrmMVAmodule::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TfrmMVAmodule>("TfrmMVAmodule", &TfrmBaseGene::StaticClassInfo()).build();
  return info;
}

// The host's GetFileList: records the file names it is asked about.
class FileListHost : public AutoObject {
 public:
  FileListHost() {
    AddMethod("GetFileList", 1, [this](std::span<Variant> args) {
      asked.push_back(args[0][0].asString());
      return Variant("server copy of " + args[0][0].asString());
    });
  }
  std::vector<std::string> asked;
};

class ServerModuleTest : public ::testing::Test {
 protected:
  ServerModuleTest() {
    // A server installed at C:\Srv\: its package folder is C:\Srv\S_PKG\.
    machine.WriteRegistry(
        "[HKEY_LOCAL_MACHINE\\Software\\QMX\\Corvane]\r\n\"ServerPath\"=\"C:\\\\Srv\\\\\"\r\n");
    machine.WriteFile("C:\\Srv\\CorvaneS.ini", "");
    form->HostObject = Variant(DispatchPtr(host));
  }
  void InstallModule() const {
    const std::filesystem::path folder = machine.driveC().path() / "Srv" / "S_PKG";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(RunningProgramFile().parent_path() / "MVATESTS.so",
                               folder / "MVATESTS.so");
  }
  bool Run(const char* jobKind, const Variant& values) {
    return form->RunServerModule("R0001", "MVATEST", "RPT", 3, values, "DB01", jobKind,
                                 "MVATESTS.Class1", "tester", "C01", "extra");
  }

  test::TestMachine machine{936};
  Owned<TfrmMVAmodule> form{CreateForm<TfrmMVAmodule>(nullptr)};
  FileListHost* host = new FileListHost();
};

TEST_F(ServerModuleTest, TheModuleGetsTheJobArrayOfItsKind) {
  InstallModule();
  ASSERT_TRUE(Run("r", VarArrayOf({"v"})));
  EXPECT_EQ(host->asked, (std::vector<std::string>{"mvatests.dll"}));
  EXPECT_EQ(form->MessageTexts(), "elements 12|R0001|extra|C01|tester|DB01|3|R|RPT|3|0|936; ");

  ASSERT_TRUE(Run("B", VarArrayOf({"v"})));
  EXPECT_EQ(form->MessageTexts(),
            "elements 12|R0001|extra|C01|tester|DB01|3|R|RPT|3|0|936; "
            "elements 7|R0001|C01|tester|DB01|RPT|3; ");
}

TEST_F(ServerModuleTest, AFailingJobIsReportedWithTheModulesMessage) {
  InstallModule();
  EXPECT_FALSE(Run("R", "fail"));
  EXPECT_NE(form->MessageTexts().find("module failed; "), std::string::npos);
}

TEST_F(ServerModuleTest, NoModuleOrARefusingDownloaderRunsNothing) {
  EXPECT_FALSE(Run("R", VarArrayOf({"v"})));
  EXPECT_EQ(form->MessageTexts(), "");

  InstallModule();
  std::vector<std::string> asked;
  const ModuleDownloader previous =
      SetModuleDownloader([&asked](const Variant& serverCopy, const std::string& path, bool wait) {
        asked.push_back(serverCopy.asString() + " > " + path + (wait ? " wait" : ""));
        return false;
      });
  EXPECT_FALSE(Run("R", VarArrayOf({"v"})));
  SetModuleDownloader(previous);
  // The copy found, then the package folder's copy as the last resort.
  EXPECT_EQ(asked, (std::vector<std::string>{
                       "server copy of mvatests.dll > C:\\Srv\\S_PKG\\MVATESTS.DLL wait",
                       "server copy of mvatests.dll > C:\\Srv\\S_PKG\\MVATESTS.DLL wait"}));
}

}  // namespace
}  // namespace ox
