#pragma once
// The working directories: created level by level where missing.
#include <string>

namespace ligamor {

// "Não foi possível criar o diretório \"<path>\". Código do erro: <code>."
// as Windows-1252 bytes.
std::string DirectoryErrorMessage(const std::string& path, int osCode);

// Tests each level of path from the first to the last and creates the missing
// ones; the root it begins with (PathRootLength) is never created. Raises DirectoryFailure for the whole path
// at the first level that cannot be created (the levels before it stay), and
// for an empty path.
void ForceDirectoryPath(const std::string& path);

}  // namespace ligamor
