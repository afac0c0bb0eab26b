#pragma once
// A fresh embedded database per test group; every test starts from empty
// tables and seeds the rows it needs with statements.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "db/dtmmain.h"
#include "db/untTransacao.h"
#include "engine/record_context.h"
#include "runtime/failures.h"
#include "runtime/text1252.h"
#include "support/recording_seams.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace ligamor::test {

inline std::string Blanks(std::size_t n) { return std::string(n, ' '); }

// The plain message ExecuteCommand shows for a refused statement.
inline std::string CommandMessage(const std::string& statement)
{
    return Cp1252("Não foi possível executar o comando: ") + "\n\r" + statement;
}

inline std::string NotNumericText(const std::string& value)
{
    return Cp1252("'" + value + "' não é um valor numérico válido");
}

class TransactionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = std::make_unique<TempDir>();
        databasePath_ = CreateShopDatabase(folder_->Path());
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
        ConnectDatabase(dtmain, databasePath_, "SYSDBA", "masterkey");
        for (const char* table : {"ITPEDIDOCOMPRACLIENTE", "PEDIDOCOMPRACLIENTE", "CLIENTE", "DETALHE", "UNIDADE",
                                  "UF", "ALIQUOTA", "TAMANHO", "TPSEXO"})
            Sql(std::string("delete from ") + table);
        messages.shown.clear();
    }

    // Seeds or changes rows; committed at once.
    void Sql(const std::string& statement) { ExecuteCommand(dtmain.conmain, statement); }

    // The first column of the first row as text ("" for NULL or no row).
    std::string Value(const std::string& statement) { return SelectValue(dtmain, statement); }

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
    static inline std::string databasePath_;
    RecordingMessages messages;
    FixedClock clock;
    DataModule dtmain{Loader(), messages};
    RecordContext ctx{dtmain, messages, clock, RegionalSettings{}};
};

}  // namespace ligamor::test
