#include "runtime/file_move.h"

#include "runtime/file_move_platform.h"
#include "runtime/paths.h"
#include "runtime/text_file.h"

namespace ligamor {

namespace {

// Enough for a file moved every second of a cycle; beyond it the name is
// reported as taken.
constexpr int kMostSuffixes = 999;

MoveResult RenameToFreeName(const std::string& from, const std::string& to)
{
    MoveResult result;
    for (int n = 1; n <= kMostSuffixes; ++n) {
        result.movedTo = n == 1 ? to : SuffixedName(to, n);
        result.osError = detail::RenameNoReplace(from, result.movedTo);
        if (!detail::NameTaken(result.osError)) break;
    }
    return result;
}

}  // namespace

MoveResult MoveFileNoReplace(const std::string& from, const std::string& to)
{
    MoveResult result = RenameToFreeName(from, to);
    if (!detail::OtherVolume(result.osError)) return result;

    // Another volume: the copy is whole and on disk under its final name
    // before the original goes.
    const std::string directory = DirectoryOf(to);
    std::string temporary;
    result = {detail::CopyToTemporary(from, directory, temporary), to};
    if (result.osError != 0) return result;
    result = RenameToFreeName(temporary, to);
    if (result.osError != 0) {
        detail::RemoveFile(temporary);
        return result;
    }
    result.osError = SyncDirectory(directory);
    if (result.osError == 0) result.osError = detail::RemoveFile(from);
    // The original could not go: the copy goes instead, so that the file is
    // found in one place only.
    if (result.osError != 0) detail::RemoveFile(result.movedTo);
    return result;
}

std::string SuffixedName(const std::string& to, int n)
{
    const std::size_t slash = to.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = to.rfind('.');
    if (dot == std::string::npos || dot <= nameStart) dot = to.size();
    return to.substr(0, dot) + "_" + std::to_string(n) + to.substr(dot);
}

}  // namespace ligamor
