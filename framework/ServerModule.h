// A report's server module run inside the client: the library "<program>S.DLL" exports
// GetSvrController, whose controller runs a job array and then tells its message. The
// header is shared by the client and by module builders (same toolchain, same
// ox_platform, as for the plug-in itself).
#pragma once

#include <functional>
#include <string>

#include "platform/Variant.h"

namespace ox {

// The module's controller, operations in slot order: the client calls the third
// (GetMessage) and the fourth (Run), then deletes the controller.
class TServerModuleController {
 public:
  virtual void Prepare() {}
  virtual void Reserved() {}
  virtual void GetMessage(std::u16string& message) = 0;
  virtual void Run(const Variant& job) = 0;
  virtual ~TServerModuleController() = default;
};

// The export: a new controller, owned by the caller.
using GetSvrControllerProc = TServerModuleController* (*)();

// Brings a module file up to date before it runs: the host's description of the server
// copy (GetFileList), the module's path, and whether to wait; true when the file at the
// path may run. Without one installed, a module file that exists runs as it is and a
// missing one cannot be fetched.
using ModuleDownloader =
    std::function<bool(const Variant& serverCopy, const std::string& path, bool wait)>;
// Installs the downloader of the program; answers the one installed before.
ModuleDownloader SetModuleDownloader(ModuleDownloader downloader);
// Asks the installed downloader (or the default rule above).
bool DownloadModule(const Variant& serverCopy, const std::string& path, bool wait);

}  // namespace ox

// What a server module exports.
extern "C" ox::TServerModuleController* GetSvrController();
