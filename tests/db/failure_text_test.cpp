// The text of a failure the database reports, as the error report shows it.
#include <gtest/gtest.h>

#include "db/firebird/fb_status.h"
#include "support/database_fixture.h"

namespace ligamor {
namespace {

class FailureTextTest : public test::DatabaseTest {
protected:
    static void SetUpTestSuite()
    {
        DatabaseTest::SetUpTestSuite();
        test::RunIsql(database,
                      "CREATE EXCEPTION EX_LIMITE 'Limite de credito excedido';\n"
                      "SET TERM ^;\n"
                      "CREATE TRIGGER TG_CLIENTE FOR CLIENTE BEFORE INSERT AS BEGIN\n"
                      "  IF (NEW.VLLIMITE > 100000) THEN EXCEPTION EX_LIMITE;\n"
                      "  IF (NEW.VLLIMITE < 0) THEN EXCEPTION EX_LIMITE 'Limite negativo: ' || NEW.CDCLIENTE;\n"
                      "END^\n"
                      "CREATE PROCEDURE PROC_DE_CALCULO_NIVEL_TRES RETURNS (R INTEGER) AS BEGIN R = 1 / 0; SUSPEND; END^\n"
                      "CREATE PROCEDURE PROC_DE_CALCULO_NIVEL_DOIS RETURNS (R INTEGER) AS BEGIN\n"
                      "  SELECT R FROM PROC_DE_CALCULO_NIVEL_TRES INTO R; SUSPEND; END^\n"
                      "CREATE TRIGGER TG_UF FOR UF BEFORE UPDATE AS DECLARE X INTEGER; BEGIN\n"
                      "  IF (NEW.CDUF = 2) THEN EXCEPTION EX_LIMITE RPAD('Limite ', 300, 'x');\n"
                      "  IF (NEW.CDUF = 3) THEN SELECT R FROM PROC_DE_CALCULO_NIVEL_DOIS INTO X;\n"
                      "END^\n"
                      "SET TERM ;^");
    }

    void SetUp() override
    {
        DatabaseTest::SetUp();
        Sql("INSERT INTO UF (CDUF, SGUF) VALUES (1, 'SP')");
    }

    std::string FailureOf(const std::string& statement)
    {
        try {
            ExecuteCommand(dtmain.conmain, messages, statement);
        } catch (const DatabaseFailure& failure) {
            return failure.Message();
        }
        ADD_FAILURE() << "no failure raised";
        return "";
    }
};

TEST_F(FailureTextTest, CodeThenEachMessageLineEndingWithCrLf)
{
    EXPECT_EQ("ISC ERROR CODE:335544665\r\n"
              "\r\n"
              "ISC ERROR MESSAGE:\r\n"
              "violation of PRIMARY or UNIQUE KEY constraint \"PK_UF\" on table \"UF\"\r\n"
              "Problematic key value is (\"CDUF\" = 1)\r\n",
              FailureOf("INSERT INTO UF (CDUF, SGUF) VALUES (1, 'RJ')"));
    EXPECT_EQ("ISC ERROR CODE:335544569\r\n"
              "\r\n"
              "ISC ERROR MESSAGE:\r\n"
              "Dynamic SQL Error\r\n"
              "SQL error code = -104\r\n"
              "Token unknown - line 1, column 49\r\n"
              ",\r\n",
              FailureOf(" UPDATE CLIENTE SET CDSTCLIENTE = 1, VLLIMITE = , NMCLIENTE = 'A' WHERE CDCLIENTE = 1"));
}

TEST_F(FailureTextTest, ADatabaseExceptionGivesOnlyItsOwnMessage)
{
    EXPECT_EQ("Limite de credito excedido",
              FailureOf("INSERT INTO CLIENTE (CDCLIENTE, VLLIMITE) VALUES (1, 200000.00)"));
    EXPECT_EQ("Limite negativo: 2", FailureOf("INSERT INTO CLIENTE (CDCLIENTE, VLLIMITE) VALUES (2, -1)"));
}

TEST_F(FailureTextTest, TheTextIsCutTo255Characters)
{
    // The stack trace's lines come from one cluster; they are lines too.
    const std::string text = FailureOf("UPDATE UF SET CDUF = 3 WHERE CDUF = 1");
    EXPECT_EQ(255u, text.size());
    EXPECT_EQ("ISC ERROR CODE:335544321\r\n\r\nISC ERROR MESSAGE:\r\n"
              "arithmetic exception, numeric overflow, or string truncation\r\n"
              "Integer divide by zero.  The code attempted to divide an integer value by an integer divisor "
              "of zero.\r\n"
              "At procedure 'PROC_DE_CALCULO_NIVEL_TRES' ",
              text);
    // A database exception's message is cut the same way.
    EXPECT_EQ("Limite " + std::string(255 - 7, 'x'), FailureOf("UPDATE UF SET CDUF = 2 WHERE CDUF = 1"));
}

TEST_F(FailureTextTest, ALineRepeatedBackToBackIsKeptOnceAndLinesAreTrimmed)
{
    FbApi& api = Loader().Api();
    const char* repeated = "  mesma linha ";
    const char* other = "outra linha";
    const ISC_STATUS status[] = {isc_arg_gds, isc_random, isc_arg_string, reinterpret_cast<ISC_STATUS>(repeated),
                                 isc_arg_gds, isc_random, isc_arg_string, reinterpret_cast<ISC_STATUS>(repeated),
                                 isc_arg_gds, isc_random, isc_arg_string, reinterpret_cast<ISC_STATUS>(other),
                                 isc_arg_gds, isc_random, isc_arg_string, reinterpret_cast<ISC_STATUS>(repeated),
                                 isc_arg_end};
    ASSERT_TRUE(FbStatusIsError(status));
    EXPECT_EQ("ISC ERROR CODE:335544382\r\n\r\nISC ERROR MESSAGE:\r\n"
              "mesma linha\r\noutra linha\r\nmesma linha\r\n",
              FbStatusFailure(api, status).Message());
}

}  // namespace
}  // namespace ligamor
