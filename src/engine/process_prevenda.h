#pragma once
#include <string>

#include "engine/record_context.h"

namespace ligamor {

// One line of PREVENDA.TXT: every line goes to InsertPreVenda, whatever its
// operation, which only chooses the log title. Gives the line's log text.
std::string ProcessPreVendaLine(RecordContext& ctx, const std::string& line);

}  // namespace ligamor
