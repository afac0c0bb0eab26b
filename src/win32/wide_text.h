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

// "4.500": the point groups thousands, as the shop reads numbers.
std::string GroupThousands(std::size_t n);

// "PRODUTO.TXT: 4.500 de 20.000 linhas"
std::wstring ProgressText(const std::string& fileName, std::size_t done, std::size_t total);

}  // namespace ligamor
