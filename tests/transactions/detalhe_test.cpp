// The product transaction on a real database.
#include "support/record_fixture.h"

#include "transactions/untTransDetalhe.h"

namespace ligamor::test {
namespace {

struct Produto : DetalheRecord {
    Produto()
        : DetalheRecord{.CDDETALHE = "1001",
                        .NMDETALHE = "ARROZ 5KG",
                        .CDALIQUOTA = "T1",
                        .QTESTOQUE = "10.5",
                        .CDUNIDADE = "UN",
                        .CDALTERNATIVO = "",
                        .VLCOMPRA = "8.20",
                        .VLVENDA = "12.90"}
    {
    }
};

class DetalheTest : public RecordTest {
protected:
    void SetUp() override
    {
        RecordTest::SetUp();
        Sql("insert into ALIQUOTA (cdaliquota, nmaliquota) values (3, 'T1')");
        Sql("insert into UNIDADE (cdunidade, nmunidade, nmreduzido) values (7, 'UNIDADE', 'UN')");
    }
    void Insert(const Produto& p) { InsertDetalhe(ctx, p); }
    void Update(const Produto& p) { UpdateDetalhe(ctx, p); }
    std::string Row(const std::string& code = "1001")
    {
        return Value("select NMDETALHE || '|' || CDALIQUOTA || '|' || QTESTOQUE || '|' || CDUNIDADE || '|' || "
                     "CDTPPRODUTO || '|' || QTESTMIN || '|' || QTESTMAX || '|' || VLCOMPRA || '|' || VLVENDA || "
                     "'|' || CDPRODUTO || '|' || CDTPSEXO || '|' || CDFORMAPECA || '|' || CDTAMANHO || '|' || "
                     "CDALTERNATIVO || '|' || USUINCLUSAO || '|' || COMPINCLUSAO || '|' || USUALTERACAO || '|' || "
                     "COMPALTERACAO from DETALHE where CDDETALHE = " +
                     code);
    }
};

TEST_F(DetalheTest, ANewProductGetsItsCodesAndTheFixedValues)
{
    Produto p;
    Insert(p);
    EXPECT_EQ(Row(), "ARROZ 5KG|3|10.500|7|1|0.000|0.000|8.20|12.90|1|1|1|1|1|MIGRACAO|MIGRACAO|MIGRACAO|MIGRACAO");

    p.CDDETALHE = "1002";
    p.QTESTOQUE = p.VLCOMPRA = " ";
    p.VLVENDA = "";
    p.CDALIQUOTA = "T9";
    p.CDUNIDADE = "CX";
    Insert(p);
    EXPECT_EQ(Row("1002"), "ARROZ 5KG|0|0.000|8|1|0.000|0.000|0.00|0.00|1|1|1|1|1|MIGRACAO|MIGRACAO|MIGRACAO|MIGRACAO");
    EXPECT_EQ(Column("UNIDADE", "nmreduzido || usuinclusao", "cdunidade = 8"), "CXMASTER");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DetalheTest, InsertOfAStoredProductUpdatesItAndResetsLimits)
{
    Produto p;
    Insert(p);
    Sql("update DETALHE set QTESTMIN = 5, QTESTMAX = 50, CDALTERNATIVO = 9, USUINCLUSAO = 'ANA' "
        "where CDDETALHE = 1001");
    p.NMDETALHE = "ARROZ 1KG";
    p.QTESTOQUE = "";
    p.CDUNIDADE = "KG";
    Insert(p);
    EXPECT_EQ(Row(), "ARROZ 1KG|3|0.000|8|1|0.000|0.000|8.20|12.90|1|1|1|1|1001|ANA|MIGRACAO|MIGRACAO|MIGRACAO");
    EXPECT_EQ(Count("DETALHE"), 1);
}

TEST_F(DetalheTest, UpdateResolvesCodesAndKeepsOnlyWhatItDoesNotName)
{
    Produto p;
    Insert(p);
    p.CDALIQUOTA = "3";
    p.CDUNIDADE = "7";
    p.CDALTERNATIVO = "55";
    p.VLVENDA = "13.50";
    Update(p);
    EXPECT_EQ(Column("DETALHE", "CDALTERNATIVO || '|' || VLVENDA || '|' || CDALIQUOTA", "CDDETALHE = 1001"),
              "55|13.50|3");

    p.CDDETALHE = "4242";
    Update(p);
    EXPECT_EQ(Count("DETALHE"), 1);
}

TEST_F(DetalheTest, StatementTextsAreExact)
{
    Produto p;
    p.QTESTOQUE = "DEZ";
    EXPECT_THROW(Insert(p), DatabaseFailure);
    ExpectOnlyPlain(CommandMessage(
            " INSERT INTO DETALHE(CDDETALHE, NMDETALHE, CDALIQUOTA, QTESTOQUE, CDUNIDADE, CDTPPRODUTO,  QTEST"
            "MIN, QTESTMAX, VLCOMPRA, VLVENDA, CDPRODUTO, CDTPSEXO, USUINCLUSAO,  COMPINCLUSAO, USUALTERACAO,"
            " COMPALTERACAO, CDFORMAPECA, CDTAMANHO, CDALTERNATIVO) VALUES(1001, 'ARROZ 5KG', '3', 'DEZ', 7, "
            "1,'0', '0','8.20', '12.90', 1,1,'MIGRACAO', 'MIGRACAO', 'MIGRACAO', 'MIGRACAO', 1,1,1)"));
    EXPECT_EQ(Count("DETALHE"), 0);

    messages.shown.clear();
    p.QTESTOQUE = "1";
    p.CDALIQUOTA = "3";
    p.CDUNIDADE = "99";
    EXPECT_THROW(Update(p), DatabaseFailure);
    ExpectOnlyPlain(CommandMessage(
            " UPDATE DETALHE SET                     NMDETALHE     = 'ARROZ 5KG',         CDALIQUOTA    = '3'"
            ",     QTESTOQUE     = 1,        CDUNIDADE     =  ,         CDTPPRODUTO   = 1,                   "
            "  CDTPSEXO      = 1,                     CDPRODUTO     = 1,                     CDFORMAPECA   = "
            "1,                     CDTAMANHO     = 1,                     CDALTERNATIVO =  '1001',   QTESTMI"
            "N      = 0,               QTESTMAX      = 0,               VLCOMPRA      = 8.20,         VLVENDA"
            "       = 12.90           WHERE CDDETALHE = 1001         "));

    // A tax-rate code that is not stored writes empty text.
    messages.shown.clear();
    Insert(Produto{});
    p.CDALIQUOTA = "9";
    p.CDUNIDADE = "7";
    Update(p);
    EXPECT_EQ(Column("DETALHE", "'[' || CDALIQUOTA || ']'", "CDDETALHE = 1001"), "[]");
}

TEST_F(DetalheTest, UnquotedValuesMustBeNumbers)
{
    Produto p;
    Insert(p);
    // Built in place: GCC 12 warns falsely (-Wrestrict) about assigning these literals in Release.
    p.CDALIQUOTA = std::string(1, '3');
    p.CDUNIDADE = std::string(1, '7');
    p.VLCOMPRA = std::string("0 , NMDETALHE = 'X'");
    try {
        Update(p);
        ADD_FAILURE();
    } catch (const ConversionFailure& failure) {
        EXPECT_EQ(failure.Message(), NotNumericText(p.VLCOMPRA));
    }
    ExpectOnlyPlain(CommandMessage(
            " UPDATE DETALHE SET                     NMDETALHE     = 'ARROZ 5KG',         CDALIQUOTA    = '3'"
            ",     QTESTOQUE     = 10.5,        CDUNIDADE     = 7 ,         CDTPPRODUTO   = 1,               "
            "      CDTPSEXO      = 1,                     CDPRODUTO     = 1,                     CDFORMAPECA "
            "  = 1,                     CDTAMANHO     = 1,                     CDALTERNATIVO =  '1001',   QTE"
            "STMIN      = 0,               QTESTMAX      = 0,               VLCOMPRA      = 0 , NMDETALHE = '"
            "X',         VLVENDA       = 12.90           WHERE CDDETALHE = 1001         "));
    EXPECT_EQ(Column("DETALHE", "NMDETALHE", "CDDETALHE = 1001"), "ARROZ 5KG");
}

TEST_F(DetalheTest, NamesWithQuotesAreStoredAsWritten)
{
    Produto p;
    p.NMDETALHE = Cp1252("BISCOITO D'ÁVILA");
    p.CDUNIDADE = "P'C";
    Insert(p);
    EXPECT_EQ(Column("DETALHE", "NMDETALHE", "CDDETALHE = 1001"), Cp1252("BISCOITO D'ÁVILA"));
    EXPECT_EQ(Column("UNIDADE", "nmreduzido", "cdunidade = 8"), "P'C");

    p.NMDETALHE = "O'NEIL";
    p.CDALIQUOTA = "3";
    p.CDUNIDADE = "8";
    p.CDALTERNATIVO = "A'1";
    Update(p);
    EXPECT_EQ(Column("DETALHE", "NMDETALHE || '|' || CDALTERNATIVO", "CDDETALHE = 1001"), "O'NEIL|A'1");
    EXPECT_TRUE(messages.shown.empty());
}

TEST(ProductUpdate, NeedsNoSizeOrSexTable)
{
    TempDir folder;
    const std::string path = CreateShopDatabase(folder.Path());
    RunIsql(path, "drop table TAMANHO; drop table TPSEXO; commit;"
                  "insert into UNIDADE (cdunidade, nmreduzido) values (7, 'UN'); commit;");
    static FbClientLoader loader;
    RecordingMessages messages;
    FixedClock clock;
    DataModule dtmain{loader};
    ConnectDatabase(dtmain, path, "SYSDBA", "masterkey");
    RecordContext ctx{dtmain, messages, clock, RegionalSettings{}};

    InsertDetalhe(ctx, {.CDDETALHE = "1", .NMDETALHE = "A", .CDALIQUOTA = "T1", .QTESTOQUE = "1",
                        .CDUNIDADE = "UN", .CDALTERNATIVO = "", .VLCOMPRA = "1", .VLVENDA = "1"});
    UpdateDetalhe(ctx, {.CDDETALHE = "1", .NMDETALHE = "B", .CDALIQUOTA = "0", .QTESTOQUE = "1",
                        .CDUNIDADE = "7", .CDALTERNATIVO = "", .VLCOMPRA = "1", .VLVENDA = "1"});
    dtmain.conmain.Disconnect();
    EXPECT_EQ(ReadValue(path, "select NMDETALHE from DETALHE where CDDETALHE = 1"), "B");
}

}  // namespace
}  // namespace ligamor::test
