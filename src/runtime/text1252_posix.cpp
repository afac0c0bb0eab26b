#include "runtime/text1252.h"

namespace ligamor {

std::string Cp1252FromLocal(std::string_view path)
{
    return detail::FromUtf8(path, true);
}

std::string Utf8FromLocal(std::string_view text)
{
    return std::string(text);
}

}  // namespace ligamor
