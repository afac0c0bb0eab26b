#pragma once
// The statements of consecutive lines of a file, run together inside its
// transaction: one round trip and one prepare for a block of lines instead of
// one each. Each text runs verbatim and in order; the first one the database
// refuses is undone alone, those before it stay, and no later one runs.
#include <cstddef>
#include <string>
#include <vector>

namespace ligamor {

class Connection;

// A line gathered into a pack that must run alone instead: it writes at once
// (a unit it creates), or it has more than one statement. Nothing of it ran.
struct LineRunsAlone {};

class StatementPack {
public:
    // The line being gathered has changed: its statement, if any, comes next.
    void NextLine() { lineHasStatement_ = false; }
    // The current line's statement; a second one raises LineRunsAlone, so that
    // a refusal never leaves half of a line applied.
    void Add(const std::string& statement);
    // Takes back the current line's statement (its line ran into a failure).
    void DropLine();
    std::size_t Size() const { return statements_.size(); }
    void Clear();

    struct Outcome {
        bool prepared = false;  // false: the block was not taken, nothing ran
        std::size_t applied = 0;  // the statements that went in, from the first
    };
    // Runs the statements in the connection's file transaction.
    Outcome Run(Connection& connection);

private:
    std::vector<std::string> statements_;
    bool lineHasStatement_ = false;
};

}  // namespace ligamor
