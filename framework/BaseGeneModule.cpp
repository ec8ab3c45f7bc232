// The report's server module run inside the client: found in the server configuration's
// library folders, brought up to date by the downloader, loaded, handed the job, and
// released.
#include "config/CorvaneINI.h"
#include "framework/BaseGene.h"
#include "framework/ServerModule.h"
#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "platform/Library.h"
#include "platform/Machine.h"
#include "platform/WinPath.h"

namespace ox {

// The module file to run: the first library folder whose copy exists and the downloader
// accepts; else the "S_PKG" folder's (or the first folder's) copy, if the downloader can
// bring it. Empty when there is none.
std::string TfrmBaseGene::LocateServerModule(const std::string& programCode) {
  std::vector<std::string> folders;
  TCorvaneIniS().GetDLLPath(folders);
  if (folders.empty()) return {};
  const std::string fileName = programCode + "S.DLL";
  const auto accepted = [this, &fileName](const std::string& path) {
    Variant serverCopy;
    try {
      serverCopy = OleCall(HostObject, "GetFileList", {VarArrayOf({LowerAscii(fileName)})});
    } catch (const std::exception&) {
      serverCopy = Variant();
    }
    return DownloadModule(serverCopy, path, true);
  };
  const std::string* packageFolder = nullptr;
  for (const std::string& folder : folders) {
    if (packageFolder == nullptr && UpperAscii(folder).find("S_PKG") != std::string::npos)
      packageFolder = &folder;
    const std::string path = folder + fileName;
    if (LibraryFileExists(path) && accepted(path)) return path;
  }
  const std::string path = (packageFolder != nullptr ? *packageFolder : folders.front()) + fileName;
  return accepted(path) ? path : std::string();
}

bool TfrmBaseGene::RunServerModule(const std::string& requestNo, const std::string& programCode,
                                   const std::string& reportID, int count, const Variant& values,
                                   const std::string& dbName, const std::string& jobKind,
                                   const std::string&, const std::string& userID,
                                   const std::string& companyID, const std::string& extra) {
  ProcessMessages();
  const std::string path = LocateServerModule(programCode);
  if (path.empty()) return false;
  const LibraryHandle library(LoadLibrary(path));
  if (!library) return false;
  auto getController =
      reinterpret_cast<GetSvrControllerProc>(GetProcAddress(library.get(), "GetSvrController"));
  bool ok = false;
  if (getController != nullptr) {
    std::unique_ptr<TServerModuleController> controller(getController());
    if (controller != nullptr) {
      const std::string kind = UpperAscii(jobKind);
      std::string uiCodePage;
      GetUICodePage(uiCodePage);
      const Variant job =
          kind != "B" ? VarArrayOf({requestNo, extra, companyID, userID, dbName, values, count,
                                    kind, reportID, static_cast<std::int32_t>(ProductID),
                                    RunLocallyFlag ? 1 : 0, uiCodePage})
                      : VarArrayOf({requestNo, companyID, userID, values, dbName, reportID,
                                    static_cast<std::int32_t>(ProductID)});
      try {
        controller->Run(job);
        ok = true;
      } catch (const std::exception& error) {
        AddMessageText(error.what());
      }
      try {
        std::u16string message;
        controller->GetMessage(message);
        AddMessageText(WideToMultiByte(GetACP(), message));  // an empty one clears
      } catch (const std::exception& error) {
        AddMessageText(error.what());
      }
    }
  }
  // The library is freed here (the one system that kept it loaded is not this one).
  ProcessMessages();
  return ok;
}

}  // namespace ox
