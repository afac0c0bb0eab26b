#pragma once
#include <string>

#include "engine/record_context.h"

namespace ligamor {

// One line of CLIENTE.TXT: "I" inserts (or updates a stored customer), "U"
// updates, any other operation writes nothing. Gives the line's log text.
std::string ProcessClienteLine(RecordContext& ctx, const std::string& line);

}  // namespace ligamor
