#include "support/test_database.h"

#include <cstdlib>
#include <stdexcept>

#include "support/isql_process.h"
#include "support/temp_dir.h"

#ifndef LIGAMOR_SCHEMA_SQL
#error LIGAMOR_SCHEMA_SQL must name db/schema.sql
#endif

namespace ligamor::test {

namespace {

// scripts/test gives the tests a Firebird of their own; without it they would
// write the machine's lock files, so they refuse to run at all.
const char* RequireTestFirebird(const char* variable)
{
    const char* value = std::getenv(variable);
    if (!value || !*value)
        throw std::runtime_error(std::string(variable) +
                                 " is unset: run the tests through scripts/test, which starts their own Firebird");
    return value;
}

// Runs isql-fb with the script as its input file; no database in the
// arguments lets the script name its own (CREATE DATABASE).
std::string Isql(std::vector<std::string> arguments, const std::string& script)
{
    RequireTestFirebird("FIREBIRD");
    TempDir scratch;
    const std::string input = scratch / "script.sql";
    WriteBytes(input, script);
    arguments.insert(arguments.begin(), {"-q", "-b"});
    arguments.insert(arguments.end(), {"-i", IsqlPath(input)});
    const IsqlResult result = RunIsqlFb(arguments, scratch);
    if (result.status != 0 || result.output.find("Statement failed") != std::string::npos)
        throw std::runtime_error("isql-fb failed: " + result.output);
    return result.output;
}

}  // namespace

std::string CreateDatabase(const std::string& folder, const std::string& name, int dialect,
                           const std::string& script, const std::string& charset)
{
    const std::string path = folder + name;
    std::string text = "SET SQL DIALECT " + std::to_string(dialect) + ";\nCREATE DATABASE '" + IsqlPath(path) +
                       "' PAGE_SIZE 4096 DEFAULT CHARACTER SET " + charset + ";\n" + script + "\nCOMMIT;\n";
    Isql({"-sqldialect", std::to_string(dialect)}, text);
    OpenToServer(path);
    return path;
}

std::string CreateShopDatabase(const std::string& folder, const std::string& name, const std::string& charset)
{
    static const std::string schema = ReadBytes(LIGAMOR_SCHEMA_SQL);
    if (schema.empty()) throw std::runtime_error("schema not found: " LIGAMOR_SCHEMA_SQL);
    return CreateDatabase(folder, name, 3, schema, charset);
}

std::string RunIsql(const std::string& databasePath, const std::string& script)
{
    return Isql({IsqlPath(databasePath)}, script + "\nCOMMIT;\n");
}

std::string ReadValue(const std::string& databasePath, const std::string& select)
{
    // The value between markers, so that blanks at its ends survive isql's
    // layout; NULL and no row both leave the markers out.
    static const std::string open = "<<[", close = "]>>";
    const std::string output = RunIsql(databasePath, "SET LIST ON;\nSELECT FIRST 1 '" + open + "' || V || '" + close +
                                                         "' FROM (" + select + ") AS Q (V);");
    const std::size_t begin = output.find(open);
    if (begin == std::string::npos) return "";
    const std::size_t end = output.find(close, begin + open.size());
    if (end == std::string::npos) return "";
    return output.substr(begin + open.size(), end - begin - open.size());
}

ServerValues LoopbackServer()
{
    ServerValues values;
    values.server = std::string("127.0.0.1/") + RequireTestFirebird("LIGAMOR_TEST_FB_PORT");
    const char* password = std::getenv("LIGAMOR_TEST_FB_PASSWORD");
    values.password = password && *password ? password : "masterkey";
    return values;
}

}  // namespace ligamor::test
