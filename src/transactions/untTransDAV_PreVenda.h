#pragma once
// Pre-sale headers into PEDIDOCOMPRACLIENTE and their items into
// ITPEDIDOCOMPRACLIENTE. Only ever inserted: a header or item already stored
// is left alone. Failures are raised.
#include <string>
#include <utility>
#include <vector>

#include "transactions/record_context.h"
#include "transactions/records.h"

namespace ligamor {

// The dates are read in the regional short date format.
void InsertPreVenda(RecordContext& ctx, const PreVendaRecord& record);

// Refuses an item with an empty field (information box, then SilentAbort).
void InsertItemPreVenda(RecordContext& ctx, const ItemPreVendaRecord& record);
// For a block of lines of a file's transaction: which of these pre-sales, and
// of these items (pre-sale, item), are stored, asked at once.
void AskPreVendas(RecordContext& ctx, const std::vector<std::string>& codes);
void AskItensPreVenda(RecordContext& ctx, const std::vector<std::pair<std::string, std::string>>& items);

}  // namespace ligamor
