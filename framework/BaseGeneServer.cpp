// The option form's way out: the host's objects (system settings, data check, lookup
// window), the application-server connection, and the queries through them.
#include "config/CorvaneINI.h"
#include "framework/BaseGene.h"
#include "lib/LibStrs.h"
#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "platform/Machine.h"

namespace ox {

namespace {

// An object of the host that may be missing: a call on it answers Empty.
Variant CallOrEmpty(const Variant& object, std::string_view method) {
  try {
    return OleCall(object, method, {});
  } catch (const std::exception&) {
    return Variant();
  }
}

bool Assigned(const Variant& object) {
  return !object.isEmpty() && !object.isNull();
}

}  // namespace

void TfrmBaseGene::ConnectHostObjects() {
  if (!IsDllBuild() && !Assigned(HostObject)) {
    try {
      HostObject = CreateOleObject("TalvoWorkCenter.Manager");
    } catch (const std::exception&) {
      HostObject = Variant();
    }
  }
  Counter = CallOrEmpty(HostObject, "Com_Counter");
  try {
    std::string ignored;
    GetSystemSetting("", ignored);
    GetSystemSetting("QMX002", CompanyTitle);
  } catch (const std::exception&) {
    Counter = Variant();
  }
  Validator = CallOrEmpty(HostObject, "Com_Validator");
}

void TfrmBaseGene::ConnectF2Window() {
  if ((F2Flags & 4) != 0) F2Window = CallOrEmpty(HostObject, "Com_F2Window");
}

void TfrmBaseGene::ReadProgramMaster() {
  try {
    Variant row;
    if (!ServerQuery("ADMMB", "01", false, row, VarArrayOf({ProgramCode})) || !row.isArray()) {
      ProgramName.clear();
      WantLog = false;
      return;
    }
    const int high = VarArrayHighBound(row, 1);
    std::string uiCodePage;
    GetUICodePage(uiCodePage);
    // The English name is column 7, in rows that have it.
    ProgramName = VarToStr(row[high >= 7 && uiCodePage == "437" ? 7 : 0]);
    WantLog = high >= 4 && VarToStr(row[4]) == "Y";
  } catch (const std::exception&) {
    ProgramName = ProgramCode;
    WantLog = false;
  }
}

bool TfrmBaseGene::LoadServerAddress() {
  try {
    TSocketConnection* connection = MainMidas();
    if (connection != nullptr) connection->Close();
    const TCorvaneIniC config;
    const bool failed = !MessageCodes().empty();
    if (!failed && connection != nullptr) {
      const Variant& servers = config.FServerList;
      if (servers.isArray() && VarArrayDimCount(servers) == 2) {
        connection->SetAddress(servers(0, 0).asString());
        connection->SetObjectBroker(nullptr);
        connection->SetPort(servers(1, 0).asInteger());
      }
    }
    if (failed) {
      // The codes raised so far are said again.
      for (std::string codes = MessageCodes(); !codes.empty();)
        if (const std::string code = CutToken(codes, "; "); !code.empty()) ShowMessageCode(code);
      return false;
    }
    return true;
  } catch (const std::exception& error) {
    AddMessageText(error.what());
    return false;
  }
}

bool TfrmBaseGene::ConnectServer() {
  try {
    AppServer = Variant();
    TSocketConnection* connection = MainMidas();
    if (connection == nullptr) return false;
    if (connection->Connected()) connection->Close();
    LocalServer = connection->Address() == "127.0.0.1";
    if (LocalServer) {
      // The server object in this process, by its identifier; no socket.
      const Variant server = CreateOleObject(connection->ServerName());
      connection->SetAppServer(server);
      AppServer = server;
    } else {
      connection->Open();
      if (connection->Connected()) AppServer = connection->AppServer();
    }
    return true;
  } catch (const std::exception& error) {
    AddMessageText(error.what());
    return false;
  }
}

void TfrmBaseGene::GetSystemSetting(const std::string& name, std::string& value) {
  value.clear();
  if (!name.empty()) {
    value = SettingsCache.Values(name);
  } else if (Assigned(Counter)) {
    try {
      Variant company(CompanyID);
      const Variant info = OleCall(Counter, "GetSysInfo", {ByRef(company)});
      for (int c = VarArrayLowBound(info, 2); c <= VarArrayHighBound(info, 2); ++c)
        SettingsCache.SetValues(info(0, c).asString(), info(1, c).asString());
    } catch (const std::exception&) {
      value.clear();
    }
  }
  const std::string upper = UpperAscii(name);
  if (value.empty() &&
      (upper == "SYS007" || upper == "SYS008" || upper == "SYS009" || upper == "SYS010")) {
    std::string uiCodePage;
    GetUICodePage(uiCodePage);
    const int which = upper.back() == '0' ? 3 : upper.back() - '7';
    // The English labels number the inventory categories as the Chinese ones do.
    static const char* const kEnglish[] = {"Inv.Cate.1", "Inv.Cate.2", "Inv.Cate.3", "Inv.Cate.4"};
    static const char* const kChinese[] = {"商品分类方式一", "商品分类方式二", "商品分类方式三",
                                           "商品分类方式四"};
    value = uiCodePage == "437" ? kEnglish[which] : Gb(kChinese[which]);
    return;
  }
  if (Converted() && OxConverter() != nullptr)
    value = VarToStr(OxConverter()->ConvertDataString(Variant(value)));
}

bool TfrmBaseGene::ServerQuery(const std::string& prog, const std::string& query, bool mode,
                               Variant& result, Variant params) {
  const TCodeConverter* converter = OxConverter();
  if (converter != nullptr) params = converter->RecoverDataString(params);
  if (!Assigned(Validator)) return false;
  try {
    OlePropertySet(Validator, "ProductID", static_cast<std::int32_t>(ProductID));
  } catch (const std::exception&) {
  }
  try {
    OlePropertySet(Validator, "BaseLimited", WideToMultiByte(GetACP(), PowerText));
  } catch (const std::exception&) {
  }
  bool ok = false;
  try {
    Variant progArg(prog), queryArg(query), database(DbName);
    ok = OleCall(Validator, mode ? "QueryData" : "CheckValue",
                 {ByRef(progArg), ByRef(queryArg), ByRef(database), ByRef(params), ByRef(result)})
             .asBoolean();
  } catch (const std::exception&) {
    return false;
  }
  if (Converted() && converter != nullptr) result = converter->ConvertDataString(result);
  return ok;
}

bool TfrmBaseGene::CheckValueExists(const Variant& prog, const Variant& query,
                                    const Variant& params, const std::string& kind, int index,
                                    Variant& out) {
  const TWinControl* active = ActiveControl();
  if (active != nullptr && active == btnCancel()) return true;
  Variant row;
  if (Assigned(params)) {
    if (!ServerQuery(prog.asString(), query.asString(), index == -2, row, params)) {
      std::string missing;
      LookupMessage("I", "000008", missing);
      if (kind == "E") ShowMessageCode("E;000001;" + missing);
      if (kind == "W") ShowMessageCode("W;000004;" + missing);
      return false;
    }
  }
  out = Variant();
  if (!Assigned(row)) return true;
  if (!row.isArray() || index < VarArrayLowBound(row, 1) || index > VarArrayHighBound(row, 1))
    out = row;
  else
    out = row[index];
  return true;
}

void TfrmBaseGene::LookupData(const std::string& prog, const std::string& query,
                              const Variant& params, const std::string& extra, bool multiSelect,
                              Variant& data) {
  if (!Assigned(F2Window)) {
    data = Variant();
    return;
  }
  const TCodeConverter* converter = OxConverter();
  const auto recover = [converter](const Variant& v) {
    return converter != nullptr ? converter->RecoverDataString(v) : v;
  };
  Variant request = VarArrayCreate({0, 18});
  const Variant values[] = {prog,
                            query,
                            recover(params),
                            multiSelect,
                            recover(Variant(extra)),
                            CompanyID,
                            DbName,
                            static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(Handle())),
                            1,
                            false,
                            static_cast<std::int32_t>(ProductID),
                            "",
                            "",
                            "",
                            WideToMultiByte(GetACP(), PowerText),
                            PowerFlag8,
                            PowerFlag7,
                            HostObject,
                            UserID};
  for (int i = 0; i <= 18; ++i)
    request[i] = values[i];
  try {
    data = OleCall(F2Window, "F2GetData", {request});
  } catch (const std::exception&) {
    data = Variant();
    return;
  }
  if (Converted() && converter != nullptr) data = converter->ConvertDataString(data);
}

