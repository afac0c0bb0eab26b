#pragma once
// The temporary files we make beside our own and the shop's files, by name:
// what a process killed in the middle of a write leaves behind, and so what a
// later start may remove, never any other file.
#include <string>
#include <string_view>

namespace ligamor {

// Each temporary file's name is a stem, six letters or digits (as mkostemp
// and CreateUniqueFile fill them in) and an end.

// ReplaceWholeFile(path) writes first to "." and the file's name and "." in
// the file's directory, no end.
std::string ReplacementStemOf(const std::string& path);

// The spool and the copy of a move across volumes, made in a directory value
// (followed directly by the name, as the settings' directories are): ".ligamor-"
// there, ending with ".tmp".
std::string ScratchStemIn(const std::string& directory);
inline constexpr std::string_view kScratchEnd = ".tmp";

// True when path is exactly stem, six letters or digits, and end.
bool IsTemporaryOf(std::string_view path, std::string_view stem, std::string_view end);

// The steps of ReplaceWholeFile in their order, on every platform (where
// Windows flushes the directory with the rename, both steps follow the move).
enum class ReplaceStep { Created, Written, Flushed, Renamed, DirectoryFlushed };
inline constexpr int kReplaceSteps = 5;

// For the tests: called after each step of every ReplaceWholeFile. An exception
// it raises leaves the files as a killed process leaves them at that step, its
// temporary file included; the handle is closed, nothing else is undone. The
// program never sets one; tests set it and reset it to nullptr.
using ReplaceStepHook = void (*)(ReplaceStep step);
void SetReplaceStepHook(ReplaceStepHook hook);

namespace detail {
void ReachedReplaceStep(ReplaceStep step);
}  // namespace detail

}  // namespace ligamor
