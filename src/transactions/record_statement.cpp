#include "transactions/record_statement.h"

#include "db/sql_values.h"
#include "runtime/failures.h"
#include "runtime/text1252.h"

namespace ligamor {

void RefuseRecord(RecordContext& ctx, const char* utf8Text)
{
    // A file's transaction ends before the box: no lock held while it shows.
    ctx.dtmain.conmain.RollbackFileTransaction();
    RecordRefused refused;
    refused.text = Cp1252(utf8Text);
    ctx.messages.InformationBox(refused.text);
    throw refused;
}

void ExecuteRecordStatement(RecordContext& ctx, const std::string& statement,
                            std::initializer_list<const std::string*> unquoted)
{
    if (const std::string* bad = FirstNotNumeric(unquoted)) {
        ctx.dtmain.conmain.RollbackFileTransaction();
        ctx.messages.PlainMessage(CommandFailedText(statement));
        throw NotNumeric(*bad);
    }
    ExecuteCommand(ctx.dtmain.conmain, ctx.messages, statement);
}

}  // namespace ligamor
