#include "engine/input_file_table.h"

#include <utility>

namespace ligamor {

InputFileTable MakeInputFileTable(RecordProcessor cliente, RecordProcessor produto, RecordProcessor prevenda,
                                  RecordProcessor itemPrevenda)
{
    return {{
        {"CLIENTE.TXT", std::move(cliente), "CLIENTE_"},
        {"PRODUTO.TXT", std::move(produto), "PRODUTO_"},
        {"PREVENDA.TXT", std::move(prevenda), "PREVENDA"},
        {"ITEMPREVENDA.TXT", std::move(itemPrevenda), "ITEMPREVENDA"},
    }};
}

}  // namespace ligamor
