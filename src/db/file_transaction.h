#pragma once
// One transaction for a whole input file (TRANSACAO=ARQUIVO): started before
// its first line, committed after its last. Until then no other connection
// sees any of its rows, and a refused line, a stop or a lost process leaves
// the database as it was before the file.
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

#include "db/dtmmain.h"

namespace ligamor {

// Code lookups of units, tax rates and states, by the statement that would
// have asked for them. Valid for one file's transaction only: what it holds
// was read, or written, inside it.
struct FileLookups {
    std::map<std::string, std::string> texts;
    std::map<std::string, long long> integers;
    void Remember(const std::string& statement, const std::string& value);
    void Remember(const std::string& statement, long long value);
    // Whether records exist, asked for a block of lines at once: the keys
    // asked and those found, as ExistenceKey gives them. Valid for that block
    // only, whose lines name each record once.
    std::unordered_set<std::string> asked;
    std::unordered_set<std::string> found;
    void ForgetAnswers();

    // A line behind its savepoint: what it teaches is kept when the line is,
    // and forgotten when it is undone (the unit it created is gone with it),
    // while what earlier lines taught stays.
    void BeginLine();
    void KeepLine();
    void UndoLine();

private:
    std::vector<std::string> sinceSavepoint_;
    bool lineOpen_ = false;
};

class StatementPack;

class LineSavepoint;

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

    // While set, each line's statement is gathered into the pack instead of
    // run, and nothing is undone for a refused line: nothing of it ran.
    void GatherInto(StatementPack* pack) { pack_ = pack; }
    // What AskExistence answered is forgotten.
    void ForgetAnswers() { lookups_.ForgetAnswers(); }
    Connection& Attachment() { return connection_; }

private:
    friend class Connection;
    friend class LineSavepoint;
    // Undoes the line behind the current savepoint, or, without one (or when
    // going back to it fails), the whole file.
    void Rollback();
    void Close();
    Connection& connection_;
    void Run(const std::string& statement);
    FbTransactionHandle handle_ = 0;
    FileLookups lookups_;
    LineSavepoint* line_ = nullptr;
    StatementPack* pack_ = nullptr;
};

// One line of a file whose refused lines are set aside: a refusal undoes that
// line alone, and the file's transaction goes on. Until it is released, a
// failure of the line's statements (ExecuteCommand rolls back first) goes
// back to it, and so does its end: a line not released is undone.
class LineSavepoint {
public:
    explicit LineSavepoint(FileTransaction& file);
    ~LineSavepoint();
    LineSavepoint(const LineSavepoint&) = delete;
    LineSavepoint& operator=(const LineSavepoint&) = delete;

    // The line went in.
    void Release();
    // The line is undone now, when its statements did not already; a failure
    // to go back to the savepoint undoes the whole file and raises.
    void Undo();

private:
    FileTransaction& file_;
};

}  // namespace ligamor
