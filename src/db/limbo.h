#pragma once
// Transactions prepared (the first phase of a two-phase commit) and never
// ended: after a kill they wait in the database, their rows locked, until
// someone commits or rolls them back.
#include <vector>

#include "db/dtmmain.h"

namespace ligamor {

// The numbers of the database's transactions in limbo.
std::vector<long long> LimboTransactions(Connection& connection);

// Commits (or rolls back) the transaction in limbo of that number.
void EndLimboTransaction(Connection& connection, long long number, bool commit);

}  // namespace ligamor
