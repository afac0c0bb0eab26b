#include "db/file_transaction.h"

#include "db/firebird/fb_handles.h"
#include "db/firebird/fb_status.h"
#include "runtime/failures.h"

#include <utility>

namespace ligamor {

namespace {

constexpr const char* kLineSavepoint = "LIGAMOR_LINHA";

}  // namespace

FileTransaction::FileTransaction(Connection& connection) : connection_(connection)
{
    FbStartTransaction(connection_.Api(), connection_.Handle(), handle_);
}

FileTransaction::~FileTransaction()
{
    if (handle_ != 0) FbRollbackQuietly(connection_.Api(), handle_);
}

void FileTransaction::Commit()
{
    lookups_ = {};
    try {
        FbEndTransaction(connection_.Api(), handle_, FbEnd::Commit);
    } catch (...) {
        FbRollbackQuietly(connection_.Api(), handle_);
        throw;
    }
}

long long FileTransaction::Number()
{
    Query number(connection_, handle_);
    number.SetText("select current_transaction from rdb$database");
    number.Open();
    return number.FirstAsInteger();
}

void FileTransaction::Prepare()
{
    ISC_STATUS_ARRAY status{};
    connection_.Api().prepare_transaction(status, &handle_);
    FbCheck(connection_.Api(), status);
}

void FileTransaction::CommitDecided()
{
    lookups_ = {};
    try {
        FbEndTransaction(connection_.Api(), handle_, FbEnd::Commit);
    } catch (...) {
        handle_ = 0;
        throw;
    }
}

void FileTransaction::Run(const std::string& statement)
{
    FbStatement command(connection_.Api(), connection_.Handle());
    command.Prepare(handle_, statement, connection_.Dialect());
    command.Execute(handle_);
}

void FileTransaction::Abandon()
{
    lineOpen_ = false;
    lookups_ = {};
    if (handle_ == 0) return;
    try {
        FbEndTransaction(connection_.Api(), handle_, FbEnd::Rollback);
    } catch (...) {
        FbRollbackQuietly(connection_.Api(), handle_);
        throw;
    }
}

void FileTransaction::UndoLineOrFile()
{
    if (std::exchange(lineOpen_, false) && handle_ != 0) {
        try {
            Run(std::string("ROLLBACK TO SAVEPOINT ") + kLineSavepoint);
            lookups_.UndoLine();
            return;
        } catch (...) {
            // Then the whole file goes, as it would without the mark.
        }
    }
    Abandon();
}

void FileTransaction::KeepSoFar()
{
    // A savepoint of the same name replaces the one before.
    if (lineOpen_) Run(std::string("SAVEPOINT ") + kLineSavepoint);
}

LineSavepoint::LineSavepoint(FileTransaction& file) : file_(file)
{
    file_.Run(std::string("SAVEPOINT ") + kLineSavepoint);
    file_.lineOpen_ = true;
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
    if (!file_.lineOpen_) return;
    file_.lineOpen_ = false;
    file_.lookups_.KeepLine();
}

void LineSavepoint::Undo()
{
    if (file_.lineOpen_) file_.UndoLineOrFile();
}

Written FileTransactionWork::Execute(Messages& messages, const std::string& statement)
{
    try {
        file_.Run(statement);
    } catch (...) {
        file_.UndoLineOrFile();
        messages.PlainMessage(CommandFailedText(statement));
        throw;
    }
    return Written::Done;
}

Written FileTransactionWork::WriteLookup(const std::string& statement)
{
    file_.Run(statement);
    // Only lookups ran before it in the line: moving the savepoint keeps the
    // code, as its own commit keeps it per line, and nothing of the line.
    file_.KeepSoFar();
    return Written::Done;
}

}  // namespace ligamor
