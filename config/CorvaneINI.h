// Readers of the installation's configuration: the registry key "Software\QMX\Corvane"
// and the files CorvaneC.ini (client) and CorvaneS.ini (server). A reader does all its
// work when it is created and never writes; every new reader reads everything again.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Variant.h"

namespace ox {

// A conversion mode of the code converter: 0 none, 1 Big5 to GB, 2 GB to Big5,
// 3 Big5 fonts without conversion, 4 GB fonts without conversion.
using TCodePageChangeType = std::uint8_t;

// Which configuration a code-page user takes: the client's or the server's.
enum TDesignType : std::uint8_t { dtClient, dtServer };

// The client configuration: registry value ClientPath and CorvaneC.ini.
class TCorvaneIniC {
 public:
  TCorvaneIniC();

  std::string FBasePath;     // installation folder, ending in "\" once read
  std::string FProfilePath;  // folder the configuration file was taken from
  std::string FProfileType;  // registry value ProfileType; "0": one profile for all users
  std::string FUserName;     // "Default", or the logon name with per-user profiles
  std::string FUICodePage;   // user-interface code page ("936", "950", "437", ...)
  std::string FDBCodePage;   // database code page
  std::string FSysCodePage;  // system code page: "936", "950" or "437"
  TCodePageChangeType FUIConvertMode = 0;  // 0, 2 or 4
  TCodePageChangeType FDBConvertMode = 0;  // 0, 1 or 2
  bool FSupportCallBack = false;
  std::string FIniFileName;  // the configuration file read
  // Hosts and port: [0, i] host name, [1, i] port, i from 0; Empty until read.
  Variant FServerList;
  std::string FErrorCode;  // "E;000015" no registry key, "E;000016" no host; else empty
  std::string FLangType;
  std::vector<std::string> FWorkDLLPaths;  // package folders, each ending in "\"
  std::string FProductVersion;
  std::string FCreateGifBeforeSendEF;
  std::string FAutoCheckNewMsg;
  std::string FCheckInterval;
  std::string FPopupMsg;
  std::string FLoginCheck;

 private:
  void LoadConfig();
};

// The server configuration: registry value ServerPath and CorvaneS.ini.
class TCorvaneIniS {
 public:
  TCorvaneIniS();

  // Replaces the content of `paths` with the package folders.
  void GetDLLPath(std::vector<std::string>& paths) const;

  std::string FBasePath;
  std::string FProfilePath;
  std::string FProfileType;
  std::string FUserName;
  std::string FUICodePage;
  std::string FDBCodePage;
  std::string FSysCodePage;
  TCodePageChangeType FUIConvertMode = 0;
  TCodePageChangeType FDBConvertMode = 0;
  bool FSupportCallBack = false;
  std::string FIniFileName;
  // Database settings [0..3, 0..7]: rows main, temporary, password control, exchange
  // database; Empty until the file is read.
  Variant FDBSettings;
  std::string FErrorCode;  // "E;000015" no registry key; else empty
  std::vector<std::string> FWorkDLLPaths;
  std::string FProductVersion;
  std::uint8_t FDBKind = 0;  // 1 ORACLE, 2 DB2, 0 any other
  std::string FSystemControlAddress;
  std::string FOtherSystemControlAddress;

 private:
  void LoadConfig();
};

// A package folder: a path with a drive or UNC share as it stands, "\x" and "x" below
// `base` (which ends in "\").
std::string ExpandWorkPath(std::string_view path, std::string_view base);

// The clear password of its stored, scrambled form. A stored text that is no run of
// hexadecimal pairs gives "Ox_Say_Password_Error" and an entry in the generator log.
std::string DecodeSQLSa(std::string_view stored);
// The stored form of a clear password; an empty password is stored as a marker text.
std::string EncodeSQLSa(std::string_view clear);

}  // namespace ox
