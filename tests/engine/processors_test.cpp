// The four record processors: log texts, dispatch and the standard table.
#include "support/record_fixture.h"

#include "engine/log_text.h"
#include "engine/record_processors.h"
#include "support/temp_dir.h"

namespace ligamor::test {
namespace {

const std::string kStamp = "06/12/2026 Hora: 14:37:01" + Blanks(7);

class Processors : public RecordTest {
protected:
    void SetUp() override
    {
        RecordTest::SetUp();
        Sql("insert into UF (cduf, sguf) values (43, 'RS')");
        Sql("insert into ALIQUOTA (cdaliquota, nmaliquota) values (3, 'T1')");
    }
};

TEST_F(Processors, CustomerLinesAreLoggedAndInserted)
{
    const std::string values = "MERCADO BOA VISTA LTDA#MERCADO BOA VISTA#RUA DAS FLORES 10#CP 12#CENTRO#PORTO ALEGRE#"
                               "RS#900#11#22#33#12345678901#";
    EXPECT_EQ(ProcessClienteLine(ctx, "I#25#" + values + "1500,00"),
              Cp1252(" INSERÇÃO - CLIENTE -  Data: ") + kStamp +
                  "25 MERCADO BOA VISTA MERCADO BOA VISTA LTDA   RUA DAS FLORES 10 CP 12" + Blanks(7) +
                  "CENTRO PORTO ALEGRE RS 900 11  22 33 12345678901 1500.00");
    EXPECT_EQ(Column("CLIENTE", "VLLIMITE || '|' || CDUF", "CDCLIENTE = 25"), "1500.00|43");

    // Only the first comma becomes a point: 1.500,00 reaches the statement as
    // 1.500.00, which is no number.
    EXPECT_THROW(ProcessClienteLine(ctx, "I#26#" + values + "1.500,00"), ConversionFailure);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(", 1.500.00, 'MIGRACAO',"), std::string::npos);
    EXPECT_EQ(Count("CLIENTE"), 1);
}

TEST_F(Processors, AnInjectedKeyInAnUpdateLineChangesNoCustomer)
{
    const std::string rest = "#RUA DAS FLORES 10#CP 12#CENTRO#PORTO ALEGRE#RS#900#11#22#33#12345678901#1500,00";
    ProcessClienteLine(ctx, "I#25#MERCADO BOA VISTA LTDA#MERCADO BOA VISTA" + rest);
    ProcessClienteLine(ctx, "I#16#MERCADO BOA VISTA LTDA#OUTRO" + rest);
    messages.shown.clear();

    const std::string line = "U#15 OR 1=1#HACK LTDA#HACK#RUA X#CP#B#C#RS#1#2#3#4#12345678901#0";
    EXPECT_THROW(ProcessClienteLine(ctx, line), ConversionFailure);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, Shown::Plain);
    EXPECT_EQ(messages.shown[0].text.rfind(CommandMessage(" UPDATE CLIENTE"), 0), 0u);
    EXPECT_NE(messages.shown[0].text.find(" WHERE CDCLIENTE = 15 OR 1=1" + Blanks(19)), std::string::npos);
    EXPECT_EQ(Count("CLIENTE", "NMCLIENTE = 'HACK'"), 0);
    EXPECT_EQ(Column("CLIENTE", "NMCLIENTE", "CDCLIENTE = 25"), "MERCADO BOA VISTA");
    EXPECT_EQ(Column("CLIENTE", "NMCLIENTE", "CDCLIENTE = 16"), "OUTRO");
}

TEST_F(Processors, CustomerDispatchFollowsTheOperation)
{
    const std::string tail = "#LEGAL#NOME#RUA, 1#CP#B#C#RS#9#1#3#ID#12345678901#10,5";
    EXPECT_EQ(ProcessClienteLine(ctx, "U#30" + tail).rfind(Cp1252(" ATUALIZAÇÃO - CLIENTE -  Data: "), 0), 0u);
    EXPECT_EQ(Count("CLIENTE"), 0);  // an update of an unknown customer writes nothing

    ProcessClienteLine(ctx, "30" + tail);  // no operation field: an insert
    EXPECT_EQ(Column("CLIENTE", "NMCLIENTE || '|' || RZSOCIAL || '|' || DSENDERECO || '|' || NUFONE2 || '|' || "
                                "NUFONE3 || '|' || NUCXPOSTAL || '|' || VLLIMITE",
                     "CDCLIENTE = 30"),
              "NOME|LEGAL|RUA, 1||3|CP|10.50");

    EXPECT_EQ(ProcessClienteLine(ctx, "UX#31" + tail), "");
    EXPECT_EQ(ProcessClienteLine(ctx, "U"), "");
    EXPECT_EQ(Count("CLIENTE"), 1);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Processors, ProductLinesAreLoggedAndDispatched)
{
    const std::string log = ProcessProdutoLine(ctx, "I#1001#ARROZ 5KG#T1#10,5#UN#8,20#12,90");
    EXPECT_EQ(log, Cp1252(" INSERÇÃO - PRODUTO -  Data: ") + kStamp + "1001-ARROZ 5KG-T1-10.5-UN------" + Blanks(7) +
                       "--8.20-12.90-");
    EXPECT_EQ(Column("DETALHE", "QTESTOQUE || '|' || VLCOMPRA || '|' || VLVENDA", "CDDETALHE = 1001"),
              "10.500|8.20|12.90");

    const std::string update = ProcessProdutoLine(ctx, "U#1001#ARROZ 1KG#3#1,5#0#8,20#12,90");
    EXPECT_EQ(update.substr(0, 30), Cp1252(" ATUALIZAÇÃO - PRODUTO  Data: "));
    EXPECT_EQ(Column("DETALHE", "NMDETALHE || '|' || CDUNIDADE", "CDDETALHE = 1001"), "ARROZ 1KG|0");

    EXPECT_EQ(ProcessProdutoLine(ctx, "UPD#1002#X#T1#1#UN#1#1"), "");
    EXPECT_EQ(Count("DETALHE"), 1);
}

