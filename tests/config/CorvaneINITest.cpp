#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "config/CorvaneINI.h"
#include "platform/CodePage.h"
#include "tests/support/TestMachine.h"

namespace ox {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

using Values = std::vector<std::pair<std::string, std::string>>;

class CorvaneIniTest : public ::testing::Test {
 protected:
  // The installation key with the given string values.
  void Register(const Values& values) const {
    std::string body = "[HKEY_LOCAL_MACHINE\\Software\\QMX\\Corvane]\r\n";
    for (const auto& [name, value] : values) {
      body += "\"" + name + "\"=\"";
      for (char c : value)
        body += c == '\\' ? std::string("\\\\") : std::string(1, c);
      body += "\"\r\n";
    }
    machine.WriteRegistry(body);
  }
  // Client at C:\App\ and server at C:\Srv\, each with the given file text.
  void Install(std::string_view clientIni, std::string_view serverIni) const {
    Register({{"ClientPath", "C:\\App"}, {"ServerPath", "C:\\Srv\\"}});
    machine.WriteFile("C:\\App\\CorvaneC.ini", clientIni);
    machine.WriteFile("C:\\Srv\\CorvaneS.ini", serverIni);
  }

  test::TestMachine machine{936};
};

// The hosts and ports of a server list, checking its shape on the way.
std::vector<std::pair<std::string, int>> Hosts(const Variant& list) {
  EXPECT_EQ(VarArrayDimCount(list), 2);
  EXPECT_EQ(VarArrayLowBound(list, 1), 0);
  EXPECT_EQ(VarArrayHighBound(list, 1), 1);
  EXPECT_EQ(VarArrayLowBound(list, 2), 0);
  std::vector<std::pair<std::string, int>> hosts;
  for (int i = 0; i <= VarArrayHighBound(list, 2); ++i)
    hosts.emplace_back(list(0, i).asString(), list(1, i).asInteger());
  return hosts;
}

TEST_F(CorvaneIniTest, WithoutRegistryKeyEverythingStaysAtItsDefault) {
  struct Case {
    int acp;
    std::string sysCodePage;
    int uiMode, dbMode;
  };
  const Case cases[] = {{1252, "437", 0, 0}, {936, "936", 0, 0}, {950, "950", 2, 2}};
  for (const Case& t : cases) {
    SCOPED_TRACE(t.acp);
    Machine().ansiCodePage = t.acp;
    const TCorvaneIniC client;
    EXPECT_EQ(client.FErrorCode, "E;000015");
    EXPECT_EQ(client.FSysCodePage, t.sysCodePage);
    EXPECT_EQ(client.FUICodePage, t.sysCodePage);
    EXPECT_EQ(client.FDBCodePage, "936");
    EXPECT_EQ(client.FUIConvertMode, t.uiMode);
    EXPECT_EQ(client.FDBConvertMode, t.dbMode);
    EXPECT_EQ(client.FProfileType, "0");
    EXPECT_EQ(client.FUserName, "Default");
    EXPECT_EQ(client.FBasePath, "");
    EXPECT_EQ(client.FIniFileName, "");
    EXPECT_TRUE(VarIsEmpty(client.FServerList));
    EXPECT_THAT(client.FWorkDLLPaths, IsEmpty());
    EXPECT_EQ(client.FLangType, "");

    const TCorvaneIniS server;
    EXPECT_EQ(server.FErrorCode, "E;000015");
    EXPECT_EQ(server.FUICodePage, t.sysCodePage);
    EXPECT_EQ(server.FUIConvertMode, t.uiMode);
    EXPECT_TRUE(VarIsEmpty(server.FDBSettings));
    EXPECT_THAT(server.FWorkDLLPaths, IsEmpty());
  }
}

TEST_F(CorvaneIniTest, EmptyInstallationPathStopsWithoutError) {
  Register({{"ClientPath", ""}, {"ProfileType", "1"}});
  machine.WriteFile("C:\\CorvaneC.ini", "[Client Components]\r\nLangType=CHS\r\n");
  const TCorvaneIniC client;
  EXPECT_EQ(client.FErrorCode, "");
  EXPECT_EQ(client.FProfileType, "1");
  EXPECT_EQ(client.FUserName, "Default");
  EXPECT_EQ(client.FIniFileName, "");
  EXPECT_EQ(client.FLangType, "");
  EXPECT_TRUE(VarIsEmpty(client.FServerList));
  EXPECT_THAT(client.FWorkDLLPaths, IsEmpty());
  const TCorvaneIniS server;  // no ServerPath at all
  EXPECT_EQ(server.FErrorCode, "");
  EXPECT_TRUE(VarIsEmpty(server.FDBSettings));
}

TEST_F(CorvaneIniTest, ConversionModesFollowTheCodePages) {
  struct Case {
    int acp;
    std::string codePages;
    std::string ui, db;
    int uiMode, dbMode;
  };
  const Case cases[] = {
      {950, "UICodePage=936\r\nDBCodePage=950\r\n", "936", "950", 4, 1},
      {936, "UICodePage=950\r\nDBCodePage=936\r\n", "950", "936", 2, 2},
      {950, "", "950", "936", 2, 2},  // the user interface defaults to the system's
      {1252, "UICodePage=936\r\nDBCodePage=950\r\n", "936", "950", 0, 1},
      {936, "UICodePage=1252\r\n", "1252", "936", 0, 0},
      {936, "UICodePage=0950\r\nDBCodePage=950\r\n", "0950", "950", 0, 0},  // texts, not numbers
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.codePages);
    Machine().ansiCodePage = t.acp;
    const std::string ini = "[CodePage]\r\n" + t.codePages;
    Install(ini, ini);
    const TCorvaneIniC client;
    EXPECT_EQ(client.FUICodePage, t.ui);
    EXPECT_EQ(client.FDBCodePage, t.db);
    EXPECT_EQ(client.FUIConvertMode, t.uiMode);
    EXPECT_EQ(client.FDBConvertMode, t.dbMode);
    const TCorvaneIniS server;
    EXPECT_EQ(server.FUICodePage, t.ui);
    EXPECT_EQ(server.FDBCodePage, t.db);
    EXPECT_EQ(server.FUIConvertMode, t.uiMode);
    EXPECT_EQ(server.FDBConvertMode, t.dbMode);
  }
}

