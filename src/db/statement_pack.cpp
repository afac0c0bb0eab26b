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

// The count before each statement tells, when one is refused, where: the
// handler at the end of the outer block keeps what went in before it (the
// engine undoes the refused statement alone) and hands the count over as a
// row, then raises the refusal again, whose failure the next fetch gives as
// the statement alone gets it. So the statement never runs a second time,
// and a block that goes in whole costs one fetch.
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
    text += "LIGAMOR_FEITOS = " + std::to_string(statements.size()) +
            ";\nSUSPEND;\nWHEN ANY DO BEGIN SUSPEND; EXCEPTION; END\nEND";
    return text;
}

// A NUL ends the text for the library: such a statement cannot share a block.
bool AnyNul(const std::vector<std::string>& statements)
{
    return std::any_of(statements.begin(), statements.end(),
                       [](const std::string& s) { return s.find('\0') != std::string::npos; });
}

DatabaseFailure UnexpectedAnswer()
{
    return DatabaseFailure(
        Cp1252("O banco de dados não deu a resposta esperada a um bloco de linhas (EXECUTE BLOCK)."));
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
    block.Execute(tr);
    if (!block.Fetch() || block.ColumnCount() != 1) throw UnexpectedAnswer();
    const long long applied = FbColumnInteger(block.Column(0));
    if (applied < 0 || static_cast<std::size_t>(applied) > statements_.size()) throw UnexpectedAnswer();
    outcome.applied = static_cast<std::size_t>(applied);
    if (outcome.applied == statements_.size()) return outcome;
    try {
        block.Fetch();
    } catch (const DatabaseFailure&) {
        outcome.refusal = std::current_exception();
        outcome.refused = statements_[outcome.applied];
        return outcome;
    }
    throw UnexpectedAnswer();
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
