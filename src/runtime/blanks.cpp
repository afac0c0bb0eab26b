#include "runtime/blanks.h"

namespace ligamor {

namespace {

bool IsBlankChar(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

std::string TrimBlanks(std::string_view text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlankChar(text[first])) ++first;
    while (last > first && IsBlankChar(text[last - 1])) --last;
    return std::string(text.substr(first, last - first));
}

bool IsBlank(std::string_view text)
{
    for (char c : text)
        if (!IsBlankChar(c)) return false;
    return true;
}

}  // namespace ligamor
