#pragma once
// One customer into CLIENTE: the insert (which updates a customer already
// stored) and the update. A refused record shows its information box and
// raises SilentAbort; every other failure is raised.
#include <string>
#include <vector>

#include "transactions/record_context.h"
#include "transactions/records.h"

namespace ligamor {

void InsertCliente(RecordContext& ctx, const ClienteRecord& record);
void UpdateCliente(RecordContext& ctx, const ClienteRecord& record);
// For a block of lines of a file's transaction: which of these customers are
// stored, asked at once for the inserts to come.
void AskClientes(RecordContext& ctx, const std::vector<std::string>& codes);

}  // namespace ligamor
