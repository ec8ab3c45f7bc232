// Test helpers: a temporary folder that stands for drive C, and machine settings
// fixed for a test (user, computer, code page, clock, registry file).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/Machine.h"

namespace ox::test {

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // Writes a file below the folder (creating parents) and answers its path.
  std::filesystem::path Write(std::string_view relative, std::string_view content) const;

 private:
  std::filesystem::path path_;
};

// The whole content of a file, or "" when it cannot be read.
std::string ReadFileText(const std::filesystem::path& file);

// Machine settings for one test: drive C is a fresh temporary folder, the registry
// file lives in it as "registry.reg", the clock stands still at 2024-03-05 10:20:30.456,
// the user is "tester" on computer "TESTPC", and the code page is the one given.
class TestMachine {
 public:
  explicit TestMachine(int ansiCodePage = 936);
  const TempDir& driveC() const { return driveC_; }
  // Writes the registry file ("REGEDIT4" is added at the top).
  void WriteRegistry(std::string_view body) const;
  // A client installed at C:\App\ (the registry's ClientPath) whose CorvaneC.ini holds
  // `clientIni`.
  void InstallClient(std::string_view clientIni) const;
  // Writes a file below drive C, given as a Windows path text such as "C:\App\x.ini".
  std::filesystem::path WriteFile(std::string_view winPath, std::string_view content) const;
  // Moves the clock.
  void SetClock(TDateTime now);

 private:
  TempDir driveC_;
  MachineScope scope_;
};

}  // namespace ox::test
