#pragma once
// One owner per handle of the client library. Destructors never throw: a
// transaction still open rolls back, a statement is freed with DSQL_drop.
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "db/firebird/fb_client.h"

namespace ligamor {

// Starts a transaction with TransactionParameters(); the handle must be 0.
void FbStartTransaction(FbApi& api, FbDatabaseHandle& db, FbTransactionHandle& tr);

// The retaining ends keep the transaction's context and handle; the others
// end it and reset the handle to 0.
enum class FbEnd { Commit, CommitRetaining, Rollback, RollbackRetaining };
void FbEndTransaction(FbApi& api, FbTransactionHandle& tr, FbEnd end);
// Rolls back when active and resets the handle, whatever the library answers.
void FbRollbackQuietly(FbApi& api, FbTransactionHandle& tr) noexcept;

class FbTransaction {
public:
    FbTransaction(FbApi& api, FbDatabaseHandle& db) : api_(api), db_(db) {}
    ~FbTransaction() { FbRollbackQuietly(api_, handle_); }
    FbTransaction(const FbTransaction&) = delete;
    FbTransaction& operator=(const FbTransaction&) = delete;

    void Start() { FbStartTransaction(api_, db_, handle_); }
    void End(FbEnd end) { FbEndTransaction(api_, handle_, end); }
    bool Active() const { return handle_ != 0; }
    FbTransactionHandle& Handle() { return handle_; }

private:
    FbApi& api_;
    FbDatabaseHandle& db_;
    FbTransactionHandle handle_ = 0;
};

// A DSQL statement with its output descriptor and row buffers.
class FbStatement {
public:
    FbStatement(FbApi& api, FbDatabaseHandle& db) : api_(api), db_(db) {}
    ~FbStatement() { Free(); }
    FbStatement(const FbStatement&) = delete;
    FbStatement& operator=(const FbStatement&) = delete;

    // Allocates (once), prepares in the given dialect and describes the columns.
    void Prepare(FbTransactionHandle& tr, const std::string& sql, int dialect);
    bool IsSelect() const;
    // Executes once; a select opens its cursor, a procedure with outputs
    // gives its one row at once (HasRow).
    void Execute(FbTransactionHandle& tr);
    // The next row; false at the end of the rows.
    bool Fetch();
    bool HasRow() const { return hasRow_; }
    // A block of statements: its failures read as those of the statement
    // that failed in it, without the block's own line in the trace.
    void WithinBlock() { withinBlock_ = true; }
    // Releases the statement (DSQL_drop); errors are ignored.
    void Free() noexcept;

    int ColumnCount() const { return out_ ? out_->sqld : 0; }
    const XSQLVAR& Column(int index) const { return out_->sqlvar[index]; }

private:
    struct FreeDeleter {
        void operator()(XSQLDA* p) const { std::free(p); }
    };
    void Describe();
    void ReadType();
    void BindBuffers();
    void Check(const ISC_STATUS* status);

    FbApi& api_;
    FbDatabaseHandle& db_;
    FbStatementHandle handle_ = 0;
    std::unique_ptr<XSQLDA, FreeDeleter> out_;
    std::vector<std::vector<char>> data_;
    std::vector<short> indicators_;
    int type_ = 0;
    bool cursorOpen_ = false;
    bool hasRow_ = false;
    bool withinBlock_ = false;
};

}  // namespace ligamor
