#pragma once
// Fresh Firebird databases for tests, made with isql-fb through the embedded
// engine, and the values to reach the loopback server.
#include <string>

namespace ligamor::test {

// Creates folder + name from the shop schema (dialect 3, default character
// set WIN1252 unless told) and returns its path. The file is open to user
// firebird, so the loopback server can attach to it too.
std::string CreateShopDatabase(const std::string& folder, const std::string& name = "LOJA.FDB",
                               const std::string& charset = "WIN1252");

// Creates folder + name in the given SQL dialect and default character set,
// runs script in it and returns its path.
std::string CreateDatabase(const std::string& folder, const std::string& name, int dialect,
                           const std::string& script, const std::string& charset = "WIN1252");

// Runs an isql-fb script (statements ending with ";") on an existing database
// through the embedded engine; returns isql's output. The embedded engine
// opens a database for one process only: run it before this process attaches. Raises std::runtime_error
// when isql-fb reports an error.
std::string RunIsql(const std::string& databasePath, const std::string& script);

// The first column of the first row of a select as the database converts it
// to text, read by isql-fb: "" for no row or NULL. Like RunIsql, it needs the
// database free of this process's attachments.
std::string ReadValue(const std::string& databasePath, const std::string& select);

// Reaches the tests' own Firebird server that scripts/test started; raises
// std::runtime_error when there is none (the machine's server is never used).
struct ServerValues {
    std::string server;  // "127.0.0.1/" LIGAMOR_TEST_FB_PORT
    std::string userName = "SYSDBA";
    std::string password;  // LIGAMOR_TEST_FB_PASSWORD, "masterkey" when unset
};
ServerValues LoopbackServer();

}  // namespace ligamor::test
