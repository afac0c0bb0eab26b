#pragma once
// Pre-sale headers into PEDIDOCOMPRACLIENTE and their items into
// ITPEDIDOCOMPRACLIENTE. Only ever inserted: a header or item already stored
// is left alone. Failures are raised.
#include <string>

#include "transactions/record_context.h"
#include "transactions/records.h"

namespace ligamor {

// The dates are read in the regional short date format.
void InsertPreVenda(RecordContext& ctx, const PreVendaRecord& record);

// Refuses an item with an empty field (information box, then SilentAbort).
void InsertItemPreVenda(RecordContext& ctx, const ItemPreVendaRecord& record);

}  // namespace ligamor
