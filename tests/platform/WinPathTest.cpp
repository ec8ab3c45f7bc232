#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "platform/WinPath.h"
#include "tests/support/TestMachine.h"

namespace ox {
namespace {

class WinPathTest : public ::testing::Test {
 protected:
  test::TestMachine machine{936};
  const std::filesystem::path& c() const { return machine.driveC().path(); }
};

TEST_F(WinPathTest, MapsDrivesAndSeparators) {
  EXPECT_EQ(ToNativePath("C:\\App\\Log\\x.log"), c() / "App/Log/x.log");
  EXPECT_EQ(ToNativePath("c:/App/x"), c() / "App/x");
  EXPECT_EQ(ToNativePath("\\App\\x"), c() / "App/x");
  EXPECT_EQ(ToNativePath("Z:\\etc\\hosts"), "/etc/hosts");
  EXPECT_EQ(ToNativePath("sub\\file.txt"), "sub/file.txt");
  EXPECT_EQ(ToNativePath("Q:\\nothing"), "");
  EXPECT_EQ(ToNativePath("\\\\server\\share\\x"), "");
}

TEST_F(WinPathTest, NeverClimbsAboveTheDriveFolder) {
  EXPECT_EQ(ToNativePath("C:\\..\\..\\etc\\passwd"), c() / "etc/passwd");
  EXPECT_EQ(ToNativePath("C:\\App\\..\\.\\x"), c() / "x");
}

TEST_F(WinPathTest, FindsFilesIgnoringLetterCase) {
  machine.driveC().Write("App/CorvaneC.ini", "[a]\n");
  EXPECT_EQ(ToNativePath("C:\\APP\\corvanec.INI"), c() / "App/CorvaneC.ini");
  EXPECT_TRUE(FileExists("C:\\app\\CORVANEC.ini"));
  EXPECT_FALSE(FileExists("C:\\App"));
  EXPECT_TRUE(DirectoryExists("C:\\APP\\"));
}

TEST_F(WinPathTest, DecodesNamesFromTheSystemCodePage) {
  machine.driveC().Write("报表/a.txt", "x");
  EXPECT_TRUE(FileExists(Gb("C:\\报表\\a.txt")));
  EXPECT_EQ(FromNativePath(c() / "报表" / "a.txt"), Gb("C:\\报表\\a.txt"));
}

TEST_F(WinPathTest, NamesNativeFilesByTheDeepestDrive) {
  EXPECT_EQ(FromNativePath(c() / "App" / "x.ini"), "C:\\App\\x.ini");
  EXPECT_EQ(FromNativePath(c()), "C:\\");
  EXPECT_EQ(FromNativePath("/usr/lib/x.so"), "Z:\\usr\\lib\\x.so");
}

TEST_F(WinPathTest, ForceDirectoriesMakesEveryParent) {
  EXPECT_TRUE(ForceDirectories("C:\\App\\Log\\Deep"));
  EXPECT_TRUE(std::filesystem::is_directory(c() / "App/Log/Deep"));
  EXPECT_FALSE(ForceDirectories("Q:\\x"));
  machine.driveC().Write("file", "x");
  EXPECT_FALSE(ForceDirectories("C:\\file\\sub"));
}

TEST(WinPathText, SplitsPathsDoubleByteAware) {
  test::TestMachine machine{936};
  // "\x95\x5c" is one GB character whose trail byte is a backslash.
  const std::string dbcs = "C:\\a\\\x95\x5c.txt";
  struct Case {
    std::string path, dir, name, ext, drive;
  };
  const Case cases[] = {
      {"C:\\App\\Log\\x.log", "C:\\App\\Log\\", "x.log", ".log", "C:"},
      {"C:x.dll", "C:", "x.dll", ".dll", "C:"},
      {"name", "", "name", "", ""},
      {"a.b\\c", "a.b\\", "c", "", ""},
      {"\\\\srv\\share\\d\\f.ini", "\\\\srv\\share\\d\\", "f.ini", ".ini", "\\\\srv\\share"},
      {dbcs, "C:\\a\\", "\x95\x5c.txt", ".txt", "C:"},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.path);
    EXPECT_EQ(ExtractFilePath(t.path), t.dir);
    EXPECT_EQ(ExtractFileName(t.path), t.name);
    EXPECT_EQ(ExtractFileExt(t.path), t.ext);
    EXPECT_EQ(ExtractFileDrive(t.path), t.drive);
  }
  EXPECT_EQ(ChangeFileExt("C:\\a\\MVAR52S.DLL", ".so"), "C:\\a\\MVAR52S.so");
  EXPECT_EQ(ChangeFileExt("C:\\a.b\\name", ".log"), "C:\\a.b\\name.log");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\App"), "C:\\App\\");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\App\\"), "C:\\App\\");
  EXPECT_EQ(IncludeTrailingBackslash(""), "\\");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\\x95\x5c"), "C:\\\x95\x5c\\");
  EXPECT_EQ(ExcludeTrailingBackslash("C:\\App\\"), "C:\\App");
}

}  // namespace
}  // namespace ox
