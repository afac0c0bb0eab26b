#include "db/statement_pack.h"

#include <algorithm>

#include "db/dtmmain.h"
#include "db/firebird/fb_handles.h"
#include "db/firebird/fb_values.h"
#include "runtime/text1252.h"

namespace ligamor {

void StatementPack::Add(const std::string& statement)
{
    if (lineHasStatement_) throw LineRunsAlone{};
    statements_.push_back(statement);
    lineHasStatement_ = true;
}

void StatementPack::DropLine()
{
    if (lineHasStatement_) statements_.pop_back();
    lineHasStatement_ = false;
}

void StatementPack::Clear()
{
    statements_.clear();
    lineHasStatement_ = false;
}

namespace {

// The count before each statement tells, when one is refused, where: the
// handler at the end of the outer block keeps what went in before it, the
// engine undoes the refused statement alone, and the count comes back as the
// one row.
std::string BlockText(const std::vector<std::string>& statements)
{
    std::size_t size = 128;
    for (const std::string& s : statements) size += s.size() + 32;
    std::string text;
    text.reserve(size);
    text += "EXECUTE BLOCK RETURNS (LIGAMOR_FEITOS INTEGER) AS\nBEGIN\n";
    for (std::size_t i = 0; i < statements.size(); ++i) {
        text += "LIGAMOR_FEITOS = " + std::to_string(i) + ";\n";
        text += statements[i];
        text += "\n;\n";
    }
    text += "LIGAMOR_FEITOS = " + std::to_string(statements.size()) + ";\nSUSPEND;\nWHEN ANY DO SUSPEND;\nEND";
    return text;
}

// A NUL ends the text for the library: such a statement cannot share a block.
bool AnyNul(const std::vector<std::string>& statements)
{
    return std::any_of(statements.begin(), statements.end(),
                       [](const std::string& s) { return s.find('\0') != std::string::npos; });
}

}  // namespace

StatementPack::Outcome StatementPack::Run(Connection& connection)
{
    Outcome outcome;
    if (statements_.empty()) {
        outcome.prepared = true;
        return outcome;
    }
    if (AnyNul(statements_)) return outcome;
    FbTransactionHandle& tr = connection.QueryTransaction();
    FbStatement block(connection.Api(), connection.Handle());
    try {
        block.Prepare(tr, BlockText(statements_), connection.Dialect());
    } catch (const DatabaseFailure&) {
        // A text the block cannot take (its own syntax, the engine's limits):
        // its lines run one by one, each with its own outcome.
        return outcome;
    }
    outcome.prepared = true;
    block.Execute(tr);
    if (block.IsSelect()) block.Fetch();
    if (!block.HasRow() || block.ColumnCount() != 1)
        throw DatabaseFailure(
            Cp1252("O banco de dados não deu a resposta esperada a um bloco de linhas (EXECUTE BLOCK)."));
    const long long applied = FbColumnInteger(block.Column(0));
    outcome.applied = static_cast<std::size_t>(std::clamp<long long>(applied, 0, statements_.size()));
    return outcome;
}

}  // namespace ligamor