TEST_F(CorvaneIniTest, PerUserProfilesFallBackToTheSharedFile) {
  struct Case {
    std::string what, profileType, logonName;
    bool perUserFile;
    std::string profilePath, userName, langType;
  };
  const std::string name31(31, 'u');
  const std::string name32(32, 'u');
  const Case cases[] = {
      {"shared profile", "0", "tester", true, "C:\\App\\", "Default", "BASE"},
      {"no profile type", "", "tester", true, "C:\\App\\", "Default", "BASE"},
      {"per-user file", "1", "tester", true, "C:\\App\\Profile\\tester\\", "tester", "USER"},
      {"per-user file missing", "1", "tester", false, "C:\\App\\", "tester", "BASE"},
      {"31-byte name", "2", name31, true, "C:\\App\\Profile\\" + name31 + "\\", name31, "USER"},
      {"32-byte name is not read", "1", name32, true, "C:\\App\\", "", "BASE"},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.what);
    fs::remove_all(machine.driveC().path() / "App");
    Register({{"ClientPath", "C:\\App\\"}, {"ProfileType", t.profileType}});
    Machine().userName = t.logonName;
    machine.WriteFile("C:\\App\\CorvaneC.ini", "[Client Components]\r\nLangType=BASE\r\n");
    if (t.perUserFile)
      machine.WriteFile("C:\\App\\Profile\\" + t.logonName + "\\CorvaneC.ini",
                        "[Client Components]\r\nLangType=USER\r\n");
    const TCorvaneIniC client;
    EXPECT_EQ(client.FProfileType, t.profileType);
    EXPECT_EQ(client.FProfilePath, t.profilePath);
    EXPECT_EQ(client.FIniFileName, t.profilePath + "CorvaneC.ini");
    EXPECT_EQ(client.FUserName, t.userName);
    EXPECT_EQ(client.FLangType, t.langType);
  }
}

