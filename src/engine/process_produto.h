#pragma once
#include <string>

#include "engine/record_context.h"

namespace ligamor {

// One line of PRODUTO.TXT: "I" inserts (or updates a stored product), "U"
// updates, any other operation writes nothing. Gives the line's log text.
std::string ProcessProdutoLine(RecordContext& ctx, const std::string& line);

}  // namespace ligamor
