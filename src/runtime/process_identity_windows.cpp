#include <windows.h>

#include "runtime/process_identity.h"

namespace ligamor {

namespace {

std::string Utf8(const wchar_t* text, DWORD length)
{
    if (length == 0) return {};
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), out.data(), bytes, nullptr, nullptr);
    return out;
}

}  // namespace

ProcessIdentity ThisProcess()
{
    ProcessIdentity me;
    me.pid = static_cast<long long>(GetCurrentProcessId());
    wchar_t user[257] = {};
    DWORD userLength = 257;
    if (GetUserNameW(user, &userLength) && userLength > 0) me.user = Utf8(user, userLength - 1);
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD computerLength = MAX_COMPUTERNAME_LENGTH + 1;
    if (GetComputerNameW(computer, &computerLength)) me.computer = Utf8(computer, computerLength);
    return me;
}

}  // namespace ligamor