TEST_F(CorvaneIniTest, ClientDefaultsWhenTheFileIsMissing) {
  Register({{"ClientPath", "C:\\App"}});
  const TCorvaneIniC client;
  EXPECT_EQ(client.FErrorCode, "");
  EXPECT_EQ(client.FBasePath, "C:\\App\\");
  EXPECT_EQ(client.FIniFileName, "C:\\App\\CorvaneC.ini");
  EXPECT_EQ(client.FLangType, "ENG");
  EXPECT_EQ(client.FProductVersion, "");
  EXPECT_EQ(client.FCreateGifBeforeSendEF, "Y");
  EXPECT_FALSE(client.FSupportCallBack);
  EXPECT_THAT(Hosts(client.FServerList),
              ElementsAre(std::pair<std::string, int>{"127.0.0.1", 211}));
  EXPECT_THAT(client.FWorkDLLPaths, ElementsAre("C:\\App\\C_PKG\\"));
  EXPECT_EQ(client.FAutoCheckNewMsg, "1");
  EXPECT_EQ(client.FCheckInterval, "1");
  EXPECT_EQ(client.FPopupMsg, "1");
  EXPECT_EQ(client.FLoginCheck, "0");
}

TEST_F(CorvaneIniTest, ClientReadsEveryKey) {
  Install(
      "[Client Components]\r\nLangType=CHT\r\n"
      "[ProductVersion]\r\nVersion=9.0.1\r\n"
      "[UserDefine]\r\nCreateGifBeforeSendEF=\r\n"  // present but empty: empty
      "[Server Information]\r\nSupportCallBack=true\r\nComputerName=appsrv\r\nServerPort=212\r\n"
      "[TaskMessageCenter Setting]\r\nAutoCheckNewMsg=0\r\nCheckInterval=5\r\nPopupMsg=0\r\n"
      "LoginCheck=1\r\n",
      "");
  const TCorvaneIniC client;
  EXPECT_EQ(client.FLangType, "CHT");
  EXPECT_EQ(client.FProductVersion, "9.0.1");
  EXPECT_EQ(client.FCreateGifBeforeSendEF, "");
  EXPECT_TRUE(client.FSupportCallBack);
  EXPECT_THAT(Hosts(client.FServerList), ElementsAre(std::pair<std::string, int>{"appsrv", 212}));
  EXPECT_EQ(client.FAutoCheckNewMsg, "0");
  EXPECT_EQ(client.FCheckInterval, "5");
  EXPECT_EQ(client.FPopupMsg, "0");
  EXPECT_EQ(client.FLoginCheck, "1");
}

TEST_F(CorvaneIniTest, HostListCutsAtSemicolons) {
  using Host = std::pair<std::string, int>;
  struct Case {
    std::string settings;
    std::vector<Host> hosts;
  };
  const Case cases[] = {
      {"ComputerName=\" srv1;srv2; \"\r\nServerPort=8080", {{"srv1", 8080}, {"srv2", 8080}}},
      {"ComputerName=a;;b", {{"a", 211}, {"", 211}, {"b", 211}}},
      {"ComputerName=\"a ; b\"", {{"a ", 211}, {" b", 211}}},  // pieces keep their blanks
      {"ComputerName=x;;", {{"x", 211}, {"", 211}}},           // only one ";" is dropped
      {"ComputerName=;", {{"", 211}}},
      {"ComputerName=h\r\nServerPort=port", {{"h", 211}}},  // no number: the default
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.settings);
    Install("[Server Information]\r\n" + t.settings + "\r\n", "");
    const TCorvaneIniC client;
    EXPECT_EQ(client.FErrorCode, "");
    EXPECT_EQ(Hosts(client.FServerList), t.hosts);
  }
}

