// Windows path texts and their files. Every path the system shows or stores is a
// Windows text ("C:\App\Log\x.log", narrow, in the system code page); one mapping
// turns such a text into a file of this system: the drive letter becomes its
// configured folder, "\" becomes "/", the text is decoded from the system code page,
// and a component that does not exist with the given letter case is looked up
// ignoring case, as Windows file names ignore case.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ox {

// The file of this system that a Windows path text names. A text without a drive
// ("a\b") stays relative; "\x" is taken on drive C; a UNC text ("\\server\share\x")
// and an unknown drive name nothing (an empty path).
std::filesystem::path ToNativePath(std::string_view winPath);

// The Windows path text for a file of this system: the drive whose folder holds the
// file (the longest such folder), else drive Z, which stands for the root.
std::string FromNativePath(const std::filesystem::path& native);

bool FileExists(std::string_view winPath);       // an existing file, not a folder
bool DirectoryExists(std::string_view winPath);  // an existing folder
// Creates the folder and every missing parent; true when the folder exists after.
bool ForceDirectories(std::string_view winPath);

// Path text operations, double-byte aware (a "\" trail byte is not a separator).
std::string ExtractFilePath(std::string_view path);   // up to and including the last "\" or ":"
std::string ExtractFileName(std::string_view path);   // after the last "\" or ":"
std::string ExtractFileExt(std::string_view path);    // from the last "." of the name, or empty
std::string ExtractFileDrive(std::string_view path);  // "C:" or "\\server\share", or empty
std::string ChangeFileExt(std::string_view path, std::string_view ext);
std::string IncludeTrailingBackslash(std::string_view path);
std::string ExcludeTrailingBackslash(std::string_view path);

}  // namespace ox
