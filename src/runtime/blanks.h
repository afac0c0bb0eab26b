#pragma once
// Trimming as the shop's tools do it: blanks and control characters at either
// end go, everything between stays.
#include <string>
#include <string_view>

namespace ligamor {

std::string TrimBlanks(std::string_view text);

// The text's line ends as blanks, each run of blanks as one, none at its end:
// a message of several lines told in one.
std::string InOneLine(std::string_view text);

// True when nothing but blanks (or nothing at all) is left after trimming.
bool IsBlank(std::string_view text);

}  // namespace ligamor
