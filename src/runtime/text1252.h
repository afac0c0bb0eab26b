#pragma once
// The core keeps every text as Windows-1252 bytes, as the shop's files and the
// database hold them. Literals in the sources are UTF-8; these turn them into
// the single bytes that reach files, statements and message seams.
#include <string>
#include <string_view>

namespace ligamor {

// UTF-8 to Windows-1252. Characters without a Windows-1252 byte become "?".
std::string Cp1252(std::string_view utf8);

// A text in the system's encoding, as paths from the settings and the
// system's error descriptions are, for a message: characters become their
// Windows-1252 bytes, those without one "?". On Linux the encoding is the
// locale's (UTF-8), and bytes that are not UTF-8 stay as they are (a path kept
// in Windows-1252 shows as typed); on Windows it is the ANSI code page.
std::string Cp1252FromLocal(std::string_view path);

// A text in the system's encoding (a path) as UTF-8, for a console: on Linux
// as it is, on Windows from the ANSI code page.
std::string Utf8FromLocal(std::string_view text);

namespace detail {
// UTF-8 to Windows-1252; bytes that are not UTF-8 are kept when keepOtherBytes,
// else "?".
std::string FromUtf8(std::string_view utf8, bool keepOtherBytes);
}  // namespace detail

// Windows-1252 bytes as UTF-8, for a console or a journal; the five bytes
// without a character become U+FFFD.
std::string Utf8FromCp1252(std::string_view bytes);

// A text meant to be UTF-8 made sure to be: well-formed sequences stay, every
// other byte is taken as Windows-1252 (the code page a shop's paths and old
// files are in), so a reader that insists on UTF-8 never refuses it.
std::string Utf8Repaired(std::string_view text);

// Windows-1252 bytes as UTF-16, one unit per byte, for a window that draws
// them; the five bytes without a character become U+FFFD.
std::u16string Utf16FromCp1252(std::string_view bytes);

}  // namespace ligamor
