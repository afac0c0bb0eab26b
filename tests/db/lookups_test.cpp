// Existence tests, lookups and unit codes on a real database.
#include "support/database_fixture.h"

#include "db/untTransacao.h"

#include "db/sql_values.h"

namespace ligamor::test {
namespace {

class Lookups : public DatabaseTest {
protected:
    OwnCommitWork work{dtmain.conmain};
};

TEST_F(Lookups, ExistenceTestsFindStoredKeysOnly)
{
    Sql("insert into UF (cduf, sguf) values (43, 'RS')");
    EXPECT_TRUE(RecordExists(work, "UF", "CDUF", "43"));
    EXPECT_FALSE(RecordExists(work, "UF", "CDUF", "44"));

    Sql("insert into UNIDADE (cdunidade, nmunidade, nmreduzido) values (7, 'UNIDADE', 'UN')");
    EXPECT_TRUE(RecordExistsByPair(work, "UNIDADE", "CDUNIDADE", "CDUNIDADE", "7", " 7 "));
    EXPECT_FALSE(RecordExistsByPair(work, "UNIDADE", "CDUNIDADE", "CDUNIDADE", "7", "8"));
}

TEST_F(Lookups, KeysThatAreNotOneNumberAreRefusedBeforeTheQuery)
{
    Sql("insert into UF (cduf, sguf) values (43, 'RS')");
    for (const std::string bad : {"43 OR 1=1", "0 or cduf > 0", "4 3", "1.2.3", "--1", " ", "+", "43;"}) {
        try {
            RecordExists(work, "UF", "CDUF", bad);
            ADD_FAILURE() << bad;
        } catch (const ConversionFailure& failure) {
            EXPECT_EQ(failure.Message(), NotNumericText(bad));
        }
    }
    EXPECT_THROW(RecordExistsByPair(work, "UF", "CDUF", "CDUF", "43", "1 or 1=1"), ConversionFailure);
    EXPECT_TRUE(messages.shown.empty());
    for (const std::string good : {"43", " 43", "+43 ", "-1", "4.", ".5", "1500.00"})
        EXPECT_TRUE(IsNumericLiteral(good)) << good;
}

TEST_F(Lookups, AnEmptyKeyReachesTheDatabaseAndFailsThere)
{
    EXPECT_THROW(RecordExists(work, "UF", "CDUF", ""), DatabaseFailure);
}

TEST_F(Lookups, TextLookupsGiveTheCodeOrEmptyText)
{
    Sql("insert into UF (cduf, sguf) values (43, 'RS')");
    Sql("insert into ALIQUOTA (cdaliquota, nmaliquota) values (3, 'T1')");
    Sql("insert into UNIDADE (cdunidade, nmunidade, nmreduzido) values (7, 'UNIDADE', 'UN')");

    EXPECT_EQ(LookupUfBySigla(work, "RS"), "43");
    EXPECT_EQ(LookupAliquotaByCode(work, "3"), "3");
    EXPECT_EQ(LookupUnidadeByCode(work, "7"), "7");
    EXPECT_EQ(FindUfCode(work, "RS"), 43);
    EXPECT_EQ(FindAliquotaCode(work, "T1"), 3);

    EXPECT_EQ(LookupUfBySigla(work, "XX"), "");
    EXPECT_EQ(LookupAliquotaByCode(work, "9"), "");
    EXPECT_EQ(LookupUnidadeByCode(work, "9"), "");
    EXPECT_EQ(FindUfCode(work, "XX"), 0);
    EXPECT_EQ(FindAliquotaCode(work, "T9"), 0);
}

TEST_F(Lookups, QuotesInsideLookedUpTextAreMatchedAsWritten)
{
    Sql("insert into UF (cduf, sguf) values (1, 'A''')");
    EXPECT_EQ(LookupUfBySigla(work, "A'"), "1");
    EXPECT_EQ(FindUfCode(work, "A'"), 1);
    EXPECT_EQ(LookupUfBySigla(work, "x' or '1'='1"), "");
    // A code compared as text that is no number: the database refuses it.
    EXPECT_THROW(LookupUnidadeByCode(work, "1' or '1'='1"), DatabaseFailure);
}

TEST_F(Lookups, AMissingUnitIsCreatedWithTheNextCodeAndFoundTheSecondTime)
{
    Sql("insert into UNIDADE (cdunidade, nmunidade, nmreduzido) values (12, 'QUILO', 'KGS')");
    EXPECT_EQ(FindOrCreateUnidade(work, "KG"), 13);
    EXPECT_EQ(Value("select nmunidade || '|' || nmreduzido || '|' || usuinclusao || '|' || compinclusao || '|' || "
                    "usualteracao || '|' || compalteracao from UNIDADE where cdunidade = 13"),
              "KG|KG|MASTER|MASTER|MASTER|MASTER");

    EXPECT_EQ(FindOrCreateUnidade(work, "KG"), 13);
    EXPECT_EQ(FindOrCreateUnidade(work, "KGS"), 12);
    EXPECT_EQ(Count("UNIDADE"), 2);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Lookups, UnitCodesStartAtZeroAndAcceptQuotesAndEmptyNames)
{
    EXPECT_EQ(FindOrCreateUnidade(work, "UN"), 0);
    EXPECT_EQ(Column("UNIDADE", "nmreduzido", "cdunidade = 0"), "UN");

    EXPECT_EQ(FindOrCreateUnidade(work, "P'C"), 1);
    EXPECT_EQ(Column("UNIDADE", "nmunidade", "cdunidade = 1"), "P'C");
    EXPECT_EQ(FindOrCreateUnidade(work, "P'C"), 1);

    EXPECT_EQ(FindOrCreateUnidade(work, ""), 2);
    EXPECT_EQ(FindOrCreateUnidade(work, ""), 2);
    EXPECT_EQ(Count("UNIDADE"), 3);
}

TEST_F(Lookups, SelectValueReadsTheFirstColumnOfTheFirstRow)
{
    EXPECT_EQ(SelectValue(work, "select cduf from UF"), "");
    Sql("insert into UF (cduf, sguf) values (43, 'RS')");
    EXPECT_EQ(SelectValue(work, "select cduf, sguf from UF"), "43");
    EXPECT_EQ(SelectValue(work, "select sguf from UF where cduf = 43"), "RS");
}

}  // namespace
}  // namespace ligamor::test
