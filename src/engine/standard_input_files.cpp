#include "engine/standard_input_files.h"

#include "engine/process_cliente.h"
#include "engine/process_item_prevenda.h"
#include "engine/process_prevenda.h"
#include "engine/process_produto.h"

namespace ligamor {

InputFileTable StandardInputFileTable(RecordContext& ctx)
{
    return MakeInputFileTable([&ctx](const std::string& line) { return ProcessClienteLine(ctx, line); },
                              [&ctx](const std::string& line) { return ProcessProdutoLine(ctx, line); },
                              [&ctx](const std::string& line) { return ProcessPreVendaLine(ctx, line); },
                              [&ctx](const std::string& line) { return ProcessItemPreVendaLine(ctx, line); });
}

}  // namespace ligamor
