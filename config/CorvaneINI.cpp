#include "config/CorvaneINI.h"

#include <cstddef>

#include "config/AlertLog.h"
#include "config/GeneratorLog.h"
#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/Machine.h"
#include "platform/Registry.h"
#include "platform/WinPath.h"

namespace ox {

namespace {

constexpr std::string_view kNoPassword = "Ox_Say_NoPassWord_ThePassWordIsEmpty";
constexpr std::string_view kPasswordError = "Ox_Say_Password_Error";

// GetUserNameA reads into a 32-byte buffer: a name that leaves no room for the
// terminating zero is not read at all.
constexpr std::size_t kUserNameBuffer = 32;

std::uint8_t RotateLeft(std::uint8_t byte, std::size_t bits) {
  bits %= 8;
  return static_cast<std::uint8_t>((byte << bits) | (byte >> (8 - bits)));
}

std::uint8_t RotateRight(std::uint8_t byte, std::size_t bits) {
  bits %= 8;
  return static_cast<std::uint8_t>((byte >> bits) | (byte << (8 - bits)));
}

// GetACP as the readers keep it: "936", "950", or "437" for any other code page.
std::string SystemCodePageText() {
  const std::string acp = std::to_string(GetACP());
  return acp == "936" || acp == "950" ? acp : std::string("437");
}

std::string LogonName() {
  const std::string& name = Machine().userName;
  return name.size() < kUserNameBuffer ? name : std::string();
}

bool IsTrueText(std::string_view text) {
  const std::string upper = UpperAscii(text);
  return upper == "1" || upper == "Y" || upper == "YES" || upper == "TRUE";
}

// The conversion modes that follow from the code pages.
template <class Reader>
void ApplyModeRule(Reader& reader) {
  const std::string& ui = reader.FUICodePage;
  const std::string& db = reader.FDBCodePage;
  if (ui == "950")
    reader.FUIConvertMode = 2;
  else if (ui == "936" && reader.FSysCodePage == "950")
    reader.FUIConvertMode = 4;
  else
    reader.FUIConvertMode = 0;
  if (ui == "950" && db == "936")
    reader.FDBConvertMode = 2;
  else if (ui == "936" && db == "950")
    reader.FDBConvertMode = 1;
  else
    reader.FDBConvertMode = 0;
}

template <class Reader>
void LoadDefaults(Reader& reader) {
  reader.FErrorCode.clear();
  reader.FBasePath.clear();
  reader.FProfilePath.clear();
  reader.FProfileType = "0";
  reader.FUserName = "Default";
  reader.FDBCodePage = "936";
  reader.FSysCodePage = SystemCodePageText();
  reader.FUICodePage = reader.FSysCodePage;
  reader.FSupportCallBack = false;
  reader.FIniFileName.clear();
  ApplyModeRule(reader);
}

// Reads the installation folder and profile kind from the registry and picks the
// configuration file. False when reading stops here.
template <class Reader>
bool LocateIniFile(Reader& reader, std::string_view pathValue, std::string_view fileName) {
  TRegistry registry(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKeyReadOnly(kCorvaneKey)) {
    reader.FErrorCode = "E;000015";
    return false;
  }
  reader.FBasePath = registry.ReadString(pathValue);
  reader.FProfileType = registry.ReadString("ProfileType");
  registry.CloseKey();
  if (reader.FBasePath.empty()) return false;
  reader.FBasePath = IncludeTrailingBackslash(reader.FBasePath);

  reader.FProfilePath = reader.FBasePath;
  if (!reader.FProfileType.empty() && reader.FProfileType != "0") {
    reader.FUserName = LogonName();
    reader.FProfilePath = reader.FBasePath + "Profile\\" + reader.FUserName + "\\";
  }
  reader.FIniFileName = reader.FProfilePath + std::string(fileName);
  // The user name stays the logon name even when the shared file is taken.
  if (!FileExists(reader.FIniFileName)) {
    reader.FProfilePath = reader.FBasePath;
    reader.FIniFileName = reader.FBasePath + std::string(fileName);
  }
  return true;
}

template <class Reader>
void ReadCodePages(Reader& reader, const TIniFile& ini) {
  reader.FUICodePage = ini.ReadString("CodePage", "UICodePage", reader.FSysCodePage);
  reader.FDBCodePage = ini.ReadString("CodePage", "DBCodePage", "936");
}

// The value of a "key=value" line. Keys are unique within a section, so a line's own
// value is the one its key looks up.
std::string ValueOfLine(std::string_view line) {
  const std::size_t equals = line.find('=');
  return equals == std::string_view::npos ? std::string() : std::string(line.substr(equals + 1));
}

// Turns the "key=value" lines of the WorkDLLPath section into package folders below
// `base`; no line at all gives the one folder `base` + `defaultFolder`.
void ResolveWorkDLLPaths(std::vector<std::string>& lines, const std::string& base,
                         std::string_view defaultFolder) {
  if (lines.empty()) {
    lines.push_back(base + std::string(defaultFolder));
    return;
  }
  for (std::string& line : lines)
    line = ExpandWorkPath(IncludeTrailingBackslash(ValueOfLine(line)), base);
}

// The host list of the client: one column per ";"-separated host, every host with
// the same port. A single trailing ";" ends the list; pieces keep their blanks.
Variant ServerList(std::string_view hosts, int port) {
  if (!hosts.empty() && hosts.back() == ';') hosts.remove_suffix(1);
  Variant list = VarArrayCreate({0, 1, 0, 0});
  for (int column = 0;; ++column) {
    const std::size_t cut = hosts.find(';');
    VarArrayRedim(list, column);
    list(0, column) = hosts.substr(0, cut);
    list(1, column) = port;
    if (cut == std::string_view::npos) break;
    hosts.remove_prefix(cut + 1);
  }
  return list;
}

// One cell of the database settings and where it is read from.
struct DBSetting {
  enum class Kind { Text, Trimmed, Integer, Scrambled };
  int row;
  int column;
  std::string_view section;
  std::string_view key;
  Kind kind;
  std::string_view text;  // default of a text
  int number;             // default of an integer
};

constexpr std::string_view kDBE = "DBE Setting";
constexpr std::string_view kPasswordCtrl = "DBPasswordCtrl";
using K = DBSetting::Kind;

// In reading order.
constexpr DBSetting kDBSettings[] = {
    {0, 0, kDBE, "MainAlias", K::Text, "Talvo", 0},
    {0, 1, kDBE, "MainUserName", K::Text, "sa", 0},
    {0, 2, kDBE, "XXXXXX", K::Scrambled, "", 0},
    {0, 3, kDBE, "MainDBType", K::Text, "MSSQL", 0},
    {0, 4, kDBE, "MainDBName", K::Text, "", 0},
    {0, 5, kDBE, "MainServerName", K::Text, "", 0},
    {0, 6, kDBE, "MainConnectionTimeOut", K::Integer, "", 300},
    {0, 7, kDBE, "MainCommandTimeOut", K::Integer, "", 3000},
    {1, 0, kDBE, "TempAlias", K::Text, "TalvoTemp", 0},
    {1, 1, kDBE, "TempUserName", K::Text, "sa", 0},
    {1, 2, kDBE, "TempPassword", K::Scrambled, "", 0},
    {1, 3, kDBE, "TempDBType", K::Text, "PARADOX", 0},
    {1, 4, kDBE, "TempDBName", K::Text, "", 0},
    {1, 5, kDBE, "TempDriverName", K::Text, "PostgreSQL", 0},
    {1, 6, kDBE, "TempConnectionTimeOut", K::Integer, "", 300},
    {1, 7, kDBE, "TempCommandTimeOut", K::Integer, "", 3000},
    {2, 0, kPasswordCtrl, "ComputerName", K::Trimmed, "", 0},
    {2, 1, kPasswordCtrl, "ServerPort", K::Integer, "", 211},
    {2, 2, kPasswordCtrl, "ClientSocketPort", K::Integer, "", 1024},
    {2, 3, kDBE, "DataBaseCodeOrder", K::Text, "Chinese_Taiwan_Stroke_BIN", 0},
    {3, 0, kDBE, "EctAlias", K::Text, "EDIDATA", 0},
    {3, 1, kDBE, "EctUserName", K::Text, "sa", 0},
    // The exchange database's password is kept as stored.
    {3, 2, kDBE, "EctPassword", K::Text, "", 0},
};

Variant ReadDBSetting(const TIniFile& ini, const DBSetting& setting) {
  if (setting.kind == K::Integer)
    return ini.ReadInteger(setting.section, setting.key, setting.number);
  const std::string text = ini.ReadString(setting.section, setting.key, setting.text);
  switch (setting.kind) {
    case K::Trimmed:
      return TrimBlanks(text);
    case K::Scrambled:
      return DecodeSQLSa(text);
    default:
      return text;
  }
}

Variant ReadDBSettings(const TIniFile& ini) {
  Variant settings = VarArrayCreate({0, 3, 0, 7});
  for (const DBSetting& setting : kDBSettings)
    settings(setting.row, setting.column) = ReadDBSetting(ini, setting);
  return settings;
}

// A system control address; a blank one means the main database server.
std::string AddressOr(std::string address, const std::string& mainServer) {
  return TrimBlanks(address).empty() ? mainServer : address;
}

std::uint8_t DBKindOf(std::string_view dbType) {
  if (SameTextAscii(dbType, "ORACLE")) return 1;
  if (SameTextAscii(dbType, "DB2")) return 2;
  return 0;
}

}  // namespace

TCorvaneIniC::TCorvaneIniC() {
  LoadConfig();
}

void TCorvaneIniC::LoadConfig() {
  LoadDefaults(*this);
  if (!LocateIniFile(*this, "ClientPath", "CorvaneC.ini")) return;
  const TIniFile ini(FIniFileName);
  FLangType = ini.ReadString("Client Components", "LangType", "ENG");
  FProductVersion = ini.ReadString("ProductVersion", "Version", "");
  FCreateGifBeforeSendEF = ini.ReadString("UserDefine", "CreateGifBeforeSendEF", "Y");
  ReadCodePages(*this, ini);
  FSupportCallBack = IsTrueText(ini.ReadString("Server Information", "SupportCallBack", "0"));
  const std::string hosts = ini.ReadString("Server Information", "ComputerName", "127.0.0.1");
  const int port = ini.ReadInteger("Server Information", "ServerPort", 211);
  FWorkDLLPaths = ini.ReadSectionValues("WorkDLLPath");
  FAutoCheckNewMsg = ini.ReadString("TaskMessageCenter Setting", "AutoCheckNewMsg", "1");
  FCheckInterval = ini.ReadString("TaskMessageCenter Setting", "CheckInterval", "1");
  FPopupMsg = ini.ReadString("TaskMessageCenter Setting", "PopupMsg", "1");
  FLoginCheck = ini.ReadString("TaskMessageCenter Setting", "LoginCheck", "0");
  ApplyModeRule(*this);

  const std::string_view trimmedHosts = TrimBlanks(hosts);
  if (trimmedHosts.empty()) {
    FErrorCode = "E;000016";
    return;
  }
  FServerList = ServerList(trimmedHosts, port);
  ResolveWorkDLLPaths(FWorkDLLPaths, FBasePath, "C_PKG\\");
}

TCorvaneIniS::TCorvaneIniS() {
  LoadConfig();
}

void TCorvaneIniS::LoadConfig() {
  LoadDefaults(*this);
  if (!LocateIniFile(*this, "ServerPath", "CorvaneS.ini")) return;
  const TIniFile ini(FIniFileName);
  FProductVersion = ini.ReadString("ProductVersion", "Version", "");
  ReadCodePages(*this, ini);
  FDBSettings = ReadDBSettings(ini);
  const std::string mainServer = FDBSettings(0, 5).asString();
  FSystemControlAddress = AddressOr(ini.ReadString(kDBE, "SystemControlAddress", ""), mainServer);
  FOtherSystemControlAddress =
      AddressOr(ini.ReadString(kDBE, "OtherSystemControlAddress", ""), mainServer);
  FSupportCallBack = IsTrueText(ini.ReadString(kPasswordCtrl, "SupportCallBack", "0"));
  FWorkDLLPaths = ini.ReadSectionValues("WorkDLLPath");
  FDBKind = DBKindOf(FDBSettings(0, 3).asString());
  ApplyModeRule(*this);
  ResolveWorkDLLPaths(FWorkDLLPaths, FBasePath, "S_PKG\\");
}

void TCorvaneIniS::GetDLLPath(std::vector<std::string>& paths) const {
  paths = FWorkDLLPaths;
}

std::string ExpandWorkPath(std::string_view path, std::string_view base) {
  if (!ExtractFileDrive(path).empty()) return std::string(path);
  if (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  return std::string(base).append(path);
}

std::string DecodeSQLSa(std::string_view stored) {
  std::string clear;
  for (std::size_t pair = 1; 2 * pair <= stored.size(); ++pair) {
    const int high = HexDigitValue(stored[2 * pair - 2]);
    const int low = HexDigitValue(stored[2 * pair - 1]);
    if (high < 0 || low < 0) {
      const EConvertError error("'$" + std::string(stored.substr(2 * pair - 2, 2)) +
                                "' is not a valid integer value");
      LogException(&error, EncodeSQLSa("DecodeSQLSa"), Gb("解析 Sa 时发生错误!"));
      return std::string(kPasswordError);
    }
    clear += static_cast<char>(RotateLeft(static_cast<std::uint8_t>(high * 16 + low), pair));
  }
  return clear == kNoPassword ? std::string() : clear;
}

std::string EncodeSQLSa(std::string_view clear) {
  static constexpr char kHexDigits[] = "0123456789abcdef";
  if (clear.empty()) clear = kNoPassword;
  std::string stored;
  for (std::size_t position = 1; position <= clear.size(); ++position) {
    const std::uint8_t byte = RotateRight(static_cast<std::uint8_t>(clear[position - 1]), position);
    stored += kHexDigits[byte >> 4];
    stored += kHexDigits[byte & 0x0F];
  }
  return stored;
}

}  // namespace ox
