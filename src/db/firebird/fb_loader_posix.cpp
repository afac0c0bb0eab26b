// The client library on POSIX systems: dlopen and dlsym.
#include <dlfcn.h>

#include "db/firebird/fb_client.h"
#include "db/firebird/fb_loader.h"

namespace ligamor {

std::vector<std::string> DefaultFbClientNames()
{
    return {"libfbclient.so.2", "libfbclient.so", "libgds.so"};
}

void* OpenLibrary(const std::string& name)
{
    // RTLD_GLOBAL: the client's own plugins (the embedded engine) expect its
    // symbols to be visible to them.
    return dlopen(name.c_str(), RTLD_NOW | RTLD_GLOBAL);
}

void* FindLibrarySymbol(void* library, const char* symbol)
{
    return dlsym(library, symbol);
}

}  // namespace ligamor
