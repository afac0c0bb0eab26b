#pragma once
// How paths are written on this platform: one paths_<platform>.cpp each.
#include <cstddef>
#include <string>

namespace ligamor {

// Directory values end with it; file names are appended to them directly.
extern const char kPathSeparator;

// True where the file system does not tell letter case apart in names
// (Windows): there a path may be shown and stored in upper case.
extern const bool kFileNamesIgnoreLetterCase;

// The length of the root that path begins with, separator included: what
// exists by definition and is never created ("/" on Linux; "C:\", "C:",
// "\\server\share\" and "\" on Windows); 0 for a relative path.
std::size_t PathRootLength(const std::string& path);

// The directory part of a path, ending with the separator; the current
// directory ("./", ".\") for a bare name.
std::string DirectoryOf(const std::string& path);

// The path made absolute against the current directory, in the system's
// encoding as it came (on Windows the ANSI code page, through the wide API).
std::string AbsolutePath(const std::string& path);

}  // namespace ligamor
