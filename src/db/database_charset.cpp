#include "db/database_charset.h"

#include "db/firebird/fb_handles.h"
#include "db/firebird/fb_values.h"

namespace ligamor {

int DefaultCharsetBytesPerCharacter(FbApi& api, FbDatabaseHandle& db, int dialect)
{
    FbTransaction transaction(api, db);
    transaction.Start();
    FbStatement statement(api, db);
    statement.Prepare(transaction.Handle(),
                      "SELECT CS.RDB$BYTES_PER_CHARACTER FROM RDB$DATABASE D JOIN RDB$CHARACTER_SETS CS"
                      " ON CS.RDB$CHARACTER_SET_NAME = D.RDB$CHARACTER_SET_NAME",
                      dialect);
    statement.Execute(transaction.Handle());
    const bool found = statement.Fetch();
    const long long bytes = found ? FbColumnInteger(statement.Column(0)) : 1;
    statement.Free();
    transaction.End(FbEnd::Commit);
    return bytes > 1 ? static_cast<int>(bytes) : 1;
}

}  // namespace ligamor
