#include "platform/WinPath.h"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <vector>

#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "platform/Machine.h"

namespace ox {

namespace fs = std::filesystem;

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// The entry of `folder` whose name equals `name` ignoring case, or `name` itself
// when the exact name exists or nothing matches.
std::string ResolveComponent(const fs::path& folder, const std::string& name) {
  std::error_code error;
  if (fs::exists(folder / name, error)) return name;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string entry = it->path().filename().string();
    if (SameTextAscii(entry, name)) return entry;
  }
  return name;
}

// Splits a UTF-8 path text at "\" and "/", dropping empty and "." parts and
// resolving ".." without ever climbing above the start.
std::vector<std::string> Components(std::string_view text) {
  std::vector<std::string> parts;
  std::string current;
  auto flush = [&] {
    if (current == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!current.empty() && current != ".") {
      parts.push_back(current);
    }
    current.clear();
  };
  for (char c : text) {
    if (IsSeparator(c))
      flush();
    else
      current += c;
  }
  flush();
  return parts;
}

fs::path DriveFolder(char letter) {
  const auto& drives = Machine().drives;
  const auto found =
      drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
  return found == drives.end() ? fs::path() : found->second;
}

bool HasDriveLetter(std::string_view text) {
  return text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':';
}

// Index just past the last byte of `path` that is one of `chars`, skipping the
// trail bytes of double-byte characters; 0 when there is none.
std::size_t PastLastOf(std::string_view path, std::string_view chars) {
  std::size_t past = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto byte = static_cast<unsigned char>(path[i]);
    if (IsDBCSLeadByte(byte) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (chars.find(path[i]) != std::string_view::npos) past = i + 1;
  }
  return past;
}

bool EndsWithBackslash(std::string_view path) {
  return !path.empty() && PastLastOf(path, "\\") == path.size();
}

}  // namespace

fs::path ToNativePath(std::string_view winPath) {
  const std::string text = AnsiToUtf8(winPath);
  if (text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1])) return {};
  fs::path result;
  std::string_view rest = text;
  if (HasDriveLetter(text)) {
    result = DriveFolder(text[0]);
    if (result.empty()) return {};
    rest.remove_prefix(2);
  } else if (!text.empty() && IsSeparator(text[0])) {
    result = DriveFolder('C');
    if (result.empty()) return {};
  } else {
    for (const std::string& part : Components(rest))
      result /= part;
    return result;
  }
  for (const std::string& part : Components(rest))
    result /= ResolveComponent(result, part);
  return result;
}

std::string FromNativePath(const fs::path& native) {
  std::error_code error;
  const fs::path full = fs::absolute(native, error).lexically_normal();
  char bestLetter = 0;
  fs::path bestRelative;
  std::size_t bestDepth = 0;
  for (const auto& [letter, folder] : Machine().drives) {
    const fs::path root = fs::absolute(folder, error).lexically_normal();
    const fs::path relative = full.lexically_relative(root);
    if (relative.empty() || *relative.begin() == "..") continue;
    const auto depth = static_cast<std::size_t>(std::distance(root.begin(), root.end()));
    if (bestLetter == 0 || depth > bestDepth) {
      bestLetter = letter;
      bestRelative = relative;
      bestDepth = depth;
    }
  }
  if (bestLetter == 0) return {};
  std::string text{bestLetter, ':'};
  for (const auto& part : bestRelative) {
    if (part == ".") continue;
    text += '\\';
    text += part.string();
  }
  if (bestRelative == ".") text += '\\';
  return Utf8ToAnsi(text);
}

bool FileExists(std::string_view winPath) {
  std::error_code error;
  const fs::path path = ToNativePath(winPath);
  return !path.empty() && fs::exists(path, error) && !fs::is_directory(path, error);
}

bool DirectoryExists(std::string_view winPath) {
  std::error_code error;
  const fs::path path = ToNativePath(winPath);
  return !path.empty() && fs::is_directory(path, error);
}

bool ForceDirectories(std::string_view winPath) {
  const fs::path path = ToNativePath(winPath);
  if (path.empty()) return false;
  std::error_code error;
  fs::create_directories(path, error);
  return fs::is_directory(path, error);
}

std::string ExtractFilePath(std::string_view path) {
  return std::string(path.substr(0, PastLastOf(path, "\\:")));
}

std::string ExtractFileName(std::string_view path) {
  return std::string(path.substr(PastLastOf(path, "\\:")));
}

std::string ExtractFileExt(std::string_view path) {
  const std::size_t past = PastLastOf(path, ".\\:");
  if (past == 0 || path[past - 1] != '.') return {};
  return std::string(path.substr(past - 1));
}

std::string ExtractFileDrive(std::string_view path) {
  if (HasDriveLetter(path)) return std::string(path.substr(0, 2));
  if (path.size() < 2 || path[0] != '\\' || path[1] != '\\') return {};
  // "\\server\share": up to the separator after the share name.
  std::size_t separators = 0;
  for (std::size_t i = 2; i < path.size(); ++i) {
    if (path[i] == '\\' && ++separators == 2) return std::string(path.substr(0, i));
  }
  return std::string(path);
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  const std::size_t past = PastLastOf(path, ".\\:");
  const std::size_t cut = (past > 0 && path[past - 1] == '.') ? past - 1 : path.size();
  return std::string(path.substr(0, cut)).append(ext);
}

std::string IncludeTrailingBackslash(std::string_view path) {
  std::string result(path);
  if (!EndsWithBackslash(path)) result += '\\';
  return result;
}

std::string ExcludeTrailingBackslash(std::string_view path) {
  if (EndsWithBackslash(path)) path.remove_suffix(1);
  return std::string(path);
}

}  // namespace ox
