#include "engine/directories.h"

#include <cerrno>

#include "runtime/failures.h"
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

    std::string rest = path;
    if (rest.back() != '/') rest += '/';
    std::string built;
    while (!rest.empty()) {
        std::size_t slash = rest.find('/');
        built += rest.substr(0, slash);
        rest.erase(0, slash + 1);
        // An empty first level is the root; empty levels further on ("a//b")
        // name the level before them again.
        if (!built.empty() && !DirectoryExists(built)) {
            int code = MakeDirectory(built);
            if (code != 0 && !(code == EEXIST && DirectoryExists(built)))
                throw DirectoryFailure(DirectoryErrorMessage(path, code));
        }
        built += '/';
    }
}

}  // namespace ligamor
