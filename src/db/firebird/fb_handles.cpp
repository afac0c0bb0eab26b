#include "db/firebird/fb_handles.h"

#include "db/firebird/fb_params.h"
#include "db/firebird/fb_status.h"
#include "db/firebird/fb_values.h"

namespace ligamor {

namespace {

// The layout isc_start_multiple expects for each attachment.
struct TransactionExistenceBlock {
    FbDatabaseHandle* database;
    int tpbLength;
    const char* tpb;
};

XSQLDA* NewDescriptor(int columns)
{
    if (columns < 1) columns = 1;
    auto* da = static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(columns)));
    if (!da) throw std::bad_alloc();
    da->version = SQLDA_VERSION1;
    da->sqln = static_cast<ISC_SHORT>(columns);
    return da;
}

}  // namespace

void FbStartTransaction(FbApi& api, FbDatabaseHandle& db, FbTransactionHandle& tr)
{
    const std::string tpb = TransactionParameters();
    TransactionExistenceBlock teb{&db, static_cast<int>(tpb.size()), tpb.data()};
    ISC_STATUS_ARRAY status{};
    tr = 0;
    api.start_multiple(status, &tr, 1, &teb);
    FbCheck(api, status);
}

void FbEndTransaction(FbApi& api, FbTransactionHandle& tr, FbEnd end)
{
    ISC_STATUS_ARRAY status{};
    switch (end) {
    case FbEnd::Commit: api.commit_transaction(status, &tr); break;
    case FbEnd::CommitRetaining: api.commit_retaining(status, &tr); break;
    case FbEnd::Rollback: api.rollback_transaction(status, &tr); break;
    case FbEnd::RollbackRetaining: api.rollback_retaining(status, &tr); break;
    }
    FbCheck(api, status);
    if (end == FbEnd::Commit || end == FbEnd::Rollback) tr = 0;
}

void FbRollbackQuietly(FbApi& api, FbTransactionHandle& tr) noexcept
{
    if (tr == 0) return;
    ISC_STATUS_ARRAY status{};
    api.rollback_transaction(status, &tr);
    tr = 0;
}

void FbStatement::Prepare(FbTransactionHandle& tr, const std::string& sql, int dialect)
{
    ISC_STATUS_ARRAY status{};
    if (handle_ == 0) {
        api_.dsql_allocate_statement(status, &db_, &handle_);
        FbCheck(api_, status);
    }
    cursorOpen_ = false;
    hasRow_ = false;
    out_.reset(NewDescriptor(8));
    // A length of 0 tells the library the text ends with its NUL.
    const unsigned short length = sql.size() <= 0xFFFF ? static_cast<unsigned short>(sql.size()) : 0;
    api_.dsql_prepare(status, &tr, &handle_, length, sql.c_str(), static_cast<unsigned short>(dialect), out_.get());
    FbCheck(api_, status);
    Describe();
    ReadType();
    BindBuffers();
}

void FbStatement::Describe()
{
    if (out_->sqld <= out_->sqln) return;
    out_.reset(NewDescriptor(out_->sqld));
    ISC_STATUS_ARRAY status{};
    api_.dsql_describe(status, &handle_, SQLDA_VERSION1, out_.get());
    FbCheck(api_, status);
}

void FbStatement::ReadType()
{
    const char items[] = {isc_info_sql_stmt_type};
    char buffer[16] = {};
    ISC_STATUS_ARRAY status{};
    api_.dsql_sql_info(status, &handle_, sizeof items, items, sizeof buffer, buffer);
    FbCheck(api_, status);
    type_ = 0;
    if (buffer[0] == isc_info_sql_stmt_type) {
        const int length = FbVaxInteger(buffer + 1, 2);
        type_ = FbVaxInteger(buffer + 3, length);
    }
}

void FbStatement::BindBuffers()
{
    const int count = out_->sqld;
    data_.assign(count, {});
    indicators_.assign(count, 0);
    for (int i = 0; i < count; ++i) {
        XSQLVAR& var = out_->sqlvar[i];
        std::size_t size = static_cast<unsigned short>(var.sqllen);
        if ((var.sqltype & ~1) == SQL_VARYING) size += sizeof(short);
        data_[i].assign(size + 1, 0);
        var.sqldata = data_[i].data();
        var.sqlind = &indicators_[i];
    }
}

bool FbStatement::IsSelect() const
{
    return type_ == isc_info_sql_stmt_select || type_ == isc_info_sql_stmt_select_for_upd;
}

void FbStatement::Check(const ISC_STATUS* status)
{
    if (!FbStatusIsError(status)) return;
    if (withinBlock_) throw FbStatusFailure(api_, FbWithoutBlockTrace(status).data());
    throw FbStatusFailure(api_, status);
}

void FbStatement::Execute(FbTransactionHandle& tr)
{
    ISC_STATUS_ARRAY status{};
    hasRow_ = false;
    if (type_ == isc_info_sql_stmt_exec_procedure && ColumnCount() > 0) {
        api_.dsql_execute2(status, &tr, &handle_, SQLDA_VERSION1, nullptr, out_.get());
        Check(status);
        hasRow_ = true;
        return;
    }
    api_.dsql_execute(status, &tr, &handle_, SQLDA_VERSION1, nullptr);
    Check(status);
    cursorOpen_ = IsSelect() && ColumnCount() > 0;
}

bool FbStatement::Fetch()
{
    if (!cursorOpen_) {
        hasRow_ = false;
        return false;
    }
    ISC_STATUS_ARRAY status{};
    const ISC_STATUS result = api_.dsql_fetch(status, &handle_, SQLDA_VERSION1, out_.get());
    if (result == 100) {
        hasRow_ = false;
        return false;
    }
    Check(status);
    hasRow_ = true;
    return true;
}

void FbStatement::Free() noexcept
{
    cursorOpen_ = false;
    hasRow_ = false;
    if (handle_ == 0) return;
    ISC_STATUS_ARRAY status{};
    api_.dsql_free_statement(status, &handle_, DSQL_drop);
    handle_ = 0;
}

}  // namespace ligamor
