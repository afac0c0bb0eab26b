/* A Winelib fbclient.dll for the tests of the Windows build under Wine: each
 * export forwards to the Linux client library, libfbclient.so.2, in the same
 * process. Test support only; never shipped.
 *
 * Compiled with plain gcc, not winegcc: under winegcc ibase.h would declare
 * the Linux library's functions ms_abi. winebuild makes no calling-convention
 * wrappers on x86-64, so every export is ms_abi itself and named bridge_*,
 * aliased to the client's names in fbclient.def. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <limits.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* isc_interprete is the InterBase client's way to the error texts, which the
 * gds32.dll build of this bridge offers without fb_interpret. */
#include <ibase.h>
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

#define EXPORT __attribute__((ms_abi, force_align_arg_pointer, visibility("default")))
#define WINAPI_IMPORT __attribute__((ms_abi))

/* The Windows side passes these by address: both ABIs must agree. */
_Static_assert(sizeof(ISC_STATUS) == 8, "ISC_STATUS");
_Static_assert(sizeof(isc_db_handle) == 4, "handles");
_Static_assert(sizeof(ISC_LONG) == 4, "ISC_LONG");
_Static_assert(sizeof(XSQLVAR) == 160, "XSQLVAR");
_Static_assert(sizeof(XSQLDA) == 184, "XSQLDA");

/* From kernel32 (the process heap, the ANSI code page, Wine's own path mapping). */
typedef unsigned short WCHAR16;
WINAPI_IMPORT int MultiByteToWideChar(unsigned int, unsigned int, const char*, int, WCHAR16*, int);
WINAPI_IMPORT char* wine_get_unix_file_name(const WCHAR16*);
WINAPI_IMPORT void* GetProcessHeap(void);
WINAPI_IMPORT int HeapFree(void*, unsigned int, void*);

static void* client;

/* The client's entry points that the program calls, each held as real_NAME. */
#define ENTRIES(X) \
    X(isc_attach_database) X(isc_detach_database) X(isc_database_info) X(isc_start_multiple) \
    X(isc_commit_retaining) X(isc_commit_transaction) X(isc_rollback_retaining) X(isc_rollback_transaction) \
    X(isc_prepare_transaction) X(isc_reconnect_transaction) \
    X(isc_dsql_allocate_statement) X(isc_dsql_prepare) X(isc_dsql_describe) X(isc_dsql_execute) \
    X(isc_dsql_execute2) X(isc_dsql_fetch) X(isc_dsql_free_statement) X(isc_dsql_sql_info) \
    X(fb_interpret) X(isc_interprete) X(isc_sqlcode) X(fb_shutdown_callback)

#define CLIENT_FUNCTION(name) static __typeof__(&name) real_##name;
ENTRIES(CLIENT_FUNCTION)

