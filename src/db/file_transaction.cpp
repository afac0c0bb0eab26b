#include "db/file_transaction.h"

#include "db/firebird/fb_handles.h"
#include "runtime/failures.h"

namespace ligamor {

FileTransaction::FileTransaction(Connection& connection) : connection_(connection)
{
    if (connection_.file_ != nullptr) throw DatabaseFailure("file transaction already open");
    FbStartTransaction(connection_.Api(), connection_.Handle(), handle_);
    connection_.file_ = this;
}

FileTransaction::~FileTransaction()
{
    if (handle_ != 0) FbRollbackQuietly(connection_.Api(), handle_);
    Close();
}

void FileTransaction::Commit()
{
    try {
        FbEndTransaction(connection_.Api(), handle_, FbEnd::Commit);
    } catch (...) {
        FbRollbackQuietly(connection_.Api(), handle_);
        Close();
        throw;
    }
    Close();
}

void FileTransaction::Rollback()
{
    // The scope stays open with no transaction: a statement run after this
    // fails, instead of committing on its own outside the file.
    lookups_ = {};
    if (handle_ == 0) return;
    try {
        FbEndTransaction(connection_.Api(), handle_, FbEnd::Rollback);
    } catch (...) {
        FbRollbackQuietly(connection_.Api(), handle_);
        throw;
    }
}

void FileTransaction::Close()
{
    lookups_ = {};
    if (connection_.file_ == this) connection_.file_ = nullptr;
}

FbTransactionHandle& Connection::QueryTransaction()
{
    if (file_ != nullptr) return file_->handle_;
    return trnMain_.Handle();
}

void Connection::AutoCommitQuery()
{
    if (file_ == nullptr) trnMain_.AutoCommit();
}

void Connection::RollbackFileTransaction()
{
    if (file_ != nullptr) file_->Rollback();
}

FileLookups* Connection::Lookups()
{
    return file_ != nullptr ? &file_->lookups_ : nullptr;
}

}  // namespace ligamor
