#pragma once
// One product into DETALHE: the insert (which updates a product already
// stored) and the update. Neither refuses a record; failures are raised.
#include <string>

#include "transactions/record_context.h"
#include "transactions/records.h"

namespace ligamor {

void InsertDetalhe(RecordContext& ctx, const DetalheRecord& record);
void UpdateDetalhe(RecordContext& ctx, const DetalheRecord& record);

}  // namespace ligamor
