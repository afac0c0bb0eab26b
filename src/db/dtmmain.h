#pragma once
// The data module dtmain: the one connection conmain, its default transaction
// trnMain, ExecuteCommand and the query objects of the lookups.
#include <memory>
#include <string>
#include <vector>

#include "db/firebird/fb_client.h"
#include "runtime/messages.h"

namespace ligamor {

class Connection;

// trnMain: read committed, record versions, no wait, read-write, auto-commit.
class DefaultTransaction {
public:
    explicit DefaultTransaction(Connection& connection);
    ~DefaultTransaction();
    DefaultTransaction(const DefaultTransaction&) = delete;
    DefaultTransaction& operator=(const DefaultTransaction&) = delete;

    // The transaction handle, started on first use.
    FbTransactionHandle& Handle();
    // Auto-commit after a statement that changed data: commit-retaining, or a
    // full commit when the context is older than 120/88400 of a day.
    void AutoCommit();
    // Ends the context (rollback); used before the attachment goes away.
    void End();
    bool Active() const;

private:
    bool ContextTooOld() const;
    Connection& connection_;
    FbTransactionHandle handle_ = 0;
    double startedDays_ = 0;  // start of the context, in days, from a steady clock
};

// conmain.
class Connection {
public:
    explicit Connection(FbClientLoader& loader);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void SetDatabaseName(const std::string& name) { databaseName_ = name; }
    void SetUserName(const std::string& name) { userName_ = name; }
    void SetPassword(const std::string& password) { password_ = password; }
    const std::string& DatabaseName() const { return databaseName_; }

    // Loads the client library when needed and attaches with the DPB. A
    // database whose default character set is multi-byte is attached again
    // with the connection character set WIN1252 (database_charset.h).
    void Connect();
    // Detaches when connected; otherwise nothing.
    void Disconnect();
    bool Connected() const { return db_ != 0; }

    // The database's SQL dialect (isc_info_db_sql_dialect; 0 counts as 1),
    // asked once per attachment; 3 while not attached.
    int Dialect();

    FbApi& Api();
    FbDatabaseHandle& Handle() { return db_; }
    DefaultTransaction& DefaultTrans() { return trnMain_; }

private:
    void Attach(const std::string& charset);
    FbClientLoader& loader_;
    std::string databaseName_;
    std::string userName_ = "SYSDBA";
    std::string password_;
    FbDatabaseHandle db_ = 0;
    int dialect_ = 0;
    DefaultTransaction trnMain_;
};

// The data module: created once at start-up, passed down by reference.
struct DataModule {
    explicit DataModule(FbClientLoader& loader) : conmain(loader) {}
    Connection conmain;
    DefaultTransaction& trnMain() { return conmain.DefaultTrans(); }
};

// "LOCAL" (exactly) gives the path alone; otherwise server + ":" + path.
std::string ComposeDatabaseName(const std::string& server, const std::string& path);

// Disconnect, set name, user and password, connect. A failure leaves conmain
// disconnected and is raised.
void ConnectDatabase(DataModule& dtmain, const std::string& databaseName, const std::string& userName,
                     const std::string& password);

// Runs one data-changing statement in a transaction of its own and commits it.
// On failure: rollback-retaining, the plain message CommandFailedText, and the
// same failure raised again.
void ExecuteCommand(Connection& connection, Messages& messages, const std::string& statement);

// "Não foi possível executar o comando: " LF CR and the statement, as
// Windows-1252 bytes: the plain message of a refused statement.
std::string CommandFailedText(const std::string& statement);

// A statement on conmain in trnMain, or in a transaction given, freed on every
// path by its destructor.
class Query {
public:
    explicit Query(Connection& connection);
    // Runs in this transaction; nothing is committed here.
    Query(Connection& connection, FbTransactionHandle& transaction);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    // The statement text as lines, joined with line breaks when prepared.
    std::vector<std::string>& Lines() { return lines_; }
    void SetText(const std::string& oneLine) { lines_ = {oneLine}; }

    // Prepare, execute, fetch the first row. Opening an open query does nothing.
    void Open();
    bool IsEmpty() const;
    // First column of the current row: NULL or no row give "" and 0.
    std::string FirstAsText() const;
    long long FirstAsInteger() const;
    // The next row of an open select; false past the last one.
    bool NextRow();
    // A column of the current row as text; NULL gives "".
    std::string Text(int column) const;
    // Prepare and execute a statement without rows; auto-commit in trnMain.
    void Execute();
    void Close();

private:
    struct State;
    // A new statement prepared and executed in trnMain.
    void PrepareAndExecute();
    FbTransactionHandle& Transaction();
    void AfterWrite();
    Connection& connection_;
    FbTransactionHandle* transaction_ = nullptr;  // none: trnMain
    std::vector<std::string> lines_;
    std::unique_ptr<State> state_;
};

// A query object on conmain with the statement as one line, opened.
std::unique_ptr<Query> OpenQuery(DataModule& dtmain, const std::string& statement);

}  // namespace ligamor
