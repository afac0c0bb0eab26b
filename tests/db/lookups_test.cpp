// Existence tests, lookups and unit codes on a real database.
#include "support/database_fixture.h"

#include "db/untTransacao.h"

#include "db/sql_values.h"

namespace ligamor::test {
namespace {

using Lookups = DatabaseTest;

TEST_F(Lookups, ExistenceTestsFindStoredKeysOnly)
{
    Sql("insert into UF (cduf, sguf) values (43, 'RS')");
    EXPECT_TRUE(RecordExists(dtmain, "UF", "CDUF", "43"));
    EXPECT_FALSE(RecordExists(dtmain, "UF", "CDUF", "44"));

    Sql("insert into UNIDADE (cdunidade, nmunidade, nmreduzido) values (7, 'UNIDADE', 'UN')");
    EXPECT_TRUE(RecordExistsByPair(dtmain, "UNIDADE", "CDUNIDADE", "CDUNIDADE", "7", " 7 "));
    EXPECT_FALSE(RecordExistsByPair(dtmain, "UNIDADE", "CDUNIDADE", "CDUNIDADE", "7", "8"));
}

TEST_F(Lookups, KeysThatAreNotOneNumberAreRefusedBeforeTheQuery)
{
    Sql("insert into UF (cduf, sguf) values (43, 'RS')");
    for (const std::string bad : {"43 OR 1=1", "0 or cduf > 0", "4 3", "1.2.3", "--1", " ", "+", "43;"}) {
        try {
            RecordExists(dtmain, "UF", "CDUF", bad);
            ADD_FAILURE() << bad;
        } catch (const ConversionFailure& failure) {
            EXPECT_EQ(failure.Message(), NotNumericText(bad));
        }
    }
    EXPECT_THROW(RecordExistsByPair(dtmain, "UF", "CDUF", "CDUF", "43", "1 or 1=1"), ConversionFailure);
    EXPECT_TRUE(messages.shown.empty());
    for (const std::string good : {"43", " 43", "+43 ", "-1", "4.", ".5", "1500.00"})
        EXPECT_TRUE(IsNumericLiteral(good)) << good;
}

TEST_F(Lookups, AnEmptyKeyReachesTheDatabaseAndFailsThere)
{
    EXPECT_THROW(RecordExists(dtmain, "UF", "CDUF", ""), DatabaseFailure);
}

TEST_F(Lookups, TextLookupsGiveTheCodeOrEmptyText)
{
    Sql("insert into UF (cduf, sguf) values (43, 'RS')");
    Sql("insert into ALIQUOTA (cdaliquota, nmaliquota) values (3, 'T1')");
    Sql("insert into UNIDADE (cdunidade, nmunidade, nmreduzido) values (7, 'UNIDADE', 'UN')");

    EXPECT_EQ(LookupUfBySigla(dtmain, "RS"), "43");
    EXPECT_EQ(LookupAliquotaByCode(dtmain, "3"), "3");
    EXPECT_EQ(LookupUnidadeByCode(dtmain, "7"), "7");
    EXPECT_EQ(FindUfCode(dtmain, "RS"), 43);
    EXPECT_EQ(FindAliquotaCode(dtmain, "T1"), 3);

    EXPECT_EQ(LookupUfBySigla(dtmain, "XX"), "");
    EXPECT_EQ(LookupAliquotaByCode(dtmain, "9"), "");
    EXPECT_EQ(LookupUnidadeByCode(dtmain, "9"), "");
    EXPECT_EQ(FindUfCode(dtmain, "XX"), 0);
    EXPECT_EQ(FindAliquotaCode(dtmain, "T9"), 0);
}

TEST_F(Lookups, QuotesInsideLookedUpTextAreMatchedAsWritten)
{
    Sql("insert into UF (cduf, sguf) values (1, 'A''')");
    EXPECT_EQ(LookupUfBySigla(dtmain, "A'"), "1");
    EXPECT_EQ(FindUfCode(dtmain, "A'"), 1);
    EXPECT_EQ(LookupUfBySigla(dtmain, "x' or '1'='1"), "");
    // A code compared as text that is no number: the database refuses it.
    EXPECT_THROW(LookupUnidadeByCode(dtmain, "1' or '1'='1"), DatabaseFailure);
}

TEST_F(Lookups, AMissingUnitIsCreatedWithTheNextCodeAndFoundTheSecondTime)
{
    Sql("insert into UNIDADE (cdunidade, nmunidade, nmreduzido) values (12, 'QUILO', 'KGS')");
    EXPECT_EQ(FindOrCreateUnidade(dtmain, "KG"), 13);
    EXPECT_EQ(Value("select nmunidade || '|' || nmreduzido || '|' || usuinclusao || '|' || compinclusao || '|' || "
                    "usualteracao || '|' || compalteracao from UNIDADE where cdunidade = 13"),
              "KG|KG|MASTER|MASTER|MASTER|MASTER");

    EXPECT_EQ(FindOrCreateUnidade(dtmain, "KG"), 13);
    EXPECT_EQ(FindOrCreateUnidade(dtmain, "KGS"), 12);
    EXPECT_EQ(Count("UNIDADE"), 2);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Lookups, UnitCodesStartAtZeroAndAcceptQuotesAndEmptyNames)
{
    EXPECT_EQ(FindOrCreateUnidade(dtmain, "UN"), 0);
    EXPECT_EQ(Column("UNIDADE", "nmreduzido", "cdunidade = 0"), "UN");

    EXPECT_EQ(FindOrCreateUnidade(dtmain, "P'C"), 1);
    EXPECT_EQ(Column("UNIDADE", "nmunidade", "cdunidade = 1"), "P'C");
    EXPECT_EQ(FindOrCreateUnidade(dtmain, "P'C"), 1);

    EXPECT_EQ(FindOrCreateUnidade(dtmain, ""), 2);
    EXPECT_EQ(FindOrCreateUnidade(dtmain, ""), 2);
    EXPECT_EQ(Count("UNIDADE"), 3);
}

TEST_F(Lookups, SelectValueReadsTheFirstColumnOfTheFirstRow)
{
    EXPECT_EQ(SelectValue(dtmain, "select cduf from UF"), "");
    Sql("insert into UF (cduf, sguf) values (43, 'RS')");
    EXPECT_EQ(SelectValue(dtmain, "select cduf, sguf from UF"), "43");
    EXPECT_EQ(SelectValue(dtmain, "select sguf from UF where cduf = 43"), "RS");
}

}  // namespace
}  // namespace ligamor::test
