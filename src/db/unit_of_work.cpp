#include "db/unit_of_work.h"

namespace ligamor {

FbTransactionHandle& OwnCommitWork::ReadTransaction()
{
    return Attachment().DefaultTrans().Handle();
}

Written OwnCommitWork::Execute(Messages& messages, const std::string& statement)
{
    ExecuteCommand(Attachment(), messages, statement);
    return Written::Done;
}

Written OwnCommitWork::WriteLookup(const std::string& statement)
{
    // In trnMain with its auto-commit, as the lookups' own query objects run.
    Query insert(Attachment());
    insert.SetText(statement);
    insert.Execute();
    return Written::Done;
}

}  // namespace ligamor
