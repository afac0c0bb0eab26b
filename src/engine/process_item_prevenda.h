#pragma once
#include <string>

#include "engine/record_context.h"

namespace ligamor {

// One line of ITEMPREVENDA.TXT: every line goes to InsertItemPreVenda,
// whatever its operation, which only chooses the log title. Gives the line's
// log text.
std::string ProcessItemPreVendaLine(RecordContext& ctx, const std::string& line);

}  // namespace ligamor
