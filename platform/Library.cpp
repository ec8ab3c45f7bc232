#include "platform/Library.h"

#include <dlfcn.h>
#include <link.h>

#include <system_error>

#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "platform/Machine.h"
#include "platform/WinPath.h"

namespace ox {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kWindowsExt = ".dll";
constexpr std::string_view kNativeExt = ".so";

thread_local std::string lastError;

void Fail(std::string why) {
  lastError = std::move(why);
}

// The one rule: a ".dll" name becomes the ".so" name with the same base name.
std::string NativeLibraryName(std::string_view name) {
  if (!SameTextAscii(ExtractFileExt(name), kWindowsExt)) return std::string(name);
  return ChangeFileExt(name, kNativeExt);
}

bool IsBareName(std::string_view name) {
  return ExtractFilePath(name).empty() && name.find('/') == std::string_view::npos;
}

// The folder of the platform library itself, where the plug-ins are installed.
fs::path PlatformFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&PlatformFolder), &info) == 0 ||
      info.dli_fname == nullptr)
    return {};
  std::error_code error;
  return fs::absolute(info.dli_fname, error).parent_path();
}

std::string DlError() {
  const char* why = dlerror();
  return why != nullptr ? Utf8ToAnsi(why) : "unknown loader error";
}

bool IsFile(const fs::path& path) {
  std::error_code error;
  return !path.empty() && fs::is_regular_file(path, error);
}

}  // namespace

std::optional<fs::path> LibraryFile(std::string_view name) {
  const std::string mapped = NativeLibraryName(name);
  const fs::path file =
      IsBareName(mapped) ? PlatformFolder() / AnsiToUtf8(mapped) : ToNativePath(mapped);
  if (!IsFile(file)) return std::nullopt;
  // Absolute, so that dlopen never takes a relative file for a name to search.
  std::error_code error;
  return fs::absolute(file, error);
}

bool LibraryFileExists(std::string_view name) {
  return LibraryFile(name).has_value();
}

HMODULE LoadLibrary(std::string_view name) {
  std::string target;
  if (const auto file = LibraryFile(name)) {
    target = file->string();
  } else if (!name.empty() && IsBareName(name)) {
    target = AnsiToUtf8(NativeLibraryName(name));
  } else {
    Fail("library file not found: " + std::string(name));
    return nullptr;
  }
  void* handle = dlopen(target.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) Fail(DlError());
  return static_cast<HMODULE>(handle);
}

FARPROC GetProcAddress(HMODULE module, std::string_view symbol) {
  if (module == nullptr) {
    Fail("no library");
    return nullptr;
  }
  dlerror();
  void* address = dlsym(module, std::string(symbol).c_str());
  if (address == nullptr) Fail(DlError());
  return reinterpret_cast<FARPROC>(address);
}

bool FreeLibrary(HMODULE module) {
  if (module == nullptr) {
    Fail("no library");
    return false;
  }
  if (dlclose(module) == 0) return true;
  Fail(DlError());
  return false;
}

std::string GetModuleFileName(const void* addressInModule) {
  if (addressInModule == nullptr) return HostExeName();
  Dl_info info{};
  link_map* module = nullptr;
  if (dladdr1(addressInModule, &info, reinterpret_cast<void**>(&module), RTLD_DL_LINKMAP) == 0 ||
      module == nullptr) {
    Fail("no module holds the address");
    return {};
  }
  // The program itself has an empty name in the loader's list.
  if (module->l_name == nullptr || *module->l_name == '\0') return HostExeName();
  std::error_code error;
  return FromNativePath(fs::absolute(module->l_name, error));
}

std::string LastLibraryError() {
  return lastError;
}

}  // namespace ox
