#pragma once
// The existence tests, the value reader and the code lookups that the record
// transactions run before they build their statements. Each call opens its
// own query objects in the transaction its unit of work reads in, and frees
// them on every path.
#include <string>
#include <utility>
#include <vector>

#include "db/unit_of_work.h"

namespace ligamor {

// Values written without quotes must be numeric literals (else NotNumeric is
// raised before the statement runs); values between quotes have their quotes
// doubled.

bool RecordExists(UnitOfWork& work, const std::string& table, const std::string& keyColumn,
                  const std::string& value);
bool RecordExistsByPair(UnitOfWork& work, const std::string& table, const std::string& firstColumn,
                        const std::string& secondColumn, const std::string& firstValue,
                        const std::string& secondValue);
// Text of the first column of the first row of a complete statement; the
// caller checks the values it pasted in (Numeric). In a file's transaction the
// answer is remembered for the file: its callers read records their file
// never writes.
std::string SelectValue(UnitOfWork& work, const std::string& statement);

// In a file's transaction, for a block of lines that name each record once:
// which of these records exist, asked at once, so that RecordExists and
// RecordExistsByPair answer the block's lines without asking each. Values that
// are not whole numbers are left for RecordExists to ask. Outside a file's
// transaction: nothing.
void AskExistence(UnitOfWork& work, const std::string& table, const std::string& keyColumn,
                  const std::vector<std::string>& values);
// By the first value: every pair stored under the first values is read.
void AskExistenceByPair(UnitOfWork& work, const std::string& table, const std::string& firstColumn,
                        const std::string& secondColumn,
                        const std::vector<std::pair<std::string, std::string>>& values);

// Text of the first column, empty when no row.
std::string LookupUfBySigla(UnitOfWork& work, const std::string& value);
std::string LookupUnidadeByCode(UnitOfWork& work, const std::string& value);
std::string LookupAliquotaByCode(UnitOfWork& work, const std::string& value);

// Integer of the first column, 0 when no row.
long long FindUfCode(UnitOfWork& work, const std::string& value);
long long FindAliquotaCode(UnitOfWork& work, const std::string& value);
// The unit with this short name; a missing one is created with the highest
// code plus one (0 on an empty table) and "MASTER" in its audit columns.
long long FindOrCreateUnidade(UnitOfWork& work, const std::string& shortName);

}  // namespace ligamor
