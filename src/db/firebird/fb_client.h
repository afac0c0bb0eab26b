#pragma once
// The Firebird client library, loaded at run time. ibase.h gives the types and
// constants only: nothing links against the library, so a PC without it still
// starts and reports the missing client when it first attaches.
#include <ibase.h>

#include <cerrno>

#include <string>
#include <vector>

#include "runtime/failures.h"

namespace ligamor {

using FbDatabaseHandle = isc_db_handle;
using FbTransactionHandle = isc_tr_handle;
using FbStatementHandle = isc_stmt_handle;

// One entry point of the client. Every call starts with errno cleared: the
// Firebird 3 client's lock-file code tests errno for EINTR even after its own
// call succeeded, and loops for ever on a value left over from before.
template <typename F>
struct FbEntry;
template <typename R, typename... A>
struct FbEntry<R (*)(A...)> {
    R (*function)(A...) = nullptr;
    R operator()(A... args) const
    {
        errno = 0;
        return function(args...);
    }
};

// The entry points the connection layer uses, taken from whichever library loaded.
struct FbApi {
    FbEntry<decltype(&isc_attach_database)> attach_database;
    FbEntry<decltype(&isc_detach_database)> detach_database;
    FbEntry<decltype(&isc_database_info)> database_info;
    FbEntry<decltype(&isc_start_multiple)> start_multiple;
    FbEntry<decltype(&isc_commit_retaining)> commit_retaining;
    FbEntry<decltype(&isc_commit_transaction)> commit_transaction;
    FbEntry<decltype(&isc_rollback_retaining)> rollback_retaining;
    FbEntry<decltype(&isc_rollback_transaction)> rollback_transaction;
    FbEntry<decltype(&isc_prepare_transaction)> prepare_transaction;
    FbEntry<decltype(&isc_reconnect_transaction)> reconnect_transaction;
    FbEntry<decltype(&isc_dsql_allocate_statement)> dsql_allocate_statement;
    FbEntry<decltype(&isc_dsql_prepare)> dsql_prepare;
    FbEntry<decltype(&isc_dsql_describe)> dsql_describe;
    FbEntry<decltype(&isc_dsql_execute)> dsql_execute;
    FbEntry<decltype(&isc_dsql_execute2)> dsql_execute2;
    FbEntry<decltype(&isc_dsql_fetch)> dsql_fetch;
    FbEntry<decltype(&isc_dsql_free_statement)> dsql_free_statement;
    FbEntry<decltype(&isc_dsql_sql_info)> dsql_sql_info;
    // An InterBase client (gds32.dll) has isc_interprete alone: one of the
    // two is set. Its type is written out, since ibase.h marks it deprecated.
    FbEntry<decltype(&fb_interpret)> interpret;
    FbEntry<ISC_LONG (*)(ISC_SCHAR*, ISC_STATUS**)> interprete;
    FbEntry<decltype(&isc_sqlcode)> sqlcode;
};

// The library file names tried in order on this platform.
std::vector<std::string> DefaultFbClientNames();

// "O cliente InterBase (GDS32.DLL) não está instalado" as Windows-1252 bytes.
std::string FbClientMissingMessage();

// Loads the first library of its list that opens, once, and keeps it for the
// rest of the process: unloading the client while its plugins still run
// threads is not safe.
class FbClientLoader {
public:
    FbClientLoader();
    explicit FbClientLoader(std::vector<std::string> names);
    FbClientLoader(const FbClientLoader&) = delete;
    FbClientLoader& operator=(const FbClientLoader&) = delete;

    // The entry points; loads the library on first use. Raises a
    // DatabaseFailure with FbClientMissingMessage() when none of the names
    // loads, or one naming the entry point a loaded library lacks.
    FbApi& Api();
    // The file name that loaded; empty before.
    const std::string& LoadedName() const { return loadedName_; }

    // For a program that stops itself on SIGINT and SIGTERM: the Firebird
    // client also installs handlers for them that shut its engine down on a
    // thread of its own, under the program's last statement and its exit.
    // The program takes those signals in a thread of its own while the others
    // block them, so the client's handlers do not run; should one still run
    // (a thread that was started before), the client refuses that shutdown
    // with this. Takes effect when the library loads; a client without
    // fb_shutdown_callback (InterBase) has no such handler.
    void LeaveStopSignalsToTheProgram() { signalsToProgram_ = true; }

private:
    std::vector<std::string> names_;
    FbApi api_;
    bool signalsToProgram_ = false;
    bool loaded_ = false;
    std::string loadedName_;
};

}  // namespace ligamor
