#include "framework/ServerModule.h"

#include <mutex>
#include <utility>

#include "platform/Library.h"

namespace ox {

namespace {

std::mutex downloaderLock;

ModuleDownloader& Installed() {
  static ModuleDownloader downloader;
  return downloader;
}

}  // namespace

ModuleDownloader SetModuleDownloader(ModuleDownloader downloader) {
  const std::lock_guard guard(downloaderLock);
  return std::exchange(Installed(), std::move(downloader));
}

bool DownloadModule(const Variant& serverCopy, const std::string& path, bool wait) {
  ModuleDownloader downloader;
  {
    const std::lock_guard guard(downloaderLock);
    downloader = Installed();
  }
  if (downloader) return downloader(serverCopy, path, wait);
  return LibraryFileExists(path);
}

}  // namespace ox
