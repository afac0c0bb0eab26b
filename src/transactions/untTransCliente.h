#pragma once
// One customer into CLIENTE: the insert (which updates a customer already
// stored) and the update. A refused record shows its information box and
// raises SilentAbort; every other failure is raised.
#include <string>

#include "transactions/record_context.h"
#include "transactions/records.h"

namespace ligamor {

void InsertCliente(RecordContext& ctx, const ClienteRecord& record);
void UpdateCliente(RecordContext& ctx, const ClienteRecord& record);

}  // namespace ligamor
