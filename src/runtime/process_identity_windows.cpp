#include <windows.h>

#include "runtime/process_identity.h"
#include "runtime/win32_support.h"

namespace ligamor {

ProcessIdentity ThisProcess()
{
    ProcessIdentity me;
    me.pid = static_cast<long long>(GetCurrentProcessId());
    wchar_t user[257] = {};
    DWORD userLength = 257;
    if (GetUserNameW(user, &userLength) && userLength > 0)
        me.user = detail::Narrow(std::wstring(user, userLength - 1), CP_UTF8);
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD computerLength = MAX_COMPUTERNAME_LENGTH + 1;
    if (GetComputerNameW(computer, &computerLength))
        me.computer = detail::Narrow(std::wstring(computer, computerLength), CP_UTF8);
    return me;
}

}  // namespace ligamor
