// Libraries loaded at run time by name: the stand-ins of LoadLibraryA, GetProcAddress,
// FreeLibrary and GetModuleFileNameA. The code names libraries as Windows does
// ("Oxlanguage.dll", "C:\App\C_PKG\MVAR52S.DLL"); one rule turns such a name into the
// file of this system (see LibraryFile), and both loading and existence checks use it.
// Failures answer null or false and never raise; LastLibraryError tells why.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ox {

// A loaded library. Opaque: only the functions below look inside.
using HMODULE = struct OxModule*;
// An entry point as GetProcAddress answers it; cast it to the entry's own type.
using FARPROC = void (*)();

// The library file a Windows library name stands for:
// - a name ending in ".dll" (any case) names the file with the same base name and the
//   extension ".so" ("Oxlanguage.dll" -> "Oxlanguage.so", no "lib" prefix); any other
//   name is taken as it stands;
// - a name with a folder ("C:\App\x.dll", "sub\x.dll") goes through ToNativePath, so
//   its letter case does not matter;
// - a bare name is looked for beside the platform library (the folder the plug-ins
//   are installed in), exactly as written.
// Answers the existing file, or nothing.
std::optional<std::filesystem::path> LibraryFile(std::string_view name);

// Whether LibraryFile finds a file. A bare name that only dlopen's own search path
// could find counts as missing: that search cannot be checked without loading.
bool LibraryFileExists(std::string_view name);

// LoadLibraryA: opens the file LibraryFile finds; a bare name it does not find is
// handed to dlopen's own search (LD_LIBRARY_PATH, the system folders). All symbols are
// bound at load, as on Windows, and kept local to the library. Loading a library
// again answers the same handle and counts one more use. Null on failure.
HMODULE LoadLibrary(std::string_view name);

// GetProcAddress: the exported symbol of that name, or null.
FARPROC GetProcAddress(HMODULE module, std::string_view symbol);

// FreeLibrary: drops one use of the library; false for a null or unknown handle.
bool FreeLibrary(HMODULE module);

// A library loaded for one use: FreeLibrary when the handle goes.
struct LibraryFreer {
  void operator()(OxModule* module) const { FreeLibrary(module); }
};
using LibraryHandle = std::unique_ptr<OxModule, LibraryFreer>;

// GetModuleFileNameA: the Windows path text of the module that holds the address.
// Null, or an address in the program itself, answers HostExeName(). A library answers
// its real file name ("C:\App\MVAR52C.so"): callers that tell the library build from
// the program build look at the platform's library extension. "" when no module
// holds it.
std::string GetModuleFileName(const void* addressInModule);

// Why the last failing call of this thread failed (a dlerror text or our own), as
// narrow text in the system code page like every message.
std::string LastLibraryError();

}  // namespace ox
