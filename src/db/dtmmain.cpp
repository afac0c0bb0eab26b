#include "db/dtmmain.h"

#include <chrono>

#include "db/database_charset.h"
#include "db/firebird/fb_handles.h"
#include "db/firebird/fb_params.h"
#include "db/firebird/fb_status.h"
#include "db/firebird/fb_values.h"

namespace ligamor {

namespace {

// trnMain's context is ended by a full commit once it is older than this.
// 88400, not 86400: the system has always used this age; deliberate.
constexpr double kContextAgeLimitDays = 120.0 / 88400.0;

double SteadyDays()
{
    using Days = std::chrono::duration<double, std::ratio<86400>>;
    return std::chrono::duration_cast<Days>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

DefaultTransaction::DefaultTransaction(Connection& connection) : connection_(connection) {}

DefaultTransaction::~DefaultTransaction()
{
    if (handle_ != 0) FbRollbackQuietly(connection_.Api(), handle_);
}

bool DefaultTransaction::ContextTooOld() const
{
    return SteadyDays() - startedDays_ > kContextAgeLimitDays;
}

FbTransactionHandle& DefaultTransaction::Handle()
{
    FbApi& api = connection_.Api();
    // A read context left open for long holds back the database's garbage
    // collection; it never holds uncommitted changes, so ending it loses nothing.
    if (handle_ != 0 && ContextTooOld()) FbEndTransaction(api, handle_, FbEnd::Commit);
    if (handle_ == 0) {
        FbStartTransaction(api, connection_.Handle(), handle_);
        startedDays_ = SteadyDays();
    }
    return handle_;
}

void DefaultTransaction::AutoCommit()
{
    if (handle_ == 0) return;
    FbApi& api = connection_.Api();
    FbEndTransaction(api, handle_, ContextTooOld() ? FbEnd::Commit : FbEnd::CommitRetaining);
}

void DefaultTransaction::End()
{
    if (handle_ == 0) return;
    try {
        FbEndTransaction(connection_.Api(), handle_, FbEnd::Rollback);
    } catch (...) {
        handle_ = 0;
        throw;
    }
}

bool DefaultTransaction::Active() const
{
    return handle_ != 0;
}

Connection::Connection(FbClientLoader& loader) : loader_(loader), trnMain_(*this) {}

Connection::~Connection()
{
    Disconnect();
}

FbApi& Connection::Api()
{
    return loader_.Api();
}

void Connection::Attach(const std::string& charset)
{
    FbApi& api = loader_.Api();
    const std::string dpb = AttachmentParameters(userName_, password_, charset);
    const short nameLength = databaseName_.size() <= 0x7FFF ? static_cast<short>(databaseName_.size()) : 0;
    ISC_STATUS_ARRAY status{};
    FbDatabaseHandle db = 0;
    api.attach_database(status, nameLength, databaseName_.c_str(), &db, static_cast<short>(dpb.size()), dpb.data());
    FbCheck(api, status);
    db_ = db;
    dialect_ = 0;
}

void Connection::Connect()
{
    Disconnect();
    Attach("");
    int dialect = 0;
    bool multiByte = false;
    try {
        dialect = Dialect();
        multiByte = DefaultCharsetBytesPerCharacter(loader_.Api(), db_, dialect) > 1;
    } catch (...) {
        Disconnect();
        throw;
    }
    if (!multiByte) return;
    // Single-byte databases keep the attachment without a character set, so
    // their bytes stay exactly as sent.
    Disconnect();
    Attach(kShopTextCharset);
    dialect_ = dialect;
}

void Connection::Disconnect()
{
    if (db_ == 0) return;
    FbApi& api = loader_.Api();
    // The attachment goes away whatever the server answers (a lost server
    // answers nothing): the next Connect must start from a clean state.
    try {
        trnMain_.End();
    } catch (...) {
    }
    ISC_STATUS_ARRAY status{};
    api.detach_database(status, &db_);
    db_ = 0;
    dialect_ = 0;
}

int Connection::Dialect()
{
    if (db_ == 0) return 3;
    if (dialect_ != 0) return dialect_;
    FbApi& api = loader_.Api();
    const char items[] = {isc_info_db_sql_dialect, isc_info_end};
    char buffer[32] = {};
    ISC_STATUS_ARRAY status{};
    api.database_info(status, &db_, sizeof items, items, sizeof buffer, buffer);
    FbCheck(api, status);
    int dialect = 0;
    if (buffer[0] == isc_info_db_sql_dialect) dialect = FbVaxInteger(buffer + 3, FbVaxInteger(buffer + 1, 2));
    dialect_ = dialect == 0 ? 1 : dialect;
    return dialect_;
}

std::string ComposeDatabaseName(const std::string& server, const std::string& path)
{
    if (server == "LOCAL") return path;
    return server + ":" + path;
}

void ConnectDatabase(DataModule& dtmain, const std::string& databaseName, const std::string& userName,
                     const std::string& password)
{
    Connection& conmain = dtmain.conmain;
    conmain.Disconnect();
    conmain.SetDatabaseName(databaseName);
    conmain.SetUserName(userName);
    conmain.SetPassword(password);
    conmain.Connect();
}

}  // namespace ligamor
