#pragma once
// The steps of a move that each platform takes its own way (file_move_posix.cpp,
// file_move_windows.cpp); file_move.cpp puts them together the same way on all.
#include <string>

namespace ligamor::detail {

// Gives from the name to on the same volume, never replacing a file: 0, or the
// system's error code.
int RenameNoReplace(const std::string& from, const std::string& to);

// The error of RenameNoReplace says that to is taken.
bool NameTaken(int osError);
// The error of RenameNoReplace says that to is on another volume.
bool OtherVolume(int osError);

// A copy of from, flushed to disk under a new temporary name in directory;
// 0 or the system's error code (then no copy is left). The name starts with
// "." and ends with ".tmp", so no reader takes a leftover for an input or a
// moved file.
int CopyToTemporary(const std::string& from, const std::string& directory, std::string& temporary);

// 0 or the system's error code.
int RemoveFile(const std::string& path);

}  // namespace ligamor::detail
