#pragma once
// What the service says about the date order it reads the input files with:
// the settings file's, or, where that does not tell the shop's, a warning.
#include <string>

#include "config/date_format.h"
#include "service/console_messages.h"

namespace ligamor {

struct Notice {
    Severity severity;
    std::string utf8Text;
};

// regional: the settings in effect; dateFormat: the file's FORMATO_DATA
// value (system code page), when it has one.
Notice DateRuleNotice(DateRuleSource source, const RegionalSettings& regional, const std::string& dateFormat);

}  // namespace ligamor
