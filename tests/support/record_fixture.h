#pragma once
// The database fixture with the record context of the transactions and the
// record processors.
#include "support/database_fixture.h"
#include "transactions/record_context.h"

namespace ligamor::test {

inline std::string Blanks(std::size_t n) { return std::string(n, ' '); }

// The plain message shown for a refused statement.
inline std::string CommandMessage(const std::string& statement)
{
    return Cp1252("Não foi possível executar o comando: ") + "\n\r" + statement;
}

class RecordTest : public DatabaseTest {
protected:
    RecordContext ctx{dtmain, messages, clock, RegionalSettings{}};
};

}  // namespace ligamor::test
