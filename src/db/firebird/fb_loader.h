#pragma once
// Loading a shared library at run time: one implementation per platform.
#include <string>

namespace ligamor {

// The library, kept loaded for the rest of the process; nullptr when it does
// not load.
void* OpenLibrary(const std::string& name);

// The address of an entry point of a loaded library; nullptr when missing.
void* FindLibrarySymbol(void* library, const char* symbol);

}  // namespace ligamor
