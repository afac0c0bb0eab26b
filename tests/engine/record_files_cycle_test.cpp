// One real integration cycle over the four files into a real database.
#include "text_view.h"
#include "support/record_fixture.h"
#include "support/shop_folders.h"
#include "support/transaction_modes.h"

#include <filesystem>
#include <set>

#include "engine/directories.h"
#include "engine/integration_log.h"
#include "engine/line_journal.h"
#include "engine/record_processors.h"
#include "engine/untfuncoes.h"

namespace ligamor::test {
namespace {

class FullCycle : public RecordTest, public ::testing::WithParamInterface<TransactionMode> {
protected:
    FullCycle()
    {
        settings.Transaction = GetParam();
        UseShopFolders(settings, work / "");
        integration.quietTime = std::chrono::milliseconds(0);
        integration.records = &ctx;
    }

    TempDir work;
    SystemSettings settings;
    FakeTimer timer;
    Integration integration{settings,          dtmain,     messages, timer, clock, RegionalSettings{},
                            SettingsFilePath(work.Path()), StandardInputFileTable(ctx)};
    TextView view;
};

TEST_P(FullCycle, AllFourFilesReachTheDatabaseTheLogAndTheResponseDirectory)
{
    Sql("insert into UF (cduf, sguf) values (35, 'SP')");
    Sql("insert into ALIQUOTA (cdaliquota, nmaliquota) values (3, 'T1')");
    const std::string joao = Cp1252("JOÃO D'ÁVILA");
    const std::string cidade = Cp1252("SANTA BÁRBARA D'OESTE");
    const std::string feijao = Cp1252("FEIJÃO 1KG");

    WriteBytes(settings.SendDirectory + "CLIENTE.TXT",
               "I#25#" + joao + " ME##RUA A, 10##CENTRO#" + cidade + "#SP#13450000#19#20#RG1#12345678901#1500,00\r\n"
               "26#PADARIA LTDA#PADARIA#RUA B#CP 1#VILA#" + cidade + "#SP##1###12345678000199#0\r\n");
    WriteBytes(settings.SendDirectory + "PRODUTO.TXT",
               "I#1001#" + feijao + "#T1#10,5#UN#8,20#12,90\n1002#ARROZ#T1##KG##\n");
    WriteBytes(settings.SendDirectory + "PREVENDA.TXT", "I#70#55##25#05/03/2024#10/03/2024#350,75\r\n"
                                                        "U#71##124#26#6/3/24#7/3/24#1,5");
    WriteBytes(settings.SendDirectory + "ITEMPREVENDA.TXT", "I#70#1#1001#2,5#4,10#10,25\n70#2#1002#1#1#1\r\n");

    RunIntegrationCycle(integration, view);

    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Column("CLIENTE", "NMCLIENTE || '|' || RZSOCIAL || '|' || NMCIDADE || '|' || TPPESSOA || '|' || CDUF",
                     "CDCLIENTE = 25"),
              joao + " ME|" + joao + " ME|" + cidade + "|F|35");
    EXPECT_EQ(Column("CLIENTE", "NMCLIENTE || '|' || TPPESSOA", "CDCLIENTE = 26"), "PADARIA|J");
    EXPECT_EQ(Column("DETALHE", "NMDETALHE || '|' || QTESTOQUE || '|' || CDUNIDADE", "CDDETALHE = 1001"),
              feijao + "|10.500|0");
    EXPECT_EQ(Column("DETALHE", "NMDETALHE || '|' || QTESTOQUE || '|' || CDUNIDADE", "CDDETALHE = 1002"),
              "ARROZ|0.000|1");
    EXPECT_EQ(Column("PEDIDOCOMPRACLIENTE", "NUDAV || '|' || DTEMISSAO || '|' || VLTOTAL", "CDPEDIDOCOMPRACLIENTE = 70"),
              "55|2024-03-05|350.75");
    EXPECT_EQ(Column("PEDIDOCOMPRACLIENTE", "NUPREVENDA || '|' || DTPREVENTREGA || '|' || VLTOTAL",
                     "CDPEDIDOCOMPRACLIENTE = 71"),
              "124|2024-03-07|1.50");
    EXPECT_EQ(Column("ITPEDIDOCOMPRACLIENTE", "CDUNIDADE || '/' || CDDIGITADO || '/' || VLTOTAL",
                     "NUITPEDIDOCOMPRACLIENTE = 1"),
              "0/1/10.25");
    EXPECT_EQ(Column("ITPEDIDOCOMPRACLIENTE", "CDUNIDADE || '/' || CDDIGITADO || '/' || VLTOTAL",
                     "NUITPEDIDOCOMPRACLIENTE = 2"),
              "1/1/1.00");

