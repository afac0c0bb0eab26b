// Conversions shared by the Windows files of the runtime.
#include "runtime/win32_support.h"

#include "runtime/clock.h"

namespace ligamor::detail {

std::wstring Wide(const std::string& ansi, UINT codePage)
{
    if (ansi.empty()) return {};
    const int length = static_cast<int>(ansi.size());
    const int n = MultiByteToWideChar(codePage, 0, ansi.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, ansi.data(), length, wide.data(), n);
    return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage)
{
    if (wide.empty()) return {};
    const int length = static_cast<int>(wide.size());
    // UTF-8 has every character and takes no default.
    const char* unknown = codePage == CP_UTF8 ? nullptr : "?";
    const int n = WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, unknown, nullptr);
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), length, bytes.data(), n, unknown, nullptr);
    return bytes;
}

long long UnixNsFromFileTime(long long ticksSince1601)
{
    // Whole seconds first: a file dated after 2262 stays within 64 bits.
    constexpr long long kSecondsFrom1601To1970 = 11644473600LL;
    return NsSince1970(ticksSince1601 / 10'000'000 - kSecondsFrom1601To1970, ticksSince1601 % 10'000'000 * 100);
}

namespace {

long long Ticks(const FILETIME& t)
{
    return static_cast<long long>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
}

}  // namespace

bool IdentityOfHandle(HANDLE handle, FileIdentity& out)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) return false;
    // The change time moves with every write and every rename, like ctime on
    // Linux; the last write time alone can be set back by the writer.
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)) return false;
    out.device = info.dwVolumeSerialNumber;
    out.inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    out.size = static_cast<std::int64_t>((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    out.mtimeNs = UnixNsFromFileTime(Ticks(info.ftLastWriteTime));
    out.ctimeNs = UnixNsFromFileTime(basic.ChangeTime.QuadPart);
    return true;
}

std::string SystemErrorText(DWORD code)
{
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring description = n && text ? std::wstring(text, n) : L"Error " + std::to_wstring(code);
    if (text) LocalFree(text);
    while (!description.empty() && (description.back() == L'\n' || description.back() == L'\r' ||
                                    description.back() == L' ' || description.back() == L'.'))
        description.pop_back();
    return Narrow(description);
}

HANDLE CreateUniqueFile(const std::string& stem, const std::string& suffix, SECURITY_ATTRIBUTES* security,
                        std::string& name, DWORD access, DWORD flags)
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned long long seed = GetTickCount64() ^ (static_cast<unsigned long long>(GetCurrentProcessId()) << 32) ^
                              reinterpret_cast<std::uintptr_t>(&name);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string letters;
        for (int i = 0; i < 6; ++i) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            letters += kLetters[(seed >> 33) % (sizeof kLetters - 1)];
        }
        name = stem + letters + suffix;
        const HANDLE handle = CreateFileW(Wide(name).c_str(), access, 0, security, CREATE_NEW, flags, nullptr);
        if (handle != INVALID_HANDLE_VALUE) return handle;
        const DWORD err = GetLastError();
        if (err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS) return INVALID_HANDLE_VALUE;
    }
    SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

}  // namespace ligamor::detail
