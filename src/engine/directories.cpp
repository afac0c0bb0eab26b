#include "engine/directories.h"

#include <cerrno>

#include "runtime/failures.h"
#include "runtime/paths.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"

namespace ligamor {

std::string DirectoryErrorMessage(const std::string& path, int osCode)
{
    return Cp1252("Não foi possível criar o diretório ") + '"' + Cp1252FromLocal(path) + '"' +
           Cp1252(". Código do erro: ") + std::to_string(osCode) + ".";
}

void ForceDirectoryPath(const std::string& path)
{
    // An empty value would glue file names to nothing and put the files in
    // the working directory of the moment: refuse it like mkdir("") does.
    if (path.empty()) throw DirectoryFailure(DirectoryErrorMessage(path, ENOENT));

    // The root ("/", "C:\", "\\server\share\") is never created; a missing
    // one fails like the first level below it would.
    const std::size_t root = PathRootLength(path);
    std::string built = path.substr(0, root);
    if (!built.empty() && !DirectoryExists(built)) {
        const int code = MakeDirectory(built);
        if (code != 0) throw DirectoryFailure(DirectoryErrorMessage(path, code));
    }
    std::string rest = path.substr(root);
    if (!rest.empty() && rest.back() != kPathSeparator) rest += kPathSeparator;
    while (!rest.empty()) {
        std::size_t separator = rest.find(kPathSeparator);
        built += rest.substr(0, separator);
        rest.erase(0, separator + 1);
        // Empty levels ("a//b") name the level before them again.
        if (!built.empty() && !DirectoryExists(built)) {
            int code = MakeDirectory(built);
            // Made meanwhile by someone else counts as made.
            if (code != 0 && !DirectoryExists(built)) throw DirectoryFailure(DirectoryErrorMessage(path, code));
        }
        built += kPathSeparator;
    }
}

}  // namespace ligamor
