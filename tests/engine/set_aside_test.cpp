// RECUSADAS=SEPARAR over a real database: refused lines go to the folder of
// refused lines with their reasons, the rest goes on, and nothing is lost or
// applied twice.
#include "text_view.h"
#include "support/record_fixture.h"
#include "support/row_held_elsewhere.h"
#include "support/replace_kill.h"
#include "support/shop_folders.h"
#include "support/transaction_modes.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "engine/directories.h"
#include "engine/integration_health.h"
#include "engine/integration_log.h"
#include "engine/record_processors.h"
#include "engine/refused_files.h"
#include "engine/set_aside_claims.h"
#include "engine/temporary_sweep.h"
#include "engine/line_journal.h"
#include "engine/untfuncoes.h"
#include "runtime/messages.h"

namespace ligamor::test {
namespace {

// Drops the connection after the file's first line, as a server that goes away.
class ConnectionLost : public CycleProgress {
public:
    explicit ConnectionLost(DataModule& dtmain) : dtmain_(dtmain) {}
    void LineApplied(const std::string&, std::size_t done, std::size_t) override
    {
        if (done == 1) dtmain_.conmain.Disconnect();
    }
    bool StopRequested() override { return false; }

private:
    DataModule& dtmain_;
};

const std::string kGood25 = "I#25#MERCADO A#MERCADO A#RUA A#CP#CENTRO#CAMPINAS#SP#13000000#19#20#RG1#12345678901#0";
const std::string kBadCpf26 = "I#26#PADARIA LTDA#PADARIA#RUA B#CP#VILA#CAMPINAS#SP##1###12345#0";
const std::string kGood27 = "I#27#BAR C#BAR C#RUA C#CP#VILA#CAMPINAS#SP##1###12345678000199#0";

class SetAside : public RecordTest, public ::testing::WithParamInterface<TransactionMode> {
protected:
    SetAside()
    {
        settings.Transaction = GetParam();
        settings.RefusedLines = RefusedLinesMode::Separar;
        UseShopFolders(settings, work / "");
    }

    void SetUp() override
    {
        RecordTest::SetUp();
        Sql("insert into UF (cduf, sguf) values (35, 'SP')");
        Sql("insert into ALIQUOTA (cdaliquota, nmaliquota) values (3, 'T1')");
    }

    // A fresh integration over the same folders, as after a restart.
    std::unique_ptr<Integration> Started()
    {
        std::unique_ptr<Integration> integration(new Integration{settings, dtmain, messages, timer, clock,
                                                                 RegionalSettings{}, SettingsFilePath(work.Path()),
                                                                 StandardInputFileTable(gated)});
        integration->quietTime = std::chrono::milliseconds(0);
        integration->recordMessages = &gate;
        integration->state.health.polling = true;  // as activation leaves it
        integration->state.health.intervalMs = settings.IntervalMs;
        return integration;
    }

    void Cycle() { RunIntegrationCycle(*integration, view); }
    void Send(const std::string& name, const std::string& bytes) { WriteBytes(settings.SendDirectory + name, bytes); }
    std::string Refused(const std::string& name) const
    {
        const std::string path = RefusedFolder(settings.ResponseDirectory) + name;
        return std::filesystem::exists(path) ? ReadBytes(path) : "";
    }
    long LogLines() const
    {
        const std::string log = ReadBytes(IntegrationLogPath(settings.LogDirectory));
        return static_cast<long>(std::count(log.begin(), log.end(), '\n'));
    }

