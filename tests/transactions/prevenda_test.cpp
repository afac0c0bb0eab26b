// Pre-sale headers and items on a real database.
#include "support/record_fixture.h"

#include <array>

#include "transactions/untTransDAV_PreVenda.h"
#include "transactions/untTransDetalhe.h"

namespace ligamor::test {
namespace {

class PreVendaTest : public RecordTest {
protected:
    void Header(const std::string& code, const std::string& nudav, const std::string& nuprevenda,
                const std::string& cliente = "25", const std::string& emissao = "05/03/2024",
                const std::string& entrega = "10/03/2024", const std::string& total = "150.75")
    {
        InsertPreVenda(ctx, {code, nudav, nuprevenda, cliente, emissao, entrega, total});
    }
    std::string HeaderRow(const std::string& code = "70")
    {
        return Value("select CDFUNCIONARIO || '|' || coalesce(NUDAV, '<null>') || '|' || "
                     "coalesce(NUPREVENDA, '<null>') || '|' || CDCLIENTE || '|' || CDSTPEDIDOCOMPRACLIENTE || '|' "
                     "|| CDCONDPAGTO || '|' || DTEMISSAO || '|' || DTPREVENTREGA || '|' || VLTOTAL || '|' || "
                     "USUINCLUSAO || '|' || COMPINCLUSAO || '|' || USUALTERACAO || '|' || COMPALTERACAO || '|' || "
                     "DTINCLUSAO || '|' || HRINCLUSAO || '|' || DTALTERACAO || '|' || HRALTERACAO "
                     "from PEDIDOCOMPRACLIENTE where CDPEDIDOCOMPRACLIENTE = " +
                     code);
    }
};

TEST_F(PreVendaTest, ADavNumberGoesToNudavOtherwiseThePreSaleNumberToNuprevenda)
{
    Header("70", "55", "123");
    EXPECT_EQ(HeaderRow(), "110|55|<null>|25|1|1|2024-03-05|2024-03-10|150.75|MIGRACAO|MIGRACAO|MIGRACAO|MIGRACAO|"
                           "2026-12-06|14:37:01.0000|2026-12-06|14:37:01.0000");
    Header("71", "", "124");
    Header("72", "", "");
    Header("73", " ", "125");
    EXPECT_EQ(Column("PEDIDOCOMPRACLIENTE", "coalesce(NUDAV, '<null>') || '|' || NUPREVENDA",
                     "CDPEDIDOCOMPRACLIENTE = 71"),
              "<null>|124");
    EXPECT_EQ(Column("PEDIDOCOMPRACLIENTE", "'[' || NUPREVENDA || ']'", "CDPEDIDOCOMPRACLIENTE = 72"), "[]");
    EXPECT_EQ(Column("PEDIDOCOMPRACLIENTE", "'[' || NUDAV || ']' || coalesce(NUPREVENDA, '<null>')",
                     "CDPEDIDOCOMPRACLIENTE = 73"),
              "[ ]<null>");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PreVendaTest, AStoredHeaderIsLeftAloneButItsDatesAreStillRead)
{
    Header("70", "55", "123");
    Header("70", "99", "999", "26", "01/01/2025", "02/01/2025", "1.00");
    EXPECT_EQ(Column("PEDIDOCOMPRACLIENTE", "NUDAV || '|' || CDCLIENTE", "CDPEDIDOCOMPRACLIENTE = 70"), "55|25");
    try {
        Header("70", "55", "123", "25", "31/02/2024");
        ADD_FAILURE();
    } catch (const ConversionFailure& failure) {
        EXPECT_EQ(failure.Message(), "'31/02/2024' is not a valid date");
    }
    EXPECT_THROW(Header("74", "55", "123", "25", "05/03/2024", "2024-03-10"), ConversionFailure);
    EXPECT_EQ(Count("PEDIDOCOMPRACLIENTE"), 1);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PreVendaTest, StatementsUseSlashesAndColonsWhateverTheRegionalSeparators)
{
    ctx.regional = RegionalSettings{DateOrder::DayMonthYear, '.', '.'};
    clock.now = {2024, 3, 5, 23, 59, 58};
    Header("70", "55", "", "25", "5.3.2024", "06.03.24");
    EXPECT_EQ(Column("PEDIDOCOMPRACLIENTE",
                     "DTEMISSAO || '|' || DTPREVENTREGA || '|' || DTINCLUSAO || '|' || HRINCLUSAO",
                     "CDPEDIDOCOMPRACLIENTE = 70"),
              "2024-03-05|2024-03-06|2024-03-05|23:59:58.0000");

    ctx.regional = RegionalSettings{DateOrder::MonthDayYear, '-', '.'};
    Header("71", "55", "", "25", "3-5-2024", "03-06-2024");
    EXPECT_EQ(Column("PEDIDOCOMPRACLIENTE", "DTEMISSAO || '|' || DTPREVENTREGA", "CDPEDIDOCOMPRACLIENTE = 71"),
              "2024-03-05|2024-03-06");
}

TEST_F(PreVendaTest, StatementTextsAreExact)
{
    EXPECT_THROW(Header("70", "55", "123", "CLIENTE"), ConversionFailure);
    ExpectOnlyPlain(CommandMessage(
            " INSERT INTO PEDIDOCOMPRACLIENTE(CDFUNCIONARIO, CDPEDIDOCOMPRACLIENTE, NUDAV, CDCLIENTE, CDSTPED"
            "IDOCOMPRACLIENTE, CDCONDPAGTO, DTEMISSAO,                                                     DT"
            "PREVENTREGA, VLTOTAL, USUINCLUSAO, COMPINCLUSAO, USUALTERACAO, COMPALTERACAO, DTINCLUSAO, HRINCL"
            "USAO,                                       DTALTERACAO, HRALTERACAO)                           "
            "                                                                                   VALUES(110,70"
            ", '55', CLIENTE, 1, 1,                                                       '03/05/2024', '03/1"
            "0/2024', '150.75', 'MIGRACAO',                                                            'MIGRA"
            "CAO', 'MIGRACAO', 'MIGRACAO', '12/06/2026', '14:37:01', '12/06/2026',                           "
            "           '14:37:01')                                                                          "
            "               "));

    messages.shown.clear();
    EXPECT_THROW(Header("70", "", "123", "25", "05/03/2024", "10/03/2024", "150,75"), ConversionFailure);
    ExpectOnlyPlain(CommandMessage(
            " INSERT INTO PEDIDOCOMPRACLIENTE(CDFUNCIONARIO, CDPEDIDOCOMPRACLIENTE,  NUPREVENDA, CDCLIENTE, C"
            "DSTPEDIDOCOMPRACLIENTE, CDCONDPAGTO, DTEMISSAO,                                 DTPREVENTREGA, V"
            "LTOTAL, USUINCLUSAO, COMPINCLUSAO, USUALTERACAO, COMPALTERACAO, DTINCLUSAO, HRINCLUSAO,         "
            "                               DTALTERACAO, HRALTERACAO)                                        "
            "                                                                       VALUES(110,70, '123', 25,"
            " 1, 1,                                            '03/05/2024', '03/10/2024', 150,75, 'MIGRACAO'"
            ",                                                             'MIGRACAO', 'MIGRACAO', 'MIGRACAO'"
            ", '12/06/2026', '14:37:01', '12/06/2026',                                       '14:37:01')     "
            "                                                                                     "));

    messages.shown.clear();
    EXPECT_THROW(Header("70", "", "123", "25", "05/03/2024", "10/03/2024", ""), DatabaseFailure);
    ExpectOnlyPlain(CommandMessage(
            " INSERT INTO PEDIDOCOMPRACLIENTE(CDFUNCIONARIO, CDPEDIDOCOMPRACLIENTE,  NUPREVENDA, CDCLIENTE, C"
            "DSTPEDIDOCOMPRACLIENTE, CDCONDPAGTO, DTEMISSAO,                                 DTPREVENTREGA, V"
            "LTOTAL, USUINCLUSAO, COMPINCLUSAO, USUALTERACAO, COMPALTERACAO, DTINCLUSAO, HRINCLUSAO,         "
            "                               DTALTERACAO, HRALTERACAO)                                        "
            "                                                                       VALUES(110,70, '123', 25,"
            " 1, 1,                                            '03/05/2024', '03/10/2024', , 'MIGRACAO',     "
            "                                                        'MIGRACAO', 'MIGRACAO', 'MIGRACAO', '12/"
            "06/2026', '14:37:01', '12/06/2026',                                       '14:37:01')           "
            "                                                                               "));
    EXPECT_EQ(Count("PEDIDOCOMPRACLIENTE"), 0);
}

TEST_F(PreVendaTest, QuotesInNumbersAreStoredAsWritten)
{
    Header("70", "D'1", "", "25");
    Header("71", "", "P'2", "25");
    EXPECT_EQ(Column("PEDIDOCOMPRACLIENTE", "NUDAV", "CDPEDIDOCOMPRACLIENTE = 70"), "D'1");
    EXPECT_EQ(Column("PEDIDOCOMPRACLIENTE", "NUPREVENDA", "CDPEDIDOCOMPRACLIENTE = 71"), "P'2");
    EXPECT_THROW(Header("72 or 1=1", "1", "", "25"), ConversionFailure);
}

// ----- items -----

class ItemTest : public PreVendaTest {
protected:
    void SetUp() override
    {
        PreVendaTest::SetUp();
        Sql("insert into UNIDADE (cdunidade, nmunidade, nmreduzido) values (7, 'UNIDADE', 'UN')");
        InsertDetalhe(ctx, {.CDDETALHE = "1001", .NMDETALHE = "ARROZ", .CDALIQUOTA = "", .QTESTOQUE = "1",
                            .CDUNIDADE = "UN", .CDALTERNATIVO = "", .VLCOMPRA = "1", .VLVENDA = "2"});
    }
    void Item(const std::string& code, const std::string& number, const std::string& product = "1001",
              const std::string& quantity = "2.5", const std::string& price = "4.10",
              const std::string& total = "10.25")
    {
        InsertItemPreVenda(ctx, {code, number, product, quantity, price, total});
    }
    std::string ItemRow(const std::string& number = "1")
    {
        return Value("select CDDETALHE || '|' || CDUNIDADE || '|' || CDDIGITADO || '|' || QTITEM || '|' || "
                     "VLUNITARIO || '|' || VLTOTAL || '|' || USUINCLUSAO || '|' || COMPINCLUSAO || '|' || "
                     "USUALTERACAO || '|' || COMPALTERACAO || '|' || DTINCLUSAO || '|' || HRINCLUSAO || '|' || "
                     "DTALTERACAO || '|' || HRALTERACAO from ITPEDIDOCOMPRACLIENTE "
                     "where CDPEDIDOCOMPRACLIENTE = 70 and NUITPEDIDOCOMPRACLIENTE = " +
                     number);
    }
};

TEST_F(ItemTest, AnItemTakesItsUnitAndAlternativeCodeFromTheProduct)
{
    Item("70", "1");
    EXPECT_EQ(ItemRow(), "1001|7|1|2.500|4.100|10.25|MIGRACAO|MIGRACAO|MIGRACAO|MIGRACAO|2026-12-06|14:37:01.0000|"
                         "2026-12-06|14:37:01.0000");

    UpdateDetalhe(ctx, {.CDDETALHE = "1001", .NMDETALHE = "ARROZ", .CDALIQUOTA = "0", .QTESTOQUE = "1",
                        .CDUNIDADE = "7", .CDALTERNATIVO = "", .VLCOMPRA = "1", .VLVENDA = "2"});
    Item("70", "2");
    EXPECT_EQ(Column("ITPEDIDOCOMPRACLIENTE", "CDDIGITADO", "NUITPEDIDOCOMPRACLIENTE = 2"), "1001");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ItemTest, AStoredItemIsLeftAlone)
{
    Item("70", "1");
    Item("70", "1", "1001", "9", "9", "81");
    EXPECT_EQ(Count("ITPEDIDOCOMPRACLIENTE"), 1);
    EXPECT_EQ(Column("ITPEDIDOCOMPRACLIENTE", "VLTOTAL", "NUITPEDIDOCOMPRACLIENTE = 1"), "10.25");
}

TEST_F(ItemTest, ChecksRunInOrderWithTheirTexts)
{
    const std::pair<std::array<std::string, 6>, const char*> cases[] = {
        {{"", "", "", "", "", ""}, "Informe o codigo da pre venda. "},
        {{"70", "", "1001", "1", "1", ""}, "Informe o numero do item. "},
        {{"70", "1", "", "1", "1", "1"}, "Informe o codigo do produto "},
        {{"70", "1", "1001", "", "1", "1"}, "Informe a quantidade. "},
        {{"70", "1", "1001", "1", "", "1"}, "Informe o valor unitario. "},
        {{"70", "1", "1001", "1", "1", ""}, "Informe o valor total. "},
    };
    for (const auto& [f, text] : cases) {
        messages.shown.clear();
        EXPECT_THROW(InsertItemPreVenda(ctx, {f[0], f[1], f[2], f[3], f[4], f[5]}), SilentAbort);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0], (Shown{Shown::Information, Cp1252(text)}));
    }
    EXPECT_EQ(Count("ITPEDIDOCOMPRACLIENTE"), 0);
}