    const std::string stamp = "06/12/2026 Hora: 14:37:01" + Blanks(7);
    const std::string expectedLog =
        Cp1252(" INSERÇÃO - CLIENTE -  Data: ") + stamp + "25  " + joao + " ME   RUA A, 10 " + Blanks(7) + "CENTRO " +
        cidade + " SP 13450000 19  20 RG1 12345678901 1500.00\r\n" +
        Cp1252(" INSERÇÃO - CLIENTE -  Data: ") + stamp + "26 PADARIA PADARIA LTDA   RUA B CP 1" + Blanks(7) +
        "VILA " + cidade + " SP  1    12345678000199 0\r\n" +
        Cp1252(" INSERÇÃO - PRODUTO -  Data: ") + stamp + "1001-" + feijao + "-T1-10.5-UN------" + Blanks(7) +
        "--8.20-12.90-\r\n" +
        Cp1252(" INSERÇÃO - PRODUTO -  Data: ") + stamp + "1002-ARROZ-T1--KG------" + Blanks(7) + "----\r\n" +
        Cp1252("INSERÇÃO - PRE-VENDA / DAV -  Data: ") + stamp + "70 55  25" + Blanks(9) + "10/03/2024 350.75\r\n" +
        Cp1252("ATUALIZAÇÃO - PRE-VENDA / DAV -  Data: ") + stamp + "71  124 26" + Blanks(9) + "7/3/24 1.5\r\n" +
        Cp1252("INSERÇÃO - ITEM DO PRE-VENDA / DAV -  Data: ") + stamp + "70 1 1001 2.5 4.10 10.25\r\n" +
        Cp1252("INSERÇÃO - ITEM DO PRE-VENDA / DAV -  Data: ") + stamp + "70 2 1002 1 1 1\r\n";
    EXPECT_EQ(ReadBytes(IntegrationLogPath(settings.LogDirectory)), expectedLog);
    EXPECT_EQ(view.text, expectedLog);

    EXPECT_TRUE(ListDir(settings.SendDirectory).empty());
    EXPECT_EQ(ListDir(settings.ResponseDirectory),
              (std::set<std::string>{"CLIENTE_06122026_143701.TXT", "PRODUTO_06122026_143701.TXT",
                                     "PREVENDA06122026_143701.TXT", "ITEMPREVENDA06122026_143701.TXT"}));
    EXPECT_EQ(timer.intervals, (std::vector<int>{0, 5000}));
}

TEST_P(FullCycle, AnInjectedKeyStopsTheCycleWithTheMessageAndChangesNoCustomer)
{
    Sql("insert into UF (cduf, sguf) values (35, 'SP')");
    Sql("insert into CLIENTE (CDCLIENTE, NMCLIENTE, RZSOCIAL) values (15, 'A', 'A')");
    Sql("insert into CLIENTE (CDCLIENTE, NMCLIENTE, RZSOCIAL) values (16, 'B', 'B')");
    WriteBytes(settings.SendDirectory + "CLIENTE.TXT", "U#15 OR 1=1#HACK#HACK#RUA#CP#B#C#SP#1#2#3#4#12345678901#0\r\n");

    EXPECT_THROW(RunIntegrationCycle(integration, view), ConversionFailure);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, Shown::Plain);
    EXPECT_EQ(messages.shown[0].text.rfind(CommandMessage(" UPDATE CLIENTE "), 0), 0u);
    EXPECT_EQ(Column("CLIENTE", "NMCLIENTE", "CDCLIENTE = 15"), "A");
    EXPECT_EQ(Column("CLIENTE", "NMCLIENTE", "CDCLIENTE = 16"), "B");
    EXPECT_EQ(Count("CLIENTE", "NMCLIENTE = 'HACK'"), 0);
    EXPECT_EQ(ListDir(settings.SendDirectory), std::set<std::string>{"CLIENTE.TXT"});
    EXPECT_TRUE(ListDir(settings.ResponseDirectory).empty());
}

