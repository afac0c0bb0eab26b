#include "runtime/temporary_files.h"

#include <atomic>

#include "runtime/paths.h"

namespace ligamor {

namespace {

// Set by tests alone: the program itself keeps no mutable global.
std::atomic<ReplaceStepHook> replaceStepHook{nullptr};

bool UniqueLetters(std::string_view letters)
{
    for (const char c : letters)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    return true;
}

}  // namespace

std::string ReplacementStemOf(const std::string& path)
{
    const std::string directory = DirectoryOf(path);
    return directory + "." + path.substr(directory.size()) + ".";
}

std::string ScratchStemIn(const std::string& directory)
{
    return directory + ".ligamor-";
}

bool IsTemporaryOf(std::string_view path, std::string_view stem, std::string_view end)
{
    constexpr std::size_t kLetters = 6;
    return path.size() == stem.size() + kLetters + end.size() && path.substr(0, stem.size()) == stem &&
           path.substr(path.size() - end.size()) == end && UniqueLetters(path.substr(stem.size(), kLetters));
}

void SetReplaceStepHook(ReplaceStepHook hook)
{
    replaceStepHook.store(hook);
}

namespace detail {

void ReachedReplaceStep(ReplaceStep step)
{
    if (const ReplaceStepHook hook = replaceStepHook.load(std::memory_order_relaxed)) hook(step);
}

}  // namespace detail

}  // namespace ligamor