TEST_F(CorvaneIniTest, BlankHostStopsBeforeTheHostListAndPackages) {
  Install(
      "[Server Information]\r\nComputerName=\"  \"\r\n"
      "[WorkDLLPath]\r\nP1=Pkg\r\n"
      "[TaskMessageCenter Setting]\r\nLoginCheck=1\r\n",
      "");
  const TCorvaneIniC client;
  EXPECT_EQ(client.FErrorCode, "E;000016");
  EXPECT_TRUE(VarIsEmpty(client.FServerList));
  EXPECT_THAT(client.FWorkDLLPaths, ElementsAre("P1=Pkg"));
  EXPECT_EQ(client.FLoginCheck, "1");
}

TEST_F(CorvaneIniTest, SupportCallBackKnowsFourTrueTexts) {
  struct Case {
    std::string value;
    bool expected;
  };
  const Case cases[] = {{"yes", true}, {"1", true},   {"y", true}, {"True", true}, {"on", false},
                        {"0", false},  {"no", false}, {"", false}, {"2", false},   {"yes!", false}};
  for (const Case& t : cases) {
    SCOPED_TRACE(t.value);
    Install("[Server Information]\r\nSupportCallBack=" + t.value + "\r\n",
            "[DBPasswordCtrl]\r\nSupportCallBack=" + t.value + "\r\n");
    EXPECT_EQ(TCorvaneIniC().FSupportCallBack, t.expected);
    EXPECT_EQ(TCorvaneIniS().FSupportCallBack, t.expected);
  }
}

TEST_F(CorvaneIniTest, PackageDirectoriesResolveAgainstTheBase) {
  const std::string section =
      "[WorkDLLPath]\r\nA=D:\\Pkg\r\nB=\\Pkg\r\nC=Pkg\r\nD=\\\\srv\\share\\Pkg\\\r\n"
      "E=Sub\\Dir\\\r\nF=\r\n";
  Install(section, section);
  EXPECT_THAT(TCorvaneIniC().FWorkDLLPaths,
              ElementsAre("D:\\Pkg\\", "C:\\App\\Pkg\\", "C:\\App\\Pkg\\", "\\\\srv\\share\\Pkg\\",
                          "C:\\App\\Sub\\Dir\\", "C:\\App\\"));
  std::vector<std::string> paths{"old"};
  TCorvaneIniS().GetDLLPath(paths);
  EXPECT_THAT(paths, ElementsAre("D:\\Pkg\\", "C:\\Srv\\Pkg\\", "C:\\Srv\\Pkg\\",
                                 "\\\\srv\\share\\Pkg\\", "C:\\Srv\\Sub\\Dir\\", "C:\\Srv\\"));

  for (const char* ini : {"", "[WorkDLLPath]\r\n"}) {
    SCOPED_TRACE(ini);
    Install(ini, ini);
    EXPECT_THAT(TCorvaneIniC().FWorkDLLPaths, ElementsAre("C:\\App\\C_PKG\\"));
    TCorvaneIniS().GetDLLPath(paths);
    EXPECT_THAT(paths, ElementsAre("C:\\Srv\\S_PKG\\"));
  }
}

TEST(ExpandWorkPathTest, KeepsDrivesAndPutsTheRestBelowTheBase) {
  const std::pair<std::string, std::string> cases[] = {
      {"D:\\Pkg\\", "D:\\Pkg\\"},
      {"d:Pkg\\", "d:Pkg\\"},
      {"\\\\srv\\share\\Pkg\\", "\\\\srv\\share\\Pkg\\"},
      {"\\Pkg\\", "C:\\App\\Pkg\\"},
      {"Pkg\\", "C:\\App\\Pkg\\"},
      {"\\", "C:\\App\\"},
      {"", "C:\\App\\"},
  };
  for (const auto& [path, expected] : cases) {
    SCOPED_TRACE(path);
    EXPECT_EQ(ExpandWorkPath(path, "C:\\App\\"), expected);
  }
}