TEST_F(Processors, PreSaleLinesAlwaysInsertAndLogWithoutTheIssueDate)
{
    EXPECT_EQ(ProcessPreVendaLine(ctx, "I#70#55#123#25#05/12/2026#10/12/2026#350,75"),
              Cp1252("INSERÇÃO - PRE-VENDA / DAV -  Data: ") + kStamp + "70 55 123 25" + Blanks(9) +
                  "10/12/2026 350.75");
    EXPECT_EQ(ProcessPreVendaLine(ctx, "U#71##124#25#05/12/2026#10/12/2026#1"),
              Cp1252("ATUALIZAÇÃO - PRE-VENDA / DAV -  Data: ") + kStamp + "71  124 25" + Blanks(9) +
                  "10/12/2026 1");
    EXPECT_EQ(ProcessPreVendaLine(ctx, "UPD#72#56##25#05/12/2026#10/12/2026#1"), "");
    EXPECT_EQ(Count("PEDIDOCOMPRACLIENTE"), 3);
    EXPECT_EQ(Column("PEDIDOCOMPRACLIENTE", "VLTOTAL", "CDPEDIDOCOMPRACLIENTE = 70"), "350.75");
}

TEST_F(Processors, ItemLinesAlwaysInsert)
{
    Sql("insert into UNIDADE (cdunidade, nmunidade, nmreduzido) values (7, 'UNIDADE', 'UN')");
    ProcessProdutoLine(ctx, "I#1001#ARROZ#T1#1#UN#1#2");
    EXPECT_EQ(ProcessItemPreVendaLine(ctx, "I#70#1#1001#2,5#4,10#10,25"),
              Cp1252("INSERÇÃO - ITEM DO PRE-VENDA / DAV -  Data: ") + kStamp + "70 1 1001 2.5 4.10 10.25");
    EXPECT_EQ(ProcessItemPreVendaLine(ctx, "U#70#2#1001#1#1#1").substr(0, 47),
              Cp1252("ATUALIZAÇÃO - ITEM DO PRE-VENDA / DAV -  Data: "));
    EXPECT_EQ(ProcessItemPreVendaLine(ctx, "IX#70#3#1001#1#1#1"), "");
    EXPECT_EQ(Count("ITPEDIDOCOMPRACLIENTE"), 3);

    // Five fields: the fifth lands in the total and the unit price is missing.
    EXPECT_THROW(ProcessItemPreVendaLine(ctx, "I#70#4#1001#1#1"), SilentAbort);
    EXPECT_EQ(messages.shown.back().text, "Informe o valor unitario. ");
}

TEST_F(Processors, LogTextsKeepTheRegionalSeparators)
{
    ctx.regional = RegionalSettings{DateOrder::DayMonthYear, '.', '.'};
    EXPECT_EQ(ProcessPreVendaLine(ctx, "70#55#123#25#5.3.2024#10.3.2024#1"),
              Cp1252("INSERÇÃO - PRE-VENDA / DAV -  Data: ") + "06.12.2026 Hora: 14.37.01" + Blanks(7) +
                  "70 55 123 25" + Blanks(9) + "10.3.2024 1");
    EXPECT_EQ(Column("PEDIDOCOMPRACLIENTE", "DTPREVENTREGA", "CDPEDIDOCOMPRACLIENTE = 70"), "2024-03-10");
}

TEST_F(Processors, TheStandardTableBindsEachFileToItsProcessor)
{
    InputFileTable table = StandardInputFileTable(ctx);
    EXPECT_EQ(table[0].fileName, "CLIENTE.TXT");
    EXPECT_EQ(table[1].fileName, "PRODUTO.TXT");
    EXPECT_EQ(table[2].fileName, "PREVENDA.TXT");
    EXPECT_EQ(table[3].fileName, "ITEMPREVENDA.TXT");
    EXPECT_EQ(table[0].processor("I#1#R#N#E#C#B#C#RS#1#1#1#1#12345678901#1").substr(0, 29),
              Cp1252(" INSERÇÃO - CLIENTE -  Data: "));
    EXPECT_EQ(table[1].processor("I#2#P#T1#1#UN#1#1").substr(0, 29), Cp1252(" INSERÇÃO - PRODUTO -  Data: "));
    EXPECT_EQ(table[2].processor("I#3#D##1#1/1/2026#2/1/2026#1").substr(0, 8), Cp1252("INSERÇÃO"));
    EXPECT_EQ(table[3].processor("I#3#1#2#1#1#1").substr(0, 8), Cp1252("INSERÇÃO"));
    EXPECT_EQ(Count("CLIENTE") + Count("DETALHE") + Count("PEDIDOCOMPRACLIENTE") + Count("ITPEDIDOCOMPRACLIENTE"), 4);
}

}  // namespace
}  // namespace ligamor::test
