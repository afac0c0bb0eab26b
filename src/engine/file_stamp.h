#pragma once
// The date-and-time stamp in the names of moved input files.
#include <string>

#include "runtime/clock.h"

namespace ligamor {

// Every occurrence of ch removed; any length.
std::string RemoveChar(const std::string& text, char ch);

// "ddmmyyyy_hhmmss" with "/", ":" and blanks removed from the regional date
// and time; another separator ("." or "-") stays between the digits. One
// clock reading gives both halves.
std::string FileStamp(const Clock& clock, const RegionalSettings& regional);

}  // namespace ligamor