static int load_client(void)
{
    /* RTLD_LOCAL: its names must not stand in for Wine's or the other way round. */
    client = dlopen("libfbclient.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!client) {
        fprintf(stderr, "fbclient bridge: %s\n", dlerror());
        return 0;
    }
#define RESOLVE(name) \
    if (!(real_##name = (__typeof__(&name))dlsym(client, #name))) { \
        fprintf(stderr, "fbclient bridge: no %s in libfbclient.so.2\n", #name); \
        return 0; \
    }
    ENTRIES(RESOLVE)
    return 1;
}

/* The Linux client tests errno after its own successful calls (see FbEntry in
 * the program): the Linux errno is cleared before each call, as the program
 * clears its own. */
#define FORWARD(name, ...) (errno = 0, real_##name(__VA_ARGS__))

/* "C:\dir\file.fdb" means nothing to the Linux client (it reads "c" as a host
 * name): a path with a drive letter, alone or after "host:" of the loopback
 * server, becomes the Unix path Wine maps it to. */
static int has_drive(const char* p)
{
    return ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z')) && p[1] == ':' &&
           (p[2] == '\\' || p[2] == '/');
}

static char* unix_path(const char* windows)
{
    WCHAR16 wide[4096];
    int n = MultiByteToWideChar(0 /* CP_ACP */, 0, windows, -1, wide, (int)(sizeof wide / sizeof wide[0]));
    if (n <= 0) return NULL;
    char* mapped = wine_get_unix_file_name(wide);
    if (!mapped) return NULL;
    /* The drive's link resolved too: the folder's real path, then the name
     * (the file need not exist yet). */
    char* result = NULL;
    char* slash = strrchr(mapped, '/');
    if (slash) {
        *slash = '\0';
        char folder[PATH_MAX];
        if (realpath(*mapped ? mapped : "/", folder)) {
            result = malloc(strlen(folder) + strlen(slash + 1) + 2);
            if (result) sprintf(result, "%s/%s", folder, slash + 1);
        }
    }
    if (!result) {
        if (slash) *slash = '/';
        result = strdup(mapped);
    }
    HeapFree(GetProcessHeap(), 0, mapped);
    return result;
}

/* The database name as the Linux client must see it; free() it. */
static char* linux_database_name(short length, const char* name)
{
    size_t size = length ? (size_t)(unsigned short)length : strlen(name);
    char* given = strndup(name, size);
    if (!given) return NULL;
    char* path = given;
    if (!has_drive(given)) {
        char* colon = strchr(given, ':');
        if (!colon || !has_drive(colon + 1)) return given;
        path = colon + 1;
    }
    char* mapped = unix_path(path);
    if (!mapped) return given;
    size_t prefix = (size_t)(path - given);
    char* result = malloc(prefix + strlen(mapped) + 1);
    if (result) {
        memcpy(result, given, prefix);
        strcpy(result + prefix, mapped);
    }
    free(mapped);
    free(given);
    return result;
}

EXPORT ISC_STATUS bridge_isc_attach_database(ISC_STATUS* status, short length, const ISC_SCHAR* name,
                                             isc_db_handle* db, short dpb_length, const ISC_SCHAR* dpb)
{
    char* linux_name = linux_database_name(length, name);
    ISC_STATUS result = FORWARD(isc_attach_database, status, 0, linux_name ? linux_name : name, db, dpb_length, dpb);
    free(linux_name);
    return result;
}

EXPORT ISC_STATUS bridge_isc_detach_database(ISC_STATUS* status, isc_db_handle* db)
{
    return FORWARD(isc_detach_database, status, db);
}

EXPORT ISC_STATUS bridge_isc_database_info(ISC_STATUS* status, isc_db_handle* db, short items_length,
                                           const ISC_SCHAR* items, short buffer_length, ISC_SCHAR* buffer)
{
    return FORWARD(isc_database_info, status, db, items_length, items, buffer_length, buffer);
}

/* isc_start_multiple rather than the vararg isc_start_transaction: the two
 * ABIs pass varargs differently. */
EXPORT ISC_STATUS bridge_isc_start_multiple(ISC_STATUS* status, isc_tr_handle* tr, short count, void* teb)
{
    return FORWARD(isc_start_multiple, status, tr, count, teb);
}

EXPORT ISC_STATUS bridge_isc_commit_retaining(ISC_STATUS* status, isc_tr_handle* tr)
{
    return FORWARD(isc_commit_retaining, status, tr);
}

EXPORT ISC_STATUS bridge_isc_commit_transaction(ISC_STATUS* status, isc_tr_handle* tr)
{
    return FORWARD(isc_commit_transaction, status, tr);
}

EXPORT ISC_STATUS bridge_isc_rollback_retaining(ISC_STATUS* status, isc_tr_handle* tr)
{
    return FORWARD(isc_rollback_retaining, status, tr);
}

EXPORT ISC_STATUS bridge_isc_rollback_transaction(ISC_STATUS* status, isc_tr_handle* tr)
{
    return FORWARD(isc_rollback_transaction, status, tr);
}

EXPORT ISC_STATUS bridge_isc_prepare_transaction(ISC_STATUS* status, isc_tr_handle* tr)
{
    return FORWARD(isc_prepare_transaction, status, tr);
}

EXPORT ISC_STATUS bridge_isc_reconnect_transaction(ISC_STATUS* status, isc_db_handle* db, isc_tr_handle* tr,
                                                   short length, const ISC_SCHAR* id)
{
    return FORWARD(isc_reconnect_transaction, status, db, tr, length, id);
}

EXPORT ISC_STATUS bridge_isc_dsql_allocate_statement(ISC_STATUS* status, isc_db_handle* db, isc_stmt_handle* stmt)
{
    return FORWARD(isc_dsql_allocate_statement, status, db, stmt);
}

EXPORT ISC_STATUS bridge_isc_dsql_prepare(ISC_STATUS* status, isc_tr_handle* tr, isc_stmt_handle* stmt,
                                          unsigned short length, const ISC_SCHAR* sql, unsigned short dialect,
                                          XSQLDA* out)
{
    return FORWARD(isc_dsql_prepare, status, tr, stmt, length, sql, dialect, out);
}

EXPORT ISC_STATUS bridge_isc_dsql_describe(ISC_STATUS* status, isc_stmt_handle* stmt, unsigned short version,
                                           XSQLDA* out)
{
    return FORWARD(isc_dsql_describe, status, stmt, version, out);
}

EXPORT ISC_STATUS bridge_isc_dsql_execute(ISC_STATUS* status, isc_tr_handle* tr, isc_stmt_handle* stmt,
                                          unsigned short version, const XSQLDA* in)
{
    return FORWARD(isc_dsql_execute, status, tr, stmt, version, in);
}

EXPORT ISC_STATUS bridge_isc_dsql_execute2(ISC_STATUS* status, isc_tr_handle* tr, isc_stmt_handle* stmt,
                                           unsigned short version, const XSQLDA* in, const XSQLDA* out)
{
    return FORWARD(isc_dsql_execute2, status, tr, stmt, version, in, out);
}

EXPORT ISC_STATUS bridge_isc_dsql_fetch(ISC_STATUS* status, isc_stmt_handle* stmt, unsigned short version,
                                        const XSQLDA* out)
{
    return FORWARD(isc_dsql_fetch, status, stmt, version, out);
}

EXPORT ISC_STATUS bridge_isc_dsql_free_statement(ISC_STATUS* status, isc_stmt_handle* stmt, unsigned short option)
{
    return FORWARD(isc_dsql_free_statement, status, stmt, option);
}

EXPORT ISC_STATUS bridge_isc_dsql_sql_info(ISC_STATUS* status, isc_stmt_handle* stmt, short items_length,
                                           const ISC_SCHAR* items, short buffer_length, ISC_SCHAR* buffer)
{
    return FORWARD(isc_dsql_sql_info, status, stmt, items_length, items, buffer_length, buffer);
}

EXPORT ISC_LONG bridge_fb_interpret(ISC_SCHAR* buffer, unsigned int size, const ISC_STATUS** status)
{
    return FORWARD(fb_interpret, buffer, size, status);
}

EXPORT ISC_LONG bridge_isc_interprete(ISC_SCHAR* buffer, ISC_STATUS** status)
{
    return FORWARD(isc_interprete, buffer, status);
}

EXPORT ISC_LONG bridge_isc_sqlcode(const ISC_STATUS* status)
{
    return FORWARD(isc_sqlcode, status);
}

/* Shutdown callbacks come from the Windows side, ms_abi: each is called
 * through a trampoline, and none once the DLL detaches (the Linux library
 * calls them again at process exit, when the Windows code is gone). */
typedef int (__attribute__((ms_abi)) * windows_shutdown_callback)(const int, const int, void*);
struct shutdown_entry {
    windows_shutdown_callback callback;
    void* arg;
};
static struct shutdown_entry shutdown_entries[16];
static int shutdown_count;
static volatile int detached;

static int shutdown_trampoline(const int reason, const int mask, void* arg)
{
    const struct shutdown_entry* entry = arg;
    if (detached) return 0;
    return entry->callback(reason, mask, entry->arg);
}

EXPORT ISC_STATUS bridge_fb_shutdown_callback(ISC_STATUS* status, windows_shutdown_callback callback, const int mask,
                                              void* arg)
{
    static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
    pthread_mutex_lock(&lock);
    if (shutdown_count == (int)(sizeof shutdown_entries / sizeof shutdown_entries[0])) {
        pthread_mutex_unlock(&lock);
        fprintf(stderr, "fbclient bridge: too many shutdown callbacks\n");
        abort();
    }
    struct shutdown_entry* entry = &shutdown_entries[shutdown_count++];
    entry->callback = callback;
    entry->arg = arg;
    pthread_mutex_unlock(&lock);
    return FORWARD(fb_shutdown_callback, status, shutdown_trampoline, mask, entry);
}

/* A client that does not load makes LoadLibrary fail, as a missing one would. */
EXPORT int DllMain(void* instance, unsigned int reason, void* reserved)
{
    (void)instance;
    (void)reserved;
    if (reason == 1 /* DLL_PROCESS_ATTACH */) return load_client();
    if (reason == 0 /* DLL_PROCESS_DETACH */) detached = 1;
    return 1;
}
