#include "config/GeneratorLog.h"

#include <cxxabi.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <typeinfo>

#include "config/AlertLog.h"
#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "platform/DateTime.h"
#include "platform/Exceptions.h"
#include "platform/Machine.h"

namespace ox {

namespace {

// GetTempPathA into a 255-byte buffer: a folder that does not fit gives nothing.
std::string TempFolder() {
  std::string temp = GetTempPath();
  return temp.size() < 255 ? temp : std::string();
}

// The installation folder, else the temporary folder, else "C:\Temp". Because the
// last one always names a folder, the host program's folder is never needed here.
std::string GeneratorBase() {
  std::string base = RegisteredBasePath();
  if (base.empty()) base = TempFolder();
  return base.empty() ? std::string("C:\\Temp") : base;
}

bool IsBlank(std::string_view text) {
  return TrimBlanks(text).empty();
}

// "%.2d" of a positive number.
std::string TwoDigits(std::size_t number) {
  return (number < 10 ? "0" : "") + std::to_string(number);
}

// "<family> Error %.2d: Code: %d, Message: %s", built without a format so that the
// message is taken literally.
std::string NumberedErrorLine(std::string_view family, std::size_t number, std::int64_t code,
                              std::string_view message) {
  std::string line(family);
  line.append(" Error ").append(TwoDigits(number)).append(": Code: ");
  line.append(std::to_string(code)).append(", Message: ").append(message);
  return line;
}

// The class name an alert log prints: the system's own name for its exceptions, the
// demangled type name for any other.
std::string ClassNameOf(const std::exception& error) {
  if (const auto* own = dynamic_cast<const Exception*>(&error)) return own->ClassName();
  const char* mangled = typeid(error).name();
  int status = 0;
  const std::unique_ptr<char, decltype(&std::free)> demangled(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
  return status == 0 && demangled ? std::string(demangled.get()) : std::string(mangled);
}

std::string MessageOf(const std::exception& error) {
  if (const auto* own = dynamic_cast<const Exception*>(&error)) return own->Message();
  return error.what();
}

// Writes the error lines of one exception by its family; answers how many.
std::size_t WriteErrorLines(const std::exception& error) {
  if (const auto* engine = dynamic_cast<const EDBEngineError*>(&error)) {
    const auto& entries = engine->Errors();
    for (std::size_t i = 0; i < entries.size(); ++i)
      WriteGeneratorLog(
          NumberedErrorLine("EDBEngineError", i + 1, entries[i].errorCode, entries[i].message));
    return entries.size();
  }
  if (const auto* win32 = dynamic_cast<const EWin32Error*>(&error)) {
    // "%d" prints the code as a signed 32-bit number.
    WriteGeneratorLog(NumberedErrorLine(
        "EWin32Error", 1, static_cast<std::int32_t>(win32->ErrorCode()), win32->Message()));
    return 1;
  }
  if (const auto* inOut = dynamic_cast<const EInOutError*>(&error)) {
    WriteGeneratorLog(NumberedErrorLine("EInOutError", 1, inOut->ErrorCode(), inOut->Message()));
    return 1;
  }
  WriteGeneratorLog("Exception is " + ClassNameOf(error) + "\r\nMessage 01: " + MessageOf(error));
  return 1;
}

}  // namespace

bool WriteGeneratorLog(std::string_view text) {
  try {
    const std::string folder = GeneratorBase() + "\\Log";
    const TDateTime now = Now();
    const std::string file =
        folder + "\\Alert_ZANTOGenerator_" + FormatDateTime("yyyymmdd", now) + ".log";
    const MachineSettings& machine = Machine();
    std::string entry =
        "[" + FormatDateTime(machine.shortDateFormat + " " + machine.longTimeFormat, now) + "] ";
    entry.append(text);
    return AppendLogEntry(folder, file, entry);
  } catch (const std::exception&) {
    return false;
  }
}

void LogException(const std::exception* error, std::string_view location,
                  std::string_view programmerMessage) {
  try {
    const std::string dashes(34, '-');
    std::string header = dashes;
    if (!IsBlank(location)) header.append(" on ").append(location).append(" ");
    WriteGeneratorLog(header + dashes);
    if (error != nullptr) {
      WriteGeneratorLog(Gb("讯息信息:"));
      const std::size_t count = WriteErrorLines(*error);
      WriteGeneratorLog("ErrorMessage Count: " + std::to_string(count));
    }
    if (!IsBlank(programmerMessage))
      WriteGeneratorLog("Programer Message: " + std::string(programmerMessage));
  } catch (const std::exception&) {
    // A block that cannot even be built is dropped, as a line that cannot be written is.
  }
}

}  // namespace ox
