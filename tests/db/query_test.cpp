// The query objects of the lookups: reading the first column, running one
// statement in trnMain.
#include <gtest/gtest.h>

#include "support/database_fixture.h"

namespace ligamor {
namespace {

class QueryTest : public test::DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        Sql("INSERT INTO UF (CDUF, SGUF) VALUES (25, 'SP')");
        Sql("INSERT INTO UF (CDUF, SGUF) VALUES (26, NULL)");
        Sql("INSERT INTO CLIENTE (CDCLIENTE, NMCLIENTE, NUCXPOSTAL, CDUF, VLLIMITE) "
            "VALUES (1, ' 42 ', '   ', 'SP', 1500)");
        Sql("INSERT INTO DETALHE (CDDETALHE, QTESTOQUE, VLVENDA) VALUES (1, 0.005, -0.5)");
    }

    std::unique_ptr<Query> Open(const std::string& statement) { return OpenQuery(dtmain, statement); }
};

TEST_F(QueryTest, NoRowAndNullReadAsEmptyTextAndZero)
{
    auto none = Open("select cduf from uf where SGUF = 'XX'");
    EXPECT_TRUE(none->IsEmpty());
    EXPECT_EQ("", none->FirstAsText());
    EXPECT_EQ(0, none->FirstAsInteger());

    auto null = Open("select sguf from uf where cduf = 26");
    EXPECT_FALSE(null->IsEmpty());
    EXPECT_EQ("", null->FirstAsText());
    EXPECT_EQ(0, null->FirstAsInteger());

    auto max = Open("select MAX(cdunidade)+1 from unidade");
    EXPECT_FALSE(max->IsEmpty());
    EXPECT_EQ(0, max->FirstAsInteger());

    Query closed(dtmain.conmain);
    EXPECT_TRUE(closed.IsEmpty());
    EXPECT_EQ("", closed.FirstAsText());
}

TEST_F(QueryTest, NumbersReadAsExactText)
{
    EXPECT_EQ("25", Open("select cduf from uf where SGUF = 'SP'")->FirstAsText());
    EXPECT_EQ(25, Open("select cduf from uf where SGUF = 'SP'")->FirstAsInteger());
    EXPECT_EQ("1500.00", Open("select vllimite from cliente")->FirstAsText());
    EXPECT_EQ("0.005", Open("select qtestoque from detalhe")->FirstAsText());
    EXPECT_EQ("-0.50", Open("select vlvenda from detalhe")->FirstAsText());
    EXPECT_EQ("27", Open("select MAX(cduf)+1 from uf")->FirstAsText());
    EXPECT_EQ("9223372036854775807", Open("select cast(9223372036854775807 as bigint) from rdb$database")->FirstAsText());
    // More columns than the first description holds.
    EXPECT_EQ("1", Open("select * from cliente")->FirstAsText());
    EXPECT_EQ("-32768", Open("select cast(-32768 as smallint) from rdb$database")->FirstAsText());
}

TEST_F(QueryTest, TextsComeBackByteForByte)
{
    const std::string name = "JOS\xC9 CONCEI\xC7\xC3O D'\xC1VILA \x80";
    ExecuteCommand(dtmain.conmain, messages, "INSERT INTO CLIENTE (CDCLIENTE, NMCLIENTE) VALUES (2, '" +
                                       std::string("JOS\xC9 CONCEI\xC7\xC3O D''\xC1VILA \x80") + "')");
    EXPECT_EQ(name, Open("select nmcliente from cliente where cdcliente = 2")->FirstAsText());
    // Stored as Windows-1252 text: a reader in UTF-8 sees the same letters.
    EXPECT_EQ("JOS\xC3\x89 CONCEI\xC3\x87\xC3\x83O D'\xC3\x81VILA \xE2\x82\xAC",
              Open("select cast(nmcliente as varchar(100) character set utf8) from cliente where cdcliente = 2")
                  ->FirstAsText());
    EXPECT_EQ("AB  ", Open("select cast('AB' as char(4)) from rdb$database")->FirstAsText());
}

TEST_F(QueryTest, TextReadAsIntegerIsTrimmedBlankIsZeroAndOtherTextFails)
{
    EXPECT_EQ(42, Open("select nmcliente from cliente where cdcliente = 1")->FirstAsInteger());
    EXPECT_EQ(0, Open("select nucxpostal from cliente where cdcliente = 1")->FirstAsInteger());
    auto text = Open("select cduf from cliente where cdcliente = 1");
    try {
        text->FirstAsInteger();
        FAIL() << "no failure raised";
    } catch (const ConversionFailure& failure) {
        EXPECT_EQ("'SP' is not a valid integer value", failure.Message());
    }
}

TEST_F(QueryTest, OpeningAnOpenQueryDoesNothing)
{
    Query query(dtmain.conmain);
    query.SetText("select count(*) from uf");
    query.Open();
    ExecuteCommand(dtmain.conmain, messages, "INSERT INTO UF (CDUF, SGUF) VALUES (27, 'RJ')");
    query.Open();
    EXPECT_EQ("2", query.FirstAsText());
    query.Close();
    query.Open();
    EXPECT_EQ("3", query.FirstAsText());
}

TEST_F(QueryTest, ExecuteRunsItsLinesInTheDefaultTransactionAndCommitsAtOnce)
{
    Query insert(dtmain.conmain);
    insert.Lines() = {"insert into unidade (cdunidade, nmunidade, nmreduzido, usuinclusao, compinclusao, "
                      "usualteracao, compalteracao)",
                      "values ('13', 'KG', 'KG', 'MASTER', 'MASTER', 'MASTER', 'MASTER')"};
    insert.Execute();
    EXPECT_TRUE(insert.IsEmpty());
    // Another attachment sees it: it is committed.
    EXPECT_EQ("KG", Value("select nmreduzido from unidade where cdunidade = 13"));
    EXPECT_EQ("MASTER", Value("select compalteracao from unidade where cdunidade = 13"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(QueryTest, FailuresPropagateUnchangedAndShowNothing)
{
    try {
        Open("select cdtamanho from tamanho where nmtamanho = 'O'NEIL'");
        FAIL() << "no failure raised";
    } catch (const DatabaseFailure& failure) {
        EXPECT_EQ(0u, failure.Message().rfind("ISC ERROR CODE:335544569\r\n", 0)) << failure.Message();
    }
    Query insert(dtmain.conmain);
    insert.SetText("insert into uf (cduf, sguf) values (25, 'MG')");
    EXPECT_THROW(insert.Execute(), DatabaseFailure);
    EXPECT_TRUE(messages.shown.empty());
    // The refused insert left nothing behind in trnMain.
    EXPECT_EQ("SP", Open("select sguf from uf where cduf = 25")->FirstAsText());
    EXPECT_EQ("2", Value("select count(*) from uf"));
}

}  // namespace
}  // namespace ligamor
