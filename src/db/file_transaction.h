#pragma once
// One transaction for a whole input file (TRANSACAO=ARQUIVO): started before
// its first line, committed after its last. Until then no other connection
// sees any of its rows, and a refused line, a stop or a lost process leaves
// the database as it was before the file.
#include <string>

#include "db/dtmmain.h"
#include "db/file_lookups.h"
#include "db/unit_of_work.h"

namespace ligamor {

class FileTransaction {
public:
    // Starts the transaction on a connected conmain.
    explicit FileTransaction(Connection& connection);
    // Still open (a failure, a stop): rolled back, whatever the server answers.
    ~FileTransaction();
    FileTransaction(const FileTransaction&) = delete;
    FileTransaction& operator=(const FileTransaction&) = delete;

    // The transaction's number, as the database's limbo list gives it.
    long long Number();
    // The first phase of a two-phase commit: from here on the transaction
    // survives the process, waiting (in limbo) for a commit or a rollback.
    void Prepare();
    // A full commit: the file's rows become visible to other connections here.
    void Commit();
    // The commit of a prepared transaction whose commit is decided: when it
    // fails, the transaction is left in limbo, never rolled back.
    void CommitDecided();
    // The whole file undone now, so that no lock is held while a refusal is
    // shown; a statement run after this fails instead of committing alone.
    void Abandon();

    Connection& Attachment() { return connection_; }
    FbTransactionHandle& Handle() { return handle_; }
    FileLookups& Lookups() { return lookups_; }
    // Runs a statement in the file's transaction.
    void Run(const std::string& statement);

    // The line behind the savepoint (LineSavepoint) is undone: only that line,
    // or, without one or when going back to it fails, the whole file.
    void UndoLineOrFile();
    // Moves the current line's savepoint to here: what ran before stays when
    // the line is undone.
    void KeepSoFar();

private:
    friend class LineSavepoint;
    Connection& connection_;
    FbTransactionHandle handle_ = 0;
    FileLookups lookups_;
    bool lineOpen_ = false;
};

// One line of a file whose refused lines are set aside: a refusal undoes that
// line alone, and the file's transaction goes on. A line not released is
// undone at the latest when the savepoint goes.
class LineSavepoint {
public:
    explicit LineSavepoint(FileTransaction& file);
    ~LineSavepoint();
    LineSavepoint(const LineSavepoint&) = delete;
    LineSavepoint& operator=(const LineSavepoint&) = delete;

    // The line went in.
    void Release();
    // The line is undone now, unless its refused statement already went back
    // to the savepoint; a failure to go back undoes the whole file and raises.
    void Undo();

private:
    FileTransaction& file_;
};

// Every statement of the line inside the file's transaction. A refused one
// undoes the line (behind its savepoint) or the whole file before its message.
class FileTransactionWork : public UnitOfWork {
public:
    explicit FileTransactionWork(FileTransaction& file) : UnitOfWork(file.Attachment()), file_(file) {}
    FbTransactionHandle& ReadTransaction() override { return file_.Handle(); }
    FileLookups* Lookups() override { return &file_.Lookups(); }
    Written Execute(Messages& messages, const std::string& statement) override;
    void Refuse() override { file_.UndoLineOrFile(); }
    Written WriteLookup(const std::string& statement) override;

private:
    FileTransaction& file_;
};

}  // namespace ligamor
