#include <windows.h>

#include <atomic>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "support/temp_dir.h"

namespace ligamor::test {

TempDir::TempDir(const std::string& parent)
{
    static std::atomic<unsigned> counter{0};
    std::string base = parent;
    if (base.empty()) {
        char temp[MAX_PATH + 1] = {};
        if (GetTempPathA(sizeof temp, temp) == 0) throw std::runtime_error("GetTempPath failed");
        base = temp;
    }
    for (;;) {
        const std::string path =
            base + "ligamor-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
        if (CreateDirectoryA(path.c_str(), nullptr)) {
            path_ = path + "\\";
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("CreateDirectory failed");
    }
}

TempDir::~TempDir()
{
    // The path is in the ANSI code page; std::filesystem takes it as UTF-16.
    std::wstring wide(path_.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, path_.data(), static_cast<int>(path_.size()),
                                                             wide.data(), static_cast<int>(wide.size()))));
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::path(wide), ec);
}

}  // namespace ligamor::test
