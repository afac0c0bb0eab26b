// ExecuteCommand: one data-changing statement as its own unit of work.
#include "db/dtmmain.h"
#include "db/firebird/fb_handles.h"
#include "runtime/text1252.h"

namespace ligamor {

std::string CommandFailedText(const std::string& statement)
{
    // LF before CR: the message has always been laid out this way.
    return Cp1252("Não foi possível executar o comando: ") + "\n\r" + statement;
}

void ExecuteCommand(Connection& connection, Messages& messages, const std::string& statement)
{
    FbApi& api = connection.Api();
    // Declared in this order so that, on every path, the statement is freed
    // first and the transaction's context is then ended with a rollback.
    FbTransaction transaction(api, connection.Handle());
    FbStatement command(api, connection.Handle());
    try {
        transaction.Start();
        command.Prepare(transaction.Handle(), statement, connection.Dialect());
        command.Execute(transaction.Handle());
        transaction.End(FbEnd::CommitRetaining);
    } catch (...) {
        // A transaction that never started has nothing to undo. A failed
        // rollback leaves here with its own failure and no message.
        if (transaction.Active()) transaction.End(FbEnd::RollbackRetaining);
        messages.PlainMessage(CommandFailedText(statement));
        throw;
    }
}

}  // namespace ligamor