    TempDir work;
    SystemSettings settings;
    FakeTimer timer;
    MessageGate gate{messages};
    RecordContext gated{dtmain, gate, clock, RegionalSettings{}};
    std::unique_ptr<Integration> integration = Started();
    TextView view;
};

// The middle customer fails a check, the database refuses a product's name:
// the others go in and are logged, the lines and their reasons are set aside,
// the files move, and nobody gets a box.
TEST_P(SetAside, ARefusedCustomerIsSetAsideAndTheRestOfTheFileGoesIn)
{
    Send("CLIENTE.TXT", kGood25 + "\r\n" + kBadCpf26 + "\r\n" + kGood27 + "\r\n");
    const std::string longName = "I#1002#" + std::string(101, 'A') + "#T1#1#UN#1#2";
    Send("PRODUTO.TXT", longName + "\r\nI#1003#MILHO#T1#3#UN#1#2\r\n");

    Cycle();

    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Count("DETALHE", "CDDETALHE = 1003"), 1);
    EXPECT_EQ(Refused("PRODUTO.TXT"), longName + "\r\n");
    EXPECT_NE(Refused("PRODUTO_MOTIVOS.TXT").find(": recusada pelo banco de dados: arithmetic exception"),
              std::string::npos);
    EXPECT_EQ(Count("CLIENTE", "CDCLIENTE in (25, 27)"), 2);
    EXPECT_EQ(Count("CLIENTE", "CDCLIENTE = 26"), 0);
    EXPECT_EQ(LogLines(), 3);
    EXPECT_EQ(Refused("CLIENTE.TXT"), kBadCpf26 + "\r\n");
    EXPECT_EQ(Refused("CLIENTE_MOTIVOS.TXT"),
              Cp1252("Linha 2 de CLIENTE_06122026_143701.TXT, separada em 06/12/2026 14:37:01: O campo Tipo Cpf "
                     "fora dos padrões.\r\n    ") +
                  kBadCpf26 + "\r\n");
    EXPECT_TRUE(ListDir(settings.SendDirectory).empty());
    EXPECT_EQ(ListDir(settings.ResponseDirectory),
              (std::set<std::string>{"CLIENTE_06122026_143701.TXT", "PRODUTO_06122026_143701.TXT"}));
    EXPECT_EQ(ReadBytes(settings.ResponseDirectory + "CLIENTE_06122026_143701.TXT"),
              kGood25 + "\r\n" + kBadCpf26 + "\r\n" + kGood27 + "\r\n");
    const Health health = IntegrationHealth(*integration);
    EXPECT_EQ(health.state, HealthState::Atrasada);
    EXPECT_EQ(health.facts.setAsideLines, 2);

    // A technician deletes the refused customer: its reason goes with it.
    WriteBytes(RefusedFolder(settings.ResponseDirectory) + "CLIENTE.TXT", "");
    Cycle();
    EXPECT_EQ(Refused("CLIENTE_MOTIVOS.TXT"), "");
    EXPECT_EQ(Refused("PRODUTO.TXT"), longName + "\r\n");
}

// A refused pre-sale holds its items back, in this file and in a later one;
// the technician's fix in the folder releases all of them, each applied once.
TEST_P(SetAside, ItemsWaitForTheirPreSaleUntilItsFixedLineGoesIn)
{
    const std::string badDate = "I#70#55##25#31/02/2026#10/03/2026#350,75";
    const std::string item1 = "I#70#1#1001#2,5#4,10#10,25";
    const std::string item2 = "I#70#2#1001#1#4,10#4,10";
    const std::string item3 = "I#70#3#1001#1#4,10#4,10";
    Send("CLIENTE.TXT", kGood25 + "\r\n");
    Send("PRODUTO.TXT", "I#1001#FEIJAO#T1#10#UN#8,20#12,90\r\n");
    Send("PREVENDA.TXT", badDate + "\r\nI#71#56##25#05/03/2026#10/03/2026#10\r\n");
    Send("ITEMPREVENDA.TXT", item1 + "\r\n" + item2 + "\r\nI#71#1#1001#1#10#10\r\n");

    Cycle();

    EXPECT_EQ(Count("PEDIDOCOMPRACLIENTE", "CDPEDIDOCOMPRACLIENTE = 71"), 1);
    EXPECT_EQ(Count("ITPEDIDOCOMPRACLIENTE", "CDPEDIDOCOMPRACLIENTE = 71"), 1);
    EXPECT_EQ(Count("PEDIDOCOMPRACLIENTE", "CDPEDIDOCOMPRACLIENTE = 70"), 0);
    EXPECT_EQ(Refused("PREVENDA.TXT"), badDate + "\r\n");
    EXPECT_NE(Refused("PREVENDA_MOTIVOS.TXT").find("'31/02/2026' is not a valid date"), std::string::npos);
    EXPECT_EQ(Refused("ITEMPREVENDA.TXT"), item1 + "\r\n" + item2 + "\r\n");
    EXPECT_NE(Refused("ITEMPREVENDA_MOTIVOS.TXT").find(Cp1252(": aguardando a pré-venda 70\r\n")), std::string::npos);
    EXPECT_TRUE(ListDir(settings.SendDirectory).empty());

    // A later item of the same pre-sale waits behind it too.
    Send("ITEMPREVENDA.TXT", item3 + "\r\n");
    Cycle();
    EXPECT_EQ(Refused("ITEMPREVENDA.TXT"), item1 + "\r\n" + item2 + "\r\n" + item3 + "\r\n");

    const long logged = LogLines();
    WriteBytes(RefusedFolder(settings.ResponseDirectory) + "PREVENDA.TXT",
               "I#70#55##25#28/02/2026#10/03/2026#350,75\r\n");
    Cycle();
    Cycle();

    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Column("PEDIDOCOMPRACLIENTE", "DTEMISSAO", "CDPEDIDOCOMPRACLIENTE = 70"), "2026-02-28");
    EXPECT_EQ(Count("ITPEDIDOCOMPRACLIENTE", "CDPEDIDOCOMPRACLIENTE = 70"), 3);
    EXPECT_EQ(LogLines(), logged + 4);
    EXPECT_TRUE(ListDir(RefusedFolder(settings.ResponseDirectory)).empty());
    EXPECT_EQ(IntegrationHealth(*integration).state, HealthState::Normal);
}

