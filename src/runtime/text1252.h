#pragma once
// The core keeps every text as Windows-1252 bytes, as the shop's files and the
// database hold them. Literals in the sources are UTF-8; these turn them into
// the single bytes that reach files, statements and message seams.
#include <string>
#include <string_view>

namespace ligamor {

// UTF-8 to Windows-1252. Characters without a Windows-1252 byte become "?".
std::string Cp1252(std::string_view utf8);

}  // namespace ligamor
