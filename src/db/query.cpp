// The query objects of the lookups: statements run in trnMain, or in the
// transaction their unit of work reads in.
#include "db/dtmmain.h"
#include "db/firebird/fb_handles.h"
#include "db/firebird/fb_values.h"

namespace ligamor {

struct Query::State {
    State(FbApi& api, FbDatabaseHandle& db) : statement(api, db) {}
    FbStatement statement;
    bool open = false;
};

Query::Query(Connection& connection) : connection_(connection) {}

Query::Query(Connection& connection, FbTransactionHandle& transaction)
    : connection_(connection), transaction_(&transaction)
{
}

FbTransactionHandle& Query::Transaction()
{
    return transaction_ != nullptr ? *transaction_ : connection_.DefaultTrans().Handle();
}

// Auto-commit belongs to trnMain alone: a transaction given ends elsewhere.
void Query::AfterWrite()
{
    if (transaction_ == nullptr) connection_.DefaultTrans().AutoCommit();
}

Query::~Query()
{
    Close();
}

namespace {

std::string JoinedLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += "\n";
        text += lines[i];
    }
    return text;
}

}  // namespace

void Query::PrepareAndExecute()
{
    Close();
    FbTransactionHandle& tr = Transaction();
    const int dialect = connection_.Dialect();
    state_ = std::make_unique<State>(connection_.Api(), connection_.Handle());
    state_->statement.Prepare(tr, JoinedLines(lines_), dialect);
    state_->statement.Execute(tr);
}

void Query::Open()
{
    if (state_ && state_->open) return;
    PrepareAndExecute();
    FbStatement& statement = state_->statement;
    if (statement.IsSelect()) statement.Fetch();
    state_->open = true;
    if (!statement.IsSelect()) AfterWrite();
}

bool Query::IsEmpty() const
{
    return !state_ || !state_->open || !state_->statement.HasRow() || state_->statement.ColumnCount() == 0;
}

std::string Query::FirstAsText() const
{
    if (IsEmpty()) return "";
    return FbColumnText(state_->statement.Column(0));
}

long long Query::FirstAsInteger() const
{
    if (IsEmpty()) return 0;
    return FbColumnInteger(state_->statement.Column(0));
}

bool Query::NextRow()
{
    return !IsEmpty() && state_->statement.Fetch();
}

std::string Query::Text(int column) const
{
    if (IsEmpty() || column >= state_->statement.ColumnCount()) return "";
    return FbColumnText(state_->statement.Column(column));
}

void Query::Execute()
{
    PrepareAndExecute();
    FbStatement& statement = state_->statement;
    statement.Free();
    if (!statement.IsSelect()) AfterWrite();
}

void Query::Close()
{
    // Freeing drops the statement and its cursor; the cursor may already be
    // gone with a commit of trnMain, which the library reports and we ignore.
    state_.reset();
}

std::unique_ptr<Query> OpenQuery(DataModule& dtmain, const std::string& statement)
{
    auto query = std::make_unique<Query>(dtmain.conmain);
    query->SetText(statement);
    query->Open();
    return query;
}

}  // namespace ligamor
