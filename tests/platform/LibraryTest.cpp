#include <gtest/gtest.h>

#include <optional>

#include "platform/Library.h"
#include "platform/WinPath.h"
#include "tests/support/TestMachine.h"

namespace ox {
namespace {

namespace fs = std::filesystem;

using AddFn = int (*)(int, int);

int FunctionOfTheProgram() {
  return 0;
}

// The test library lives beside the platform library as "OxTestLib.so"; a copy of it
// stands in drive C as "C:\App\C_PKG\OxTestLib.so", beside a decoy "Decoy.dll" file.
class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(c() / "App/C_PKG");
    fs::copy_file(builtLib, c() / "App/C_PKG/OxTestLib.so");
    machine.WriteFile("C:\\App\\C_PKG\\Decoy.dll", "not a library");
  }
  const fs::path& c() const { return machine.driveC().path(); }

  test::TestMachine machine{936};
  const fs::path builtLib = OX_TEST_LIB_FILE;
};

TEST_F(LibraryTest, MapsWindowsNamesToLibraryFiles) {
  const fs::path copy = c() / "App/C_PKG/OxTestLib.so";
  const std::string builtPath = FromNativePath(builtLib);
  const struct {
    const char* name;
    std::optional<fs::path> file;
  } cases[] = {
      {"OxTestLib.dll", builtLib},
      {"OxTestLib.DLL", builtLib},
      {"OxTestLib.so", builtLib},
      {"C:\\App\\C_PKG\\OxTestLib.dll", copy},
      {"c:\\app\\c_pkg\\OXTESTLIB.Dll", copy},
      {"NoSuchLib.dll", std::nullopt},
      {"oxtestlib.dll", std::nullopt},  // a bare name is taken exactly as written
      {"C:\\App\\C_PKG\\Decoy.dll", std::nullopt},
      {"C:\\App\\C_PKG\\", std::nullopt},
      {"Q:\\App\\OxTestLib.dll", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [name, file] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(LibraryFile(name), file);
    EXPECT_EQ(LibraryFileExists(name), file.has_value());
  }
  EXPECT_EQ(LibraryFile(ChangeFileExt(builtPath, ".dll")), builtLib);
}

TEST_F(LibraryTest, LoadsByWindowsNameAndFindsSymbols) {
  const HMODULE bare = LoadLibrary("OxTestLib.dll");
  ASSERT_NE(bare, nullptr) << LastLibraryError();
  const HMODULE byPath = LoadLibrary(ChangeFileExt(FromNativePath(builtLib), ".DLL"));
  EXPECT_EQ(byPath, bare);

  const auto add = reinterpret_cast<AddFn>(GetProcAddress(bare, "OxTestAdd"));
  ASSERT_NE(add, nullptr);
  EXPECT_EQ(add(2, 3), 5);
  EXPECT_EQ(GetProcAddress(bare, "OxTestMissing"), nullptr);
  EXPECT_NE(LastLibraryError().find("OxTestMissing"), std::string::npos);

  EXPECT_TRUE(FreeLibrary(byPath));
  EXPECT_TRUE(FreeLibrary(bare));
  EXPECT_FALSE(FreeLibrary(nullptr));
  EXPECT_EQ(GetProcAddress(nullptr, "OxTestAdd"), nullptr);
}

TEST_F(LibraryTest, BareNamesFallBackToTheSystemSearch) {
  const HMODULE math = LoadLibrary("libm.so.6");
  ASSERT_NE(math, nullptr) << LastLibraryError();
  EXPECT_NE(GetProcAddress(math, "cos"), nullptr);
  EXPECT_TRUE(FreeLibrary(math));
}

TEST_F(LibraryTest, MissingLibrariesFailWithAReason) {
  EXPECT_EQ(LoadLibrary("NoSuchLib.dll"), nullptr);
  EXPECT_NE(LastLibraryError().find("NoSuchLib.so"), std::string::npos) << LastLibraryError();
  EXPECT_EQ(LoadLibrary("C:\\App\\C_PKG\\NoSuchLib.dll"), nullptr);
  EXPECT_NE(LastLibraryError().find("NoSuchLib.dll"), std::string::npos) << LastLibraryError();
  EXPECT_EQ(LoadLibrary("C:\\App\\C_PKG\\Decoy.so"), nullptr);
  EXPECT_FALSE(LastLibraryError().empty());
}

TEST_F(LibraryTest, ModuleFileNamesAreWindowsPathTexts) {
  const HMODULE module = LoadLibrary("C:\\App\\C_PKG\\OxTestLib.dll");
  ASSERT_NE(module, nullptr) << LastLibraryError();
  const auto add = reinterpret_cast<const void*>(GetProcAddress(module, "OxTestAdd"));
  EXPECT_EQ(GetModuleFileName(add), "C:\\App\\C_PKG\\OxTestLib.so");
  EXPECT_TRUE(FreeLibrary(module));

  EXPECT_EQ(GetModuleFileName(nullptr), "C:\\Host\\Host.exe");
  EXPECT_EQ(GetModuleFileName(reinterpret_cast<const void*>(&FunctionOfTheProgram)),
            "C:\\Host\\Host.exe");
  const int onTheStack = 0;
  EXPECT_EQ(GetModuleFileName(&onTheStack), "");
}

}  // namespace
}  // namespace ox
