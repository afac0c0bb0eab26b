#pragma once
// The four record processors: each splits one line of its file, composes the
// line's log text and hands the record to its transaction. Each gives the
// line's log text; "I" and "U" choose the log title.
#include <string>

#include "engine/input_file_table.h"
#include "transactions/record_context.h"

namespace ligamor {

// One line of CLIENTE.TXT: "I" inserts (or updates a stored customer), "U"
// updates, any other operation writes nothing.
std::string ProcessClienteLine(RecordContext& ctx, const std::string& line);

// One line of PRODUTO.TXT: "I" inserts (or updates a stored product), "U"
// updates, any other operation writes nothing.
std::string ProcessProdutoLine(RecordContext& ctx, const std::string& line);

// One line of PREVENDA.TXT: every line goes to InsertPreVenda, whatever its
// operation.
std::string ProcessPreVendaLine(RecordContext& ctx, const std::string& line);

// One line of ITEMPREVENDA.TXT: every line goes to InsertItemPreVenda,
// whatever its operation.
std::string ProcessItemPreVendaLine(RecordContext& ctx, const std::string& line);

// The input file table the program runs with: the four processors bound to
// one record context, which must outlive the table.
InputFileTable StandardInputFileTable(RecordContext& ctx);

}  // namespace ligamor