TEST_F(ItemTest, AnItemOfAMissingProductFailsThroughTheMessage)
{
    EXPECT_THROW(Item("70", "1", "999"), DatabaseFailure);
    ExpectOnlyPlain(CommandMessage(
            " INSERT INTO ITPEDIDOCOMPRACLIENTE(CDPEDIDOCOMPRACLIENTE, NUITPEDIDOCOMPRACLIENTE, CDDETALHE, CD"
            "UNIDADE, CDDIGITADO, QTITEM, VLUNITARIO, VLTOTAL,                                     USUINCLUSA"
            "O, COMPINCLUSAO, USUALTERACAO, COMPALTERACAO, DTINCLUSAO, HRINCLUSAO,                           "
            "                                         DTALTERACAO, HRALTERACAO)                              "
            "                                                                                     VALUES(70, "
            "1, 999, , , 2.5, 4.10,                                    10.25, 'MIGRACAO', 'MIGRACAO', 'MIGRAC"
            "AO', 'MIGRACAO', '12/06/2026',                                                      '14:37:01', "
            "'12/06/2026',  '14:37:01')                                                 "));
    EXPECT_EQ(Count("ITPEDIDOCOMPRACLIENTE"), 0);
}

TEST_F(ItemTest, UnquotedValuesMustBeNumbers)
{
    EXPECT_THROW(Item("70", "1", "1001 or 1=1"), ConversionFailure);
    EXPECT_TRUE(messages.shown.empty());  // refused before the reads
    EXPECT_THROW(Item("70", "1 or 1=1"), ConversionFailure);
    EXPECT_TRUE(messages.shown.empty());

    try {
        Item("70", "1", "1001", "2.5", "4,10");
        ADD_FAILURE();
    } catch (const ConversionFailure& failure) {
        EXPECT_EQ(failure.Message(), NotNumericText("4,10"));
    }
    ExpectOnlyPlain(CommandMessage(
            " INSERT INTO ITPEDIDOCOMPRACLIENTE(CDPEDIDOCOMPRACLIENTE, NUITPEDIDOCOMPRACLIENTE, CDDETALHE, CD"
            "UNIDADE, CDDIGITADO, QTITEM, VLUNITARIO, VLTOTAL,                                     USUINCLUSA"
            "O, COMPINCLUSAO, USUALTERACAO, COMPALTERACAO, DTINCLUSAO, HRINCLUSAO,                           "
            "                                         DTALTERACAO, HRALTERACAO)                              "
            "                                                                                     VALUES(70, "
            "1, 1001, 7, 1, 2.5, 4,10,                                    10.25, 'MIGRACAO', 'MIGRACAO', 'MIG"
            "RACAO', 'MIGRACAO', '12/06/2026',                                                      '14:37:01"
            "', '12/06/2026',  '14:37:01')                                                 "));

    // An alternative code that is no number is refused as well.
    messages.shown.clear();
    Sql("update DETALHE set CDALTERNATIVO = 'ABC' where CDDETALHE = 1001");
    EXPECT_THROW(Item("70", "1"), ConversionFailure);
    ExpectOnlyPlain(CommandMessage(
            " INSERT INTO ITPEDIDOCOMPRACLIENTE(CDPEDIDOCOMPRACLIENTE, NUITPEDIDOCOMPRACLIENTE, CDDETALHE, CD"
            "UNIDADE, CDDIGITADO, QTITEM, VLUNITARIO, VLTOTAL,                                     USUINCLUSA"
            "O, COMPINCLUSAO, USUALTERACAO, COMPALTERACAO, DTINCLUSAO, HRINCLUSAO,                           "
            "                                         DTALTERACAO, HRALTERACAO)                              "
            "                                                                                     VALUES(70, "
            "1, 1001, 7, ABC, 2.5, 4.10,                                    10.25, 'MIGRACAO', 'MIGRACAO', 'M"
            "IGRACAO', 'MIGRACAO', '12/06/2026',                                                      '14:37:"
            "01', '12/06/2026',  '14:37:01')                                                 "));
    EXPECT_EQ(Count("ITPEDIDOCOMPRACLIENTE"), 0);
}

}  // namespace
}  // namespace ligamor::test