// Failures that are not the line's own stop the cycle as they always have:
// the boxes shown, the file staying, nothing set aside.
TEST_P(SetAside, ALostConnectionOrAHeldRowStopsTheCycleAndSetsNothingAside)
{
    Sql("insert into CLIENTE (CDCLIENTE, NMCLIENTE, RZSOCIAL) values (26, 'B', 'B')");
    const std::string update26 = "U#26#PADARIA LTDA#PADARIA#RUA B#CP#VILA#CAMPINAS#SP##1###12345678000199#0";
    Send("CLIENTE.TXT", kGood25 + "\r\n" + update26 + "\r\n");

    {
        RowHeldElsewhere held(database, "UPDATE CLIENTE SET NMCLIENTE = 'X' WHERE CDCLIENTE = 26");
        EXPECT_THROW(Cycle(), DatabaseFailure);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text.rfind(CommandMessage(" UPDATE CLIENTE "), 0), 0u);
    }

    ConnectionLost lost(dtmain);
    integration->progress = &lost;
    EXPECT_ANY_THROW(Cycle());
    integration->progress = nullptr;
    dtmain.conmain.Connect();

    EXPECT_FALSE(std::filesystem::exists(RefusedFolder(settings.ResponseDirectory)));
    std::set<std::string> sent = ListDir(settings.SendDirectory);
    sent.erase(kLineJournalName);  // per line, customer 25 went in and is journaled
    EXPECT_EQ(sent, std::set<std::string>{"CLIENTE.TXT"});
    EXPECT_TRUE(ListDir(settings.ResponseDirectory).empty());

    // The lost connection met a line's savepoint: after a switch to stopping
    // on refused lines, the next refused line's box is shown, none held back.
    settings.RefusedLines = RefusedLinesMode::Parar;
    messages.shown.clear();
    Send("CLIENTE.TXT", kBadCpf26 + "\r\n");
    EXPECT_THROW(Cycle(), SilentAbort);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, Cp1252("O campo Tipo Cpf fora dos padrões. "));
}

// A kill at each step of setting lines aside, then a restart: every line ends
// up applied or set aside, once.
TEST_P(SetAside, AKillWhileSettingLinesAsideLosesNothingAndDoublesNothing)
{
    // LinesOnly: as an earlier version left it, the lines written before their reasons.
    enum class KilledAfter { Claims, LinesOnly, FolderWrite, ClaimsMarked };
    for (const KilledAfter step :
         {KilledAfter::Claims, KilledAfter::LinesOnly, KilledAfter::FolderWrite, KilledAfter::ClaimsMarked}) {
        SCOPED_TRACE(static_cast<int>(step));
        Sql("delete from CLIENTE");
        std::filesystem::remove_all(RefusedFolder(settings.ResponseDirectory));
        for (const std::string& name : ListDir(settings.ResponseDirectory))
            std::filesystem::remove(settings.ResponseDirectory + name);
        const std::string input = settings.SendDirectory + "CLIENTE.TXT";
        Send("CLIENTE.TXT", kGood25 + "\r\n" + kBadCpf26 + "\r\n" + kGood27 + "\r\n");
        // What the killed run left: the good lines applied, the refused one claimed.
        ExecuteCommand(dtmain.conmain, messages,
                       "insert into CLIENTE (CDCLIENTE, NMCLIENTE, RZSOCIAL) values (25, 'MERCADO A', 'MERCADO A')");
        SetAsideClaim claim;
        claim.row = 0;
        claim.path = input;
        ASSERT_TRUE(StatFile(input, claim.input));
        claim.line = {kBadCpf26, "CLIENTE_06122026_143701.TXT", 2, "06/12/2026 14:37:01", "O campo Tipo Cpf fora"};
        claim.inFolder = step == KilledAfter::ClaimsMarked;
        SaveSetAsideClaims(settings.SendDirectory, {claim});
        if (step != KilledAfter::Claims) ForceDirectoryPath(RefusedFolder(settings.ResponseDirectory));
        if (step == KilledAfter::LinesOnly)
            WriteBytes(RefusedFolder(settings.ResponseDirectory) + "CLIENTE.TXT", kBadCpf26 + "\r\n");
        else if (step != KilledAfter::Claims)
            SaveRefusedLines(RefusedFolder(settings.ResponseDirectory), "CLIENTE.TXT", {claim.line});

        integration = Started();
        Cycle();

        EXPECT_EQ(Count("CLIENTE", "CDCLIENTE = 25"), 1);
        EXPECT_EQ(Count("CLIENTE", "CDCLIENTE = 27"), 1);
        EXPECT_EQ(Count("CLIENTE", "CDCLIENTE = 26"), 0);
        EXPECT_EQ(Refused("CLIENTE.TXT"), kBadCpf26 + "\r\n");
        EXPECT_EQ(Refused("CLIENTE_MOTIVOS.TXT").rfind("Linha 2 de CLIENTE_06122026_143701.TXT, separada em ", 0), 0u);
        EXPECT_FALSE(std::filesystem::exists(input));
        EXPECT_FALSE(std::filesystem::exists(settings.SendDirectory + kSetAsideClaimsName));
    }
}

