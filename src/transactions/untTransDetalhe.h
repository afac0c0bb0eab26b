#pragma once
// One product into DETALHE: the insert (which updates a product already
// stored) and the update. Neither refuses a record; failures are raised.
#include <string>
#include <vector>

#include "transactions/record_context.h"
#include "transactions/records.h"

namespace ligamor {

void InsertDetalhe(RecordContext& ctx, const DetalheRecord& record);
void UpdateDetalhe(RecordContext& ctx, const DetalheRecord& record);
// For a block of lines of a file's transaction: which of these products are
// stored, asked at once for the inserts to come.
void AskDetalhes(RecordContext& ctx, const std::vector<std::string>& codes);

}  // namespace ligamor
