#include "transactions/record_statement.h"

#include "db/sql_values.h"

namespace ligamor {

bool ExecuteRecordStatement(DataModule& dtmain, const std::string& statement,
                            std::initializer_list<const std::string*> unquoted)
{
    if (const std::string* bad = FirstNotNumeric(unquoted)) {
        dtmain.conmain.MessageSeam().PlainMessage(ExecuteCommandMessagePrefix() + "\n\r" + statement);
        throw NotNumeric(*bad);
    }
    return ExecuteCommand(dtmain.conmain, statement);
}

}  // namespace ligamor
