#pragma once
// Moving a processed file into another directory without ever replacing a
// file there. The header is the same on every platform; each platform has its
// own file_move_<platform>.cpp.
#include <string>

namespace ligamor {

struct MoveResult {
    int osError = 0;      // 0 when moved; otherwise the operating system's code
    std::string movedTo;  // the name the file now has (or was meant to have)
};

// Moves from to the name to, or, when that name is taken, to the first free of
// SuffixedName(to, 2), SuffixedName(to, 3), ... Never replaces a file. Across
// file systems the file is copied under a temporary name in to's directory,
// flushed to disk, given its name and only then removed from where it was: a
// crash at any step leaves the original in place or both copies, never
// neither. On failure from is left where it was.
MoveResult MoveFileNoReplace(const std::string& from, const std::string& to);

// to with "_<n>" before the extension of its file name: "A_01.TXT", 2 gives
// "A_01_2.TXT"; a name without extension gets the suffix at its end.
std::string SuffixedName(const std::string& to, int n);

// The operating system's reason for a failure as a short Portuguese text in
// Windows-1252 ("permissão negada", "disco cheio", ...).
std::string OsErrorReason(int osError);

}  // namespace ligamor
