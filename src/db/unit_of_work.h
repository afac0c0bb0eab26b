#pragma once
// A line's unit of work: how its statements run. Committed each on its own
// (per line), inside its file's one transaction, or gathered with the
// statements of the lines around it into one block. The record statements and
// the lookups write through the unit they are handed, so that a statement's
// way of running shows where it is called, not in state of the connection.
#include <string>

#include "db/dtmmain.h"
#include "runtime/messages.h"

namespace ligamor {

struct FileLookups;

// What became of a write. RunsAlone: the unit cannot take it now; nothing of
// the line ran, and the line must be run again on its own.
enum class Written { Done, RunsAlone };

class UnitOfWork {
public:
    explicit UnitOfWork(Connection& connection) : connection_(connection) {}
    virtual ~UnitOfWork() = default;
    UnitOfWork(const UnitOfWork&) = delete;
    UnitOfWork& operator=(const UnitOfWork&) = delete;

    Connection& Attachment() { return connection_; }
    // Where the lookups read.
    virtual FbTransactionHandle& ReadTransaction() = 0;
    // The codes remembered for the file; none outside a file's transaction.
    virtual FileLookups* Lookups() { return nullptr; }

    // The record's one data-changing statement. Refused: what the unit must
    // undo is undone first, then the plain message CommandFailedText, then
    // the failure is raised again.
    virtual Written Execute(Messages& messages, const std::string& statement) = 0;
    // A record refused before its statement ran (a check, a value that is no
    // number): what the unit must undo is undone before its box is shown.
    virtual void Refuse() {}
    // A code a lookup creates (a new unit). It stays whatever becomes of the
    // line that needed it, as it does when it commits on its own.
    virtual Written WriteLookup(const std::string& statement) = 0;

private:
    Connection& connection_;
};

// Each statement a transaction of its own, committed at once; lookups read in
// trnMain. The unit of every line outside a file's transaction.
class OwnCommitWork : public UnitOfWork {
public:
    using UnitOfWork::UnitOfWork;
    FbTransactionHandle& ReadTransaction() override;
    Written Execute(Messages& messages, const std::string& statement) override;
    Written WriteLookup(const std::string& statement) override;
};

}  // namespace ligamor
