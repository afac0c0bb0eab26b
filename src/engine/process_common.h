#pragma once
// What the four record processors share beyond the line format.
#include <initializer_list>
#include <string>

#include "engine/log_text.h"
#include "engine/record_context.h"

namespace ligamor {

// The values joined by the separator.
std::string JoinValues(std::initializer_list<const std::string*> values, const std::string& separator);

// The line's log text for the operations "I" and "U"; the empty text for any
// other operation, so that such a line never repeats an earlier line's text.
std::string RecordLogText(const RecordContext& ctx, LogRecordKind kind, const std::string& operation,
                          const std::string& values);

}  // namespace ligamor
