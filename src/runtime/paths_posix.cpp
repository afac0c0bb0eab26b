#include "runtime/paths.h"

#include <filesystem>

namespace ligamor {

const bool kFileNamesIgnoreLetterCase = false;
const char kPathSeparator = '/';

std::size_t PathRootLength(const std::string& path)
{
    return !path.empty() && path[0] == '/' ? 1 : 0;
}

std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

std::string AbsolutePath(const std::string& path)
{
    return std::filesystem::absolute(path).string();
}

}  // namespace ligamor
