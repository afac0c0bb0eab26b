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

std::string InOneLine(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '\r' || c == '\n') c = ' ';
        if (!(c == ' ' && !out.empty() && out.back() == ' ')) out += c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

bool IsBlank(std::string_view text)
{
    for (char c : text)
        if (!IsBlankChar(c)) return false;
    return true;
}

}  // namespace ligamor
