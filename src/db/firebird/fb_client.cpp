#include "db/firebird/fb_client.h"

#include "db/firebird/fb_loader.h"
#include "runtime/failures.h"
#include "runtime/text1252.h"

namespace ligamor {

std::string FbClientMissingMessage()
{
    return Cp1252("O cliente InterBase (GDS32.DLL) não está instalado");
}

FbClientLoader::FbClientLoader() : names_(DefaultFbClientNames()) {}

FbClientLoader::FbClientLoader(std::vector<std::string> names) : names_(std::move(names)) {}

namespace {

template <typename F>
void Resolve(void* library, const std::string& libraryName, const char* symbol, FbEntry<F>& target)
{
    void* address = FindLibrarySymbol(library, symbol);
    if (!address)
        throw DatabaseFailure("Ponto de entrada " + std::string(symbol) + " ausente em " + libraryName);
    target.function = reinterpret_cast<F>(address);
}

int RefuseSignalShutdown(const int reason, const int, void*)
{
    return reason == fb_shutrsn_signal ? 1 : 0;  // non-zero at confirmation: no shutdown
}

void RefuseShutdownOnStopSignals(void* library)
{
    auto callback = reinterpret_cast<decltype(&fb_shutdown_callback)>(FindLibrarySymbol(library, "fb_shutdown_callback"));
    if (!callback) return;
    ISC_STATUS_ARRAY status{};
    callback(status, RefuseSignalShutdown, fb_shut_confirmation, nullptr);
}

}  // namespace

FbApi& FbClientLoader::Api()
{
    if (loaded_) return api_;
    for (const std::string& name : names_) {
        void* library = OpenLibrary(name);
        if (!library) continue;
        FbApi api;
        Resolve(library, name, "isc_attach_database", api.attach_database);
        Resolve(library, name, "isc_detach_database", api.detach_database);
        Resolve(library, name, "isc_database_info", api.database_info);
        Resolve(library, name, "isc_start_multiple", api.start_multiple);
        Resolve(library, name, "isc_commit_retaining", api.commit_retaining);
        Resolve(library, name, "isc_commit_transaction", api.commit_transaction);
        Resolve(library, name, "isc_rollback_retaining", api.rollback_retaining);
        Resolve(library, name, "isc_rollback_transaction", api.rollback_transaction);
        Resolve(library, name, "isc_prepare_transaction", api.prepare_transaction);
        Resolve(library, name, "isc_reconnect_transaction", api.reconnect_transaction);
        Resolve(library, name, "isc_dsql_allocate_statement", api.dsql_allocate_statement);
        Resolve(library, name, "isc_dsql_prepare", api.dsql_prepare);
        Resolve(library, name, "isc_dsql_describe", api.dsql_describe);
        Resolve(library, name, "isc_dsql_execute", api.dsql_execute);
        Resolve(library, name, "isc_dsql_execute2", api.dsql_execute2);
        Resolve(library, name, "isc_dsql_fetch", api.dsql_fetch);
        Resolve(library, name, "isc_dsql_free_statement", api.dsql_free_statement);
        Resolve(library, name, "isc_dsql_sql_info", api.dsql_sql_info);
        if (FindLibrarySymbol(library, "fb_interpret")) Resolve(library, name, "fb_interpret", api.interpret);
        else Resolve(library, name, "isc_interprete", api.interprete);
        Resolve(library, name, "isc_sqlcode", api.sqlcode);
        if (signalsToProgram_) RefuseShutdownOnStopSignals(library);
        api_ = api;
        loaded_ = true;
        loadedName_ = name;
        return api_;
    }
    throw DatabaseFailure(FbClientMissingMessage());
}

}  // namespace ligamor
