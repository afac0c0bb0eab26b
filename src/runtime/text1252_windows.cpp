#include "runtime/text1252.h"

#include "runtime/win32_support.h"

namespace ligamor {

std::string Cp1252FromLocal(std::string_view path)
{
    // From the ANSI code page through UTF-16; on a Windows set up for
    // Portuguese the code page is 1252 already and every byte stays.
    return detail::Narrow(detail::Wide(std::string(path)), 1252);
}

std::string Utf8FromLocal(std::string_view text)
{
    return detail::Narrow(detail::Wide(std::string(text)), CP_UTF8);
}

}  // namespace ligamor
