#include "runtime/system_folders.h"

#include <shlobj.h>

#include "runtime/win32_support.h"

namespace ligamor {

namespace {

// A shell folder with its trailing "\"; empty when the system has none (no
// 32-bit Program Files on a 32-bit Windows).
std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) || path[0] == L'\0') return {};
    std::wstring folder(path);
    if (folder.back() != L'\\') folder += L'\\';
    return folder;
}

}  // namespace

bool IsSystemProgramFolder(const std::string& directory)
{
    const std::wstring wide = detail::Wide(directory);
    for (const int csidl : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86}) {
        const std::wstring root = ShellFolder(csidl);
        // Paths compare without regard to case, as the file system does.
        if (!root.empty() && wide.size() >= root.size() &&
            CompareStringOrdinal(wide.data(), static_cast<int>(root.size()), root.data(),
                                 static_cast<int>(root.size()), TRUE) == CSTR_EQUAL)
            return true;
    }
    return false;
}

std::string SharedSettingsDirectory()
{
    return detail::Narrow(ShellFolder(CSIDL_COMMON_APPDATA)) + "Ligamor\\";
}

}  // namespace ligamor
