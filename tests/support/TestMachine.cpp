#include "tests/support/TestMachine.h"

#include <fstream>
#include <random>
#include <sstream>

#include "platform/DateTime.h"
#include "platform/WinPath.h"

namespace ox::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device random;
  path_ = fs::temp_directory_path() /
          ("ox-test-" + std::to_string(random()) + "-" + std::to_string(random()));
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code error;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
  for (auto it = fs::recursive_directory_iterator(path_, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error))
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
  fs::remove_all(path_, error);
}

fs::path TempDir::Write(std::string_view relative, std::string_view content) const {
  const fs::path file = path_ / relative;
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << content;
  return file;
}

std::string ReadFileText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

namespace {

MachineSettings FixedMachine(const fs::path& driveC, int ansiCodePage) {
  MachineSettings settings = MachineFromEnvironment();
  settings.userName = "tester";
  settings.computerName = "TESTPC";
  settings.ansiCodePage = ansiCodePage;
  settings.drives = {{'C', driveC}, {'Z', "/"}};
  settings.registryFile = driveC / "registry.reg";
  settings.tempPath = "C:\\Temp\\";
  settings.hostExeName = "C:\\Host\\Host.exe";
  const TDateTime now = EncodeDate(2024, 3, 5) + EncodeTime(10, 20, 30, 456);
  settings.clock = [now] { return now; };
  return settings;
}

}  // namespace

TestMachine::TestMachine(int ansiCodePage) : scope_(FixedMachine(driveC_.path(), ansiCodePage)) {}

void TestMachine::WriteRegistry(std::string_view body) const {
  driveC_.Write("registry.reg", "REGEDIT4\r\n\r\n" + std::string(body));
}

void TestMachine::InstallClient(std::string_view clientIni) const {
  WriteRegistry(
      "[HKEY_LOCAL_MACHINE\\Software\\QMX\\Corvane]\r\n\"ClientPath\"=\"C:\\\\App\\\\\"\r\n");
  WriteFile("C:\\App\\CorvaneC.ini", clientIni);
}

fs::path TestMachine::WriteFile(std::string_view winPath, std::string_view content) const {
  const fs::path file = ToNativePath(winPath);
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << content;
  return file;
}

void TestMachine::SetClock(TDateTime now) {
  Machine().clock = [now] { return now; };
}

}  // namespace ox::test
