#include "db/file_transaction.h"

#include "db/firebird/fb_handles.h"
#include "runtime/failures.h"

#include <utility>

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

namespace {

constexpr const char* kLineSavepoint = "LIGAMOR_LINHA";

}  // namespace

void FileTransaction::Run(const std::string& statement)
{
    FbStatement command(connection_.Api(), connection_.Handle());
    command.Prepare(handle_, statement, connection_.Dialect());
    command.Execute(handle_);
}

LineSavepoint::LineSavepoint(FileTransaction& file) : file_(file)
{
    // A savepoint of the same name replaces the one before: one is kept at a time.
    file_.Run(std::string("SAVEPOINT ") + kLineSavepoint);
    file_.line_ = this;
    file_.lookups_.BeginLine();
}

LineSavepoint::~LineSavepoint()
{
    try {
        Undo();
    } catch (...) {
        // The whole file was rolled back instead; its next statement fails.
    }
}

void LineSavepoint::Release()
{
    if (file_.line_ != this) return;
    file_.line_ = nullptr;
    file_.lookups_.KeepLine();
}

void FileLookups::Remember(const std::string& statement, const std::string& value)
{
    if (texts.emplace(statement, value).second && lineOpen_) sinceSavepoint_.push_back(statement);
}

void FileLookups::Remember(const std::string& statement, long long value)
{
    if (integers.emplace(statement, value).second && lineOpen_) sinceSavepoint_.push_back(statement);
}

void FileLookups::ForgetAnswers()
{
    asked.clear();
    found.clear();
}

void FileLookups::BeginLine()
{
    sinceSavepoint_.clear();
    lineOpen_ = true;
}

void FileLookups::KeepLine()
{
    sinceSavepoint_.clear();
    lineOpen_ = false;
}

void FileLookups::UndoLine()
{
    for (const std::string& statement : sinceSavepoint_) {
        texts.erase(statement);
        integers.erase(statement);
    }
    KeepLine();
    ForgetAnswers();
}

void LineSavepoint::Undo()
{
    if (file_.line_ == this) file_.Rollback();
}

void FileTransaction::Rollback()
{
    const bool line = std::exchange(line_, nullptr) != nullptr;
    if (line && handle_ != 0) {
        try {
            Run(std::string("ROLLBACK TO SAVEPOINT ") + kLineSavepoint);
            lookups_.UndoLine();
            return;
        } catch (...) {
            // Then the whole file goes, as it would without the mark.
        }
    }
    lookups_ = {};
    // The scope stays open with no transaction: a statement run after this
    // fails, instead of committing on its own outside the file.
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
    if (file_ != nullptr && file_->pack_ == nullptr) file_->Rollback();
}

StatementPack* Connection::Gathering()
{
    return file_ != nullptr ? file_->pack_ : nullptr;
}

FileLookups* Connection::Lookups()
{
    return file_ != nullptr ? &file_->lookups_ : nullptr;
}

}  // namespace ligamor
