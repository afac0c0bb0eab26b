#pragma once
// One transaction for a whole input file (TRANSACAO=ARQUIVO): started before
// its first line, committed after its last. Until then no other connection
// sees any of its rows, and a refused line, a stop or a lost process leaves
// the database as it was before the file.
#include <map>
#include <string>

#include "db/dtmmain.h"

namespace ligamor {

// Code lookups of units, tax rates and states, by the statement that would
// have asked for them. Valid for one file's transaction only: what it holds
// was read, or written, inside it.
struct FileLookups {
    std::map<std::string, std::string> texts;
    std::map<std::string, long long> integers;
};

class FileTransaction {
public:
    // Starts the transaction on a connected conmain; only one at a time.
    explicit FileTransaction(Connection& connection);
    // Still open (a failure, a stop): rolled back, whatever the server answers.
    ~FileTransaction();
    FileTransaction(const FileTransaction&) = delete;
    FileTransaction& operator=(const FileTransaction&) = delete;

    // A full commit: the file's rows become visible to other connections here.
    void Commit();

    // A line of a file whose refused lines are set aside starts here: a
    // refusal then undoes that line alone (a savepoint), and the file's
    // transaction goes on. Until the next mark, a refusal still undoes the
    // whole file.
    void BeginLine();
    // The line went in.
    void EndLine() { lineMarked_ = false; }
    // Undoes what the refused line did, when its own code did not already.
    void UndoLine();

private:
    friend class Connection;
    void Rollback();
    void Close();
    Connection& connection_;
    void Run(const std::string& statement);
    FbTransactionHandle handle_ = 0;
    FileLookups lookups_;
    bool lineMarked_ = false;
};

}  // namespace ligamor
