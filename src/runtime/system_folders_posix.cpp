#include "runtime/system_folders.h"

#include <array>

namespace ligamor {

bool IsSystemProgramFolder(const std::string& directory)
{
    // The folders the system's packages own; /opt and /usr/local's siblings
    // elsewhere are where a copy of its own is unpacked, and it keeps its
    // settings beside it.
    constexpr std::array<const char*, 3> kRoots = {"/usr/", "/bin/", "/sbin/"};
    for (const char* root : kRoots)
        if (directory.rfind(root, 0) == 0) return true;
    return false;
}

std::string SharedSettingsDirectory()
{
    return "/etc/ligamor/";
}

}  // namespace ligamor
