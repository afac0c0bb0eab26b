#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "support/temp_dir.h"

namespace ligamor::test {

TempDir::TempDir(const std::string& parent)
{
    std::string pattern = (parent.empty() ? "/tmp/" : parent) + "ligamor-test-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    // The loopback server opens databases here as user firebird.
    std::filesystem::permissions(pattern, std::filesystem::perms::all);
    path_ = pattern + "/";
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

}  // namespace ligamor::test
