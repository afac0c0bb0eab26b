#pragma once
// The shop database of a test group: made fresh from the schema once per
// group; every test starts connected, on empty tables, and seeds the rows it
// needs. Values are read back through isql-fb, not through the query layer.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "db/dtmmain.h"
#include "runtime/failures.h"
#include "runtime/text1252.h"
#include "support/recording_seams.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace ligamor::test {

inline std::string NotNumericText(const std::string& value)
{
    return Cp1252("'" + value + "' não é um valor numérico válido");
}

class DatabaseTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = std::make_unique<TempDir>();
        database = CreateShopDatabase(folder_->Path());
    }
    static void TearDownTestSuite() { folder_.reset(); }

    // The client library stays loaded for the whole test program.
    static FbClientLoader& Loader()
    {
        static FbClientLoader loader;
        return loader;
    }

    void SetUp() override
    {
        ConnectDatabase(dtmain, database, "SYSDBA", "masterkey");
        for (const char* table : {"ITPEDIDOCOMPRACLIENTE", "PEDIDOCOMPRACLIENTE", "CLIENTE", "DETALHE", "UNIDADE",
                                  "UF", "ALIQUOTA", "TAMANHO", "TPSEXO"})
            Sql(std::string("delete from ") + table);
        messages.shown.clear();
    }

    // Seeds or changes rows; committed at once.
    void Sql(const std::string& statement) { ExecuteCommand(dtmain.conmain, messages, statement); }

    // The first column of the first row as text ("" for NULL or no row), read
    // by isql-fb. The embedded engine lets one process at a time open the
    // database, so conmain lets go of it meanwhile and attaches again after.
    std::string Value(const std::string& select)
    {
        const bool connected = dtmain.conmain.Connected();
        dtmain.conmain.Disconnect();
        std::string value = ReadValue(database, select);
        if (connected) dtmain.conmain.Connect();
        return value;
    }

    std::string Column(const std::string& table, const std::string& column, const std::string& where)
    {
        return Value("select " + column + " from " + table + " where " + where);
    }

    int Count(const std::string& table, const std::string& where = "1=1")
    {
        return std::stoi(Value("select count(*) from " + table + " where " + where));
    }

    // The only message shown, as a plain message.
    void ExpectOnlyPlain(const std::string& text)
    {
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].kind, Shown::Plain);
        EXPECT_EQ(messages.shown[0].text, text);
    }

    static inline std::unique_ptr<TempDir> folder_;
    static inline std::string database;
    RecordingMessages messages;
    FixedClock clock;
    DataModule dtmain{Loader()};
};

}  // namespace ligamor::test
