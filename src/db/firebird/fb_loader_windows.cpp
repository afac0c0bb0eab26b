// The client library on Windows: LoadLibrary by file name, searched the
// system's way (the executable's folder, the system folders, PATH).
#include "db/firebird/fb_client.h"
#include "db/firebird/fb_loader.h"
#include "runtime/win32_support.h"

namespace ligamor {

std::vector<std::string> DefaultFbClientNames()
{
    return {"fbclient.dll", "gds32.dll"};
}

void* OpenLibrary(const std::string& name)
{
    // A client whose own dependencies are missing must fail here, not stop an
    // unattended program with a system dialog.
    DWORD previous = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous);
    const HMODULE library = LoadLibraryW(detail::Wide(name).c_str());
    SetThreadErrorMode(previous, nullptr);
    return reinterpret_cast<void*>(library);
}

void* FindLibrarySymbol(void* library, const char* symbol)
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), symbol));
}

}  // namespace ligamor
