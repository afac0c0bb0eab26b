#include "db/statement_pack.h"

#include <algorithm>

#include "db/firebird/fb_handles.h"
#include "db/firebird/fb_values.h"
#include "runtime/text1252.h"

namespace ligamor {

void StatementPack::NextLine()
{
    lineHasStatement_ = false;
    lineAlone_ = false;
}

Written StatementPack::Add(const std::string& statement)
{
    if (lineAlone_) return Written::RunsAlone;
    if (lineHasStatement_) {
        LineRunsAlone();
        return Written::RunsAlone;
    }
    statements_.push_back(statement);
    lineHasStatement_ = true;
    return Written::Done;
}

void StatementPack::LineRunsAlone()
{
    if (lineHasStatement_) statements_.pop_back();
    lineHasStatement_ = false;
    lineAlone_ = true;
}

void StatementPack::Clear()
{
    statements_.clear();
    NextLine();
}

namespace {

// A row after each statement: the rows fetched say how many went in. When one
// is refused, the fetch fails with its own status; the engine undoes that
// statement alone and keeps what the rows before it brought, so its failure
// is taken from here and the statement never runs a second time.
std::string BlockText(const std::vector<std::string>& statements)
{
    std::size_t size = 128;
    for (const std::string& s : statements) size += s.size() + 32;
    std::string text;
    text.reserve(size);
    text += "EXECUTE BLOCK RETURNS (LIGAMOR_FEITOS INTEGER) AS\nBEGIN\n";
    for (std::size_t i = 0; i < statements.size(); ++i) {
        text += statements[i];
        text += "\n;\nLIGAMOR_FEITOS = " + std::to_string(i + 1) + ";\nSUSPEND;\n";
    }
    text += "END";
    return text;
}

// A NUL ends the text for the library: such a statement cannot share a block.
bool AnyNul(const std::vector<std::string>& statements)
{
    return std::any_of(statements.begin(), statements.end(),
                       [](const std::string& s) { return s.find('\0') != std::string::npos; });
}

}  // namespace

StatementPack::Outcome StatementPack::Run(FileTransaction& file)
{
    Outcome outcome;
    if (statements_.empty()) {
        outcome.prepared = true;
        return outcome;
    }
    if (AnyNul(statements_)) return outcome;
    Connection& connection = file.Attachment();
    FbTransactionHandle& tr = file.Handle();
    FbStatement block(connection.Api(), connection.Handle());
    try {
        block.Prepare(tr, BlockText(statements_), connection.Dialect());
    } catch (const DatabaseFailure&) {
        // A text the block cannot take (its own syntax, the engine's limits):
        // its lines run one by one, each with its own outcome.
        return outcome;
    }
    outcome.prepared = true;
    block.WithinBlock();
    try {
        block.Execute(tr);
        while (outcome.applied < statements_.size() && block.Fetch()) ++outcome.applied;
    } catch (const DatabaseFailure&) {
        outcome.refusal = std::current_exception();
        outcome.refused = statements_[outcome.applied];
        return outcome;
    }
    if (outcome.applied != statements_.size())
        throw DatabaseFailure(
            Cp1252("O banco de dados não deu a resposta esperada a um bloco de linhas (EXECUTE BLOCK)."));
    return outcome;
}

Written GatheredWork::Execute(Messages&, const std::string& statement)
{
    return pack_.Add(statement);
}

Written GatheredWork::WriteLookup(const std::string&)
{
    // It would write before the block runs: the line runs alone.
    pack_.LineRunsAlone();
    return Written::RunsAlone;
}

}  // namespace ligamor