TEST_F(CorvaneIniTest, ServerDefaultsWhenTheFileIsEmpty) {
  Install("", "");
  const TCorvaneIniS server;
  EXPECT_EQ(server.FErrorCode, "");
  EXPECT_EQ(server.FBasePath, "C:\\Srv\\");
  EXPECT_EQ(server.FIniFileName, "C:\\Srv\\CorvaneS.ini");
  const Variant& db = server.FDBSettings;
  ASSERT_EQ(VarArrayDimCount(db), 2);
  EXPECT_EQ(VarArrayHighBound(db, 1), 3);
  EXPECT_EQ(VarArrayHighBound(db, 2), 7);
  const Variant expected[4][8] = {
      {"Talvo", "sa", "", "MSSQL", "", "", 300, 3000},
      {"TalvoTemp", "sa", "", "PARADOX", "", "PostgreSQL", 300, 3000},
      {"", 211, 1024, "Chinese_Taiwan_Stroke_BIN", {}, {}, {}, {}},
      {"EDIDATA", "sa", "", {}, {}, {}, {}, {}},
  };
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 8; ++column) {
      SCOPED_TRACE(std::to_string(row) + "," + std::to_string(column));
      EXPECT_EQ(db(row, column).type(), expected[row][column].type());
      EXPECT_EQ(db(row, column), expected[row][column]);
    }
  }
  EXPECT_EQ(server.FDBKind, 0);
  EXPECT_EQ(server.FSystemControlAddress, "");
  EXPECT_EQ(server.FOtherSystemControlAddress, "");
  EXPECT_EQ(server.FProductVersion, "");
}

TEST_F(CorvaneIniTest, ServerReadsDatabaseSettings) {
  Install("",
          "[ProductVersion]\r\nVersion=9.0\r\n"
          "[DBE Setting]\r\nMainAlias=Main\r\nMainUserName=erp\r\nXXXXXX=" +
              EncodeSQLSa("secret") +
              "\r\nMainDBType=oracle\r\nMainDBName=ERPDB\r\nMainServerName=dbhost\r\n"
              "MainConnectionTimeOut=60\r\nMainCommandTimeOut=x\r\n"
              "TempPassword=" +
              EncodeSQLSa("") +
              "\r\nTempCommandTimeOut=$10\r\n"
              "EctPassword=" +
              EncodeSQLSa("ect") +
              "\r\nSystemControlAddress=\r\nOtherSystemControlAddress=\" other \"\r\n"
              "[DBPasswordCtrl]\r\nComputerName=\" pc1 \"\r\nServerPort=300\r\n");
  const TCorvaneIniS server;
  const Variant& db = server.FDBSettings;
  EXPECT_EQ(server.FProductVersion, "9.0");
  EXPECT_EQ(db(0, 0), Variant("Main"));
  EXPECT_EQ(db(0, 1), Variant("erp"));
  EXPECT_EQ(db(0, 2), Variant("secret"));
  EXPECT_EQ(db(0, 3), Variant("oracle"));
  EXPECT_EQ(db(0, 4), Variant("ERPDB"));
  EXPECT_EQ(db(0, 5), Variant("dbhost"));
  EXPECT_EQ(db(0, 6), Variant(60));
  EXPECT_EQ(db(0, 7), Variant(3000));  // no number: the default
  EXPECT_EQ(db(1, 2), Variant(""));    // the scrambled empty password
  EXPECT_EQ(db(1, 7), Variant(16));
  EXPECT_EQ(db(2, 0), Variant("pc1"));
  EXPECT_EQ(db(2, 1), Variant(300));
  EXPECT_EQ(db(3, 2), Variant(EncodeSQLSa("ect")));  // kept as stored
  EXPECT_EQ(server.FDBKind, 1);
  EXPECT_EQ(server.FSystemControlAddress, "dbhost");
  EXPECT_EQ(server.FOtherSystemControlAddress, " other ");
}