namespace ligamor::test {
namespace {

// Each reading is one second later: the first at 23:59:59, the next on the
// following day.
class TickingClock : public Clock {
public:
    DateTime Now() const override
    {
        ++readings;
        return readings == 1 ? DateTime{2024, 3, 5, 23, 59, 59} : DateTime{2024, 3, 6, 0, 0, 0};
    }
    mutable int readings = 0;
};

TEST_F(ItemTest, DateAndTimeOfAStatementComeFromOneReading)
{
    TickingClock ticking;
    RecordContext atMidnight{dtmain, messages, ticking, RegionalSettings{}};
    InsertPreVenda(atMidnight, {"70", "55", "", "25", "05/03/2024", "05/03/2024", "1"});
    EXPECT_EQ(Column("PEDIDOCOMPRACLIENTE", "DTINCLUSAO || ' ' || HRINCLUSAO || ' ' || DTALTERACAO || ' ' || HRALTERACAO",
                     "CDPEDIDOCOMPRACLIENTE = 70"),
              "2024-03-05 23:59:59.0000 2024-03-05 23:59:59.0000");

    ticking.readings = 0;
    InsertItemPreVenda(atMidnight, {"70", "1", "1001", "1", "1", "1"});
    EXPECT_EQ(Column("ITPEDIDOCOMPRACLIENTE", "DTINCLUSAO || ' ' || HRINCLUSAO || ' ' || DTALTERACAO || ' ' || HRALTERACAO",
                     "NUITPEDIDOCOMPRACLIENTE = 1"),
              "2024-03-05 23:59:59.0000 2024-03-05 23:59:59.0000");
}

}  // namespace
}  // namespace ligamor::test
