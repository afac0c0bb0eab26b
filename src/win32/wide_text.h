#pragma once
// The window's side of the texts: the core's Windows-1252 bytes, the sources'
// UTF-8 literals and the ANSI code page's paths, each turned into the UTF-16
// that the wide Windows APIs draw, and typed UTF-16 back into the ANSI code
// page that the settings file keeps.
#include <cstddef>
#include <string>
#include <string_view>

namespace ligamor {

std::wstring WideFromCp1252(std::string_view bytes);
std::wstring WideFromUtf8(std::string_view utf8);
std::wstring WideFromLocal(std::string_view text);
std::string LocalFromWide(std::wstring_view text);

}  // namespace ligamor