// A kill at each step of each of our files' replacements in a cycle that sets
// a line aside, then a restart: the line is in the folder once, with the file
// and line it came from, and no temporary file is left.
TEST_P(SetAside, AKillAtAnyStepOfOurFilesKeepsTheSetAsideLinesOrigin)
{
    const std::string refused = RefusedFolder(settings.ResponseDirectory);
    const std::string reasons = Cp1252("Linha 2 de CLIENTE_06122026_143701.TXT, separada em 06/12/2026 14:37:01: O "
                                       "campo Tipo Cpf fora dos padrões.\r\n    ") +
                                kBadCpf26 + "\r\n";
    const auto fresh = [&] {
        Sql("delete from CLIENTE");
        std::filesystem::remove_all(refused);
        for (const std::string& folder : {settings.SendDirectory, settings.ResponseDirectory})
            for (const std::string& name : ListDir(folder)) std::filesystem::remove(folder + name);
        Send("CLIENTE.TXT", kGood25 + "\r\n" + kBadCpf26 + "\r\n" + kGood27 + "\r\n");
        integration = Started();
    };
    ReplaceKill kill;
    fresh();
    Cycle();
    const int steps = kill.StepsReached();
    ASSERT_GE(steps, 4 * kReplaceSteps);  // the claims twice, the reasons, the lines, the claims dropped

    for (int step = 1; step <= steps; ++step) {
        SCOPED_TRACE(step);
        fresh();
        kill.KillAt(step);
        EXPECT_THROW(Cycle(), Killed);
        kill.KillAt(0);

        integration = Started();
        ASSERT_EQ(integration->state.sendDirectoryLock.Acquire(settings.SendDirectory + kSendDirectoryLockName),
                  InstanceLock::Outcome::Held);
        SweepOurTemporaryFiles(settings, integration->table, integration->state.sendDirectoryLock);
        Cycle();

        EXPECT_EQ(Count("CLIENTE", "CDCLIENTE in (25, 27)"), 2);
        EXPECT_EQ(Count("CLIENTE", "CDCLIENTE = 26"), 0);
        EXPECT_EQ(Refused("CLIENTE.TXT"), kBadCpf26 + "\r\n");
        EXPECT_EQ(Refused("CLIENTE_MOTIVOS.TXT"), reasons);
        EXPECT_EQ(ListDir(refused), (std::set<std::string>{"CLIENTE.TXT", "CLIENTE_MOTIVOS.TXT"}));
        EXPECT_EQ(ListDir(settings.SendDirectory), std::set<std::string>{kSendDirectoryLockName});
        EXPECT_EQ(ListDir(settings.ResponseDirectory), std::set<std::string>{"CLIENTE_06122026_143701.TXT"});
        integration->state.sendDirectoryLock.Release();
    }
}

INSTANTIATE_TEST_SUITE_P(LinhaAndArquivo, SetAside,
                         ::testing::Values(TransactionMode::Linha, TransactionMode::Arquivo), TransactionModeName);

}  // namespace
}  // namespace ligamor::test
