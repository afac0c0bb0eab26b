#include "runtime/paths.h"

#include <cctype>

#include "runtime/win32_support.h"

namespace ligamor {

const bool kFileNamesIgnoreLetterCase = true;
const char kPathSeparator = '\\';

std::size_t PathRootLength(const std::string& path)
{
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        // \\server\share\ : the server and its share are the root.
        const std::size_t server = path.find('\\', 2);
        if (server == std::string::npos) return path.size();
        const std::size_t share = path.find('\\', server + 1);
        return share == std::string::npos ? path.size() : share + 1;
    }
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0])))
        return path.size() >= 3 && path[2] == '\\' ? 3 : 2;
    return !path.empty() && path[0] == '\\' ? 1 : 0;
}

std::string DirectoryOf(const std::string& path)
{
    // The Windows APIs take "/" as well as "\".
    const std::size_t separator = path.find_last_of("\\/");
    if (separator != std::string::npos) return path.substr(0, separator + 1);
    const std::size_t root = PathRootLength(path);
    return root > 0 ? path.substr(0, root) : ".\\";
}

std::string AbsolutePath(const std::string& path)
{
    const std::wstring wide = detail::Wide(path);
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (n == 0) return path;  // a name the system cannot take; opening it will say so
        if (n < full.size()) {
            full.resize(n);
            return detail::Narrow(full);
        }
        full.resize(n);
    }
}

}  // namespace ligamor