// Per line, the lines before the refused one stay; per file, none of them, nor
// the unit the file created. Fixed, the file is applied whole, once.
TEST_P(FullCycle, ARefusedLineStopsTheCycleAndTheFixedFileIsAppliedOnce)
{
    Sql("insert into ALIQUOTA (cdaliquota, nmaliquota) values (3, 'T1')");
    const std::string first = "I#1001#FEIJAO#T1#1#UN#1#2\r\n";
    const std::string last = "I#1003#MILHO#T1#3#UN#1#2\r\n";
    WriteBytes(settings.SendDirectory + "PRODUTO.TXT", first + "I#1002#ARROZ#T1#X#UN#1#2\r\n" + last);

    EXPECT_THROW(RunIntegrationCycle(integration, view), DatabaseFailure);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.rfind(CommandMessage(" INSERT INTO DETALHE"), 0), 0u);
    const bool perFile = GetParam() == TransactionMode::Arquivo;
    EXPECT_EQ(Count("DETALHE", "1 = 1"), perFile ? 0 : 1);
    EXPECT_EQ(Count("UNIDADE", "1 = 1"), perFile ? 0 : 1);
    // Per line, the line that went in is journaled, never to be applied again.
    const std::set<std::string> waiting =
        perFile ? std::set<std::string>{"PRODUTO.TXT"} : std::set<std::string>{kLineJournalName, "PRODUTO.TXT"};
    EXPECT_EQ(ListDir(settings.SendDirectory), waiting);
    EXPECT_TRUE(ListDir(settings.ResponseDirectory).empty());
    if (!perFile) return;

    WriteBytes(settings.SendDirectory + "PRODUTO.TXT", first + "I#1002#ARROZ#T1#2#UN#1#2\r\n" + last);
    RunIntegrationCycle(integration, view);
    EXPECT_EQ(Count("DETALHE", "CDUNIDADE = 0"), 3);
    EXPECT_EQ(Count("UNIDADE", "1 = 1"), 1);
    EXPECT_TRUE(ListDir(settings.SendDirectory).empty());
    EXPECT_EQ(ListDir(settings.ResponseDirectory), std::set<std::string>{"PRODUTO_06122026_143701.TXT"});
}

// The products applied, the cycle stopped in the items before any move (a
// refused item here; a kill does the same): the next cycle only moves the
// products. Applied again, a stored product would take the update path, whose
// alternative code is the product's own, and the items would copy it.
TEST_P(FullCycle, AFileAppliedBeforeTheCycleStoppedIsNeverAppliedAgain)
{
    Sql("insert into ALIQUOTA (cdaliquota, nmaliquota) values (3, 'T1')");
    WriteBytes(settings.SendDirectory + "PRODUTO.TXT", "I#1001#FEIJAO#T1#1#UN#1#2\r\n");
    WriteBytes(settings.SendDirectory + "PREVENDA.TXT", "I#70#55##25#05/03/2026#10/03/2026#1\r\n");
    WriteBytes(settings.SendDirectory + "ITEMPREVENDA.TXT", "I#70#1#1001#X#1#1\r\n");
    EXPECT_ANY_THROW(RunIntegrationCycle(integration, view));

    WriteBytes(settings.SendDirectory + "ITEMPREVENDA.TXT", "I#70#1#1001#1#1#1\r\n");
    RunIntegrationCycle(integration, view);
    EXPECT_EQ(Column("DETALHE", "CDALTERNATIVO", "CDDETALHE = 1001"), "1");
    EXPECT_EQ(Column("ITPEDIDOCOMPRACLIENTE", "CDDIGITADO", "CDPEDIDOCOMPRACLIENTE = 70"), "1");
    EXPECT_EQ(Count("PEDIDOCOMPRACLIENTE", "CDPEDIDOCOMPRACLIENTE = 70"), 1);
    const std::string log = ReadBytes(IntegrationLogPath(settings.LogDirectory));
    EXPECT_EQ(log.find("1001-FEIJAO"), log.rfind("1001-FEIJAO")) << log;
    EXPECT_TRUE(ListDir(settings.SendDirectory).empty());
    EXPECT_EQ(ListDir(settings.ResponseDirectory).size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(LinhaAndArquivo, FullCycle,
                         ::testing::Values(TransactionMode::Linha, TransactionMode::Arquivo), TransactionModeName);

}  // namespace
}  // namespace ligamor::test
