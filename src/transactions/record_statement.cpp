#include "transactions/record_statement.h"

#include "db/sql_values.h"
#include "runtime/failures.h"
#include "runtime/text1252.h"

namespace ligamor {

void RefuseRecord(RecordContext& ctx, const char* utf8Text)
{
    // Undone before the box: no lock held while it shows.
    ctx.Work().Refuse();
    RecordRefused refused;
    refused.text = Cp1252(utf8Text);
    ctx.messages.InformationBox(refused.text);
    throw refused;
}

void ExecuteRecordStatement(RecordContext& ctx, const std::string& statement,
                            std::initializer_list<const std::string*> unquoted)
{
    if (const std::string* bad = FirstNotNumeric(unquoted)) {
        ctx.Work().Refuse();
        ctx.messages.PlainMessage(CommandFailedText(statement));
        throw NotNumeric(*bad);
    }
    ctx.Work().Execute(ctx.messages, statement);
}

}  // namespace ligamor