TEST_F(CorvaneIniTest, DatabaseKindAndControlAddresses) {
  struct Case {
    std::string dbType;
    int kind;
    std::string address, expectedAddress;
  };
  const Case cases[] = {
      {"ORACLE", 1, "ctl", "ctl"},
      {"Db2", 2, "\"   \"", "main"},
      {"MSSQL", 0, "", "main"},
      {"Oracle8", 0, "\" ctl\"", " ctl"},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.dbType);
    Install("", "[DBE Setting]\r\nMainServerName=main\r\nMainDBType=" + t.dbType +
                    "\r\nSystemControlAddress=" + t.address + "\r\n");
    const TCorvaneIniS server;
    EXPECT_EQ(server.FDBKind, t.kind);
    EXPECT_EQ(server.FSystemControlAddress, t.expectedAddress);
    EXPECT_EQ(server.FOtherSystemControlAddress, "main");
  }
}

TEST_F(CorvaneIniTest, UnreadablePasswordIsLoggedAndReadingGoesOn) {
  Install("", "[DBE Setting]\r\nXXXXXX=b0zz6c\r\nTempPassword=" + EncodeSQLSa("temp") +
                  "\r\nEctAlias=E2\r\n");
  const TCorvaneIniS server;
  EXPECT_EQ(server.FDBSettings(0, 2), Variant("Ox_Say_Password_Error"));
  EXPECT_EQ(server.FDBSettings(1, 2), Variant("temp"));
  EXPECT_EQ(server.FDBSettings(3, 0), Variant("E2"));

  // The generator log lies in the client installation, which comes first.
  const std::string log =
      test::ReadFileText(machine.driveC().path() / "App/Log/Alert_ZANTOGenerator_20240305.log");
  EXPECT_THAT(log, HasSubstr(" on " + EncodeSQLSa("DecodeSQLSa") + " "));
  EXPECT_THAT(log, HasSubstr("] Exception is EConvertError\r\nMessage 01: "));
  EXPECT_THAT(log, HasSubstr("] ErrorMessage Count: 1\r\n"));
  EXPECT_THAT(log, HasSubstr("] Programer Message: " + Gb("解析 Sa 时发生错误!") + "\r\n"));
}

TEST(SQLSaTest, ScramblesByRotatingEachByte) {
  test::TestMachine machine;  // a failed decoding writes to this machine's log
  EXPECT_EQ(EncodeSQLSa("abc"), "b0986c");
  // The eighth byte is not rotated, the ninth by one again.
  EXPECT_EQ(EncodeSQLSa("abcdefghi"), "b0986c462b99ce68b4");
  EXPECT_EQ(EncodeSQLSa(""), EncodeSQLSa("Ox_Say_NoPassWord_ThePassWordIsEmpty"));

  struct Case {
    std::string stored, clear;
  };
  const Case cases[] = {
      {"b0986c", "abc"},
      {"B0986C", "abc"},
      {"b0986c7", "abc"},  // a trailing odd character is ignored
      {"b", ""},
      {"", ""},
      {EncodeSQLSa(""), ""},
      {"b0986g", "Ox_Say_Password_Error"},
      {"+1", "Ox_Say_Password_Error"},
      {" 1", "Ox_Say_Password_Error"},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.stored);
    EXPECT_EQ(DecodeSQLSa(t.stored), t.clear);
  }
  for (const std::string& clear :
       {std::string("sa"), std::string("a longer password"), Gb("密码"), std::string("\xff\x01")}) {
    SCOPED_TRACE(clear);
    EXPECT_EQ(DecodeSQLSa(EncodeSQLSa(clear)), clear);
  }
}

}  // namespace
}  // namespace ox
