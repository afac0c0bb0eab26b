#pragma once
// The one log text a record processor composes for each line.
#include <string>

#include "engine/record_kinds.h"
#include "runtime/clock.h"

namespace ligamor {

enum class LogOperation { Insert, Update };

// Seven blanks: after the time, and once more inside the values of three files.
inline constexpr const char* kLogFieldGap = "       ";

// The exact title of a file and operation, as Windows-1252 bytes
// (" INSERÇÃO - PRODUTO -  Data: ", ...).
std::string LogTitle(RecordKindId kind, LogOperation operation);

// title + "dd/mm/yyyy" + " Hora: " + "hh:mm:ss" + field gap + values, with
// the regional separators. Date and time come from one clock reading, so a
// text composed at midnight never pairs one day's date with the next day's time.
std::string ComposeLogText(const std::string& title, const Clock& clock, const RegionalSettings& regional,
                           const std::string& values);

}  // namespace ligamor
