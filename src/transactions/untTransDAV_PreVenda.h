#pragma once
// Pre-sale headers into PEDIDOCOMPRACLIENTE and their items into
// ITPEDIDOCOMPRACLIENTE. Only ever inserted: a header or item already stored
// is left alone. Both return true; failures are raised.
#include <string>

#include "transactions/record_context.h"

namespace ligamor {

// DTEMISSAO and DTPREVENTREGA are read in the regional short date format.
bool InsertPreVenda(RecordContext& ctx, const std::string& CDPEDIDOCOMPRACLIENTE, const std::string& NUDAV,
                    const std::string& NUPREVENDA, const std::string& CDCLIENTE, const std::string& Spare5,
                    const std::string& Spare6, const std::string& DTEMISSAO, const std::string& DTPREVENTREGA,
                    const std::string& VLTOTAL);

// Refuses an item with an empty field (information box, then SilentAbort).
bool InsertItemPreVenda(RecordContext& ctx, const std::string& CDPEDIDOCOMPRACLIENTE,
                        const std::string& NUITPEDIDOCOMPRACLIENTE, const std::string& CDDETALHE,
                        const std::string& QTITEM, const std::string& VLUNITARIO, const std::string& VLTOTAL);

}  // namespace ligamor
