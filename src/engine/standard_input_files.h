#pragma once
// The input file table the program runs with: the four record processors
// bound to one record context, which must outlive the table.
#include "engine/input_file_table.h"
#include "engine/record_context.h"

namespace ligamor {

InputFileTable StandardInputFileTable(RecordContext& ctx);

}  // namespace ligamor