void TfrmBaseGene::ApplyPower(const Variant& reply) {
  const auto element = [&reply](int index) {
    return reply.isArray() && index >= VarArrayLowBound(reply, 1) &&
                   index <= VarArrayHighBound(reply, 1)
               ? reply[index]
               : Variant();
  };
  // [1] "t1,t2,t3,t4,t5,t6"; t4 holds the power letters.
  const std::string fields = VarToStr(element(1));
  PowerFields.clear();
  for (int i = 1; i <= 6; ++i)
    PowerFields.push_back(GetToken(fields, ",", i));
  const std::string& t4 = PowerFields[3];
  PowerFlag7 = t4.size() < 7 || t4[6] != 'N';
  PowerFlag8 = t4.size() < 8 || t4[7] != 'N';
  PowerPart2 = VarToStr(element(2));
  PowerPart3 = VarToStr(element(3));
  // [4] and the items of [5] = [n, item1, ..., itemn], each followed by #3.
  std::u16string text = element(4).asWide() + u'\x03';
  const Variant items = element(5);
  if (items.isArray()) {
    const int low = VarArrayLowBound(items, 1);
    for (int i = low; i <= VarArrayHighBound(items, 1); ++i)
      text += items[i].asWide() + u'\x03';
  }
  PowerText = text;
  PowerLoaded();
}

void TfrmBaseGene::GetCounterData(const std::string& name, const Variant& params, Variant& result) {
  result = Variant();
  if (!Assigned(Counter)) return;
  Variant paramsArg = params;
  result = OleCall(Counter, "GetCounter",
                   {UpperAscii(name), ByRef(paramsArg), VarArrayOf({CompanyID, DbName})});
  if (Converted() && OxConverter() != nullptr) result = OxConverter()->ConvertDataString(result);
}

}  // namespace ox
