#pragma once
// The statements of consecutive lines of a file, run together inside its
// transaction: one round trip and one prepare for a block of lines instead of
// one each. Each text runs verbatim and in order; the first one the database
// refuses is undone alone with its failure kept, those before it stay, and no
// later one runs: nothing runs twice.
#include <cstddef>
#include <exception>
#include <string>
#include <vector>

#include "db/file_transaction.h"
#include "db/unit_of_work.h"

namespace ligamor {

class StatementPack {
public:
    // The line being gathered has changed: its statement, if any, comes next.
    void NextLine();
    // The current line's statement. A second one is not taken (RunsAlone),
    // so that a refusal never leaves half of a line applied.
    Written Add(const std::string& statement);
    // The current line cannot share the block: its statements are dropped.
    void LineRunsAlone();
    bool CurrentLineRunsAlone() const { return lineAlone_; }
    std::size_t Size() const { return statements_.size(); }
    void Clear();

    struct Outcome {
        bool prepared = false;  // false: the block was not taken, nothing ran
        std::size_t applied = 0;  // the statements that went in, from the first
        // The statement refused after them, as the database refused it alone.
        std::exception_ptr refusal;
        std::string refused;
    };
    // Runs the statements in the file's transaction.
    Outcome Run(FileTransaction& file);

private:
    std::vector<std::string> statements_;
    bool lineHasStatement_ = false;
    bool lineAlone_ = false;
};

// The lines of a block: their statements gathered into the pack instead of
// run, their lookups read in the file's transaction. A line that would write
// at once, or write twice, runs alone instead.
class GatheredWork : public UnitOfWork {
public:
    GatheredWork(FileTransaction& file, StatementPack& pack)
        : UnitOfWork(file.Attachment()), file_(file), pack_(pack)
    {
    }
    FbTransactionHandle& ReadTransaction() override { return file_.Handle(); }
    FileLookups* Lookups() override { return &file_.Lookups(); }
    Written Execute(Messages& messages, const std::string& statement) override;
    Written WriteLookup(const std::string& statement) override;

private:
    FileTransaction& file_;
    StatementPack& pack_;
};

}  // namespace ligamor
