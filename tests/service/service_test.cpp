// ligamor-service end to end: the real executable, a real database through
// the embedded engine, real directories.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <thread>

#include "config/settings.h"
#include "engine/health.h"
#include "engine/line_journal.h"
#include "engine/untfuncoes.h"
#include "runtime/instance_lock.h"
#include "runtime/text1252.h"
#include "service/service_process.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

#ifndef LIGAMOR_DEMO_SQL
#error LIGAMOR_DEMO_SQL must name db/demo.sql
#endif

namespace ligamor::test {
namespace {

using Names = std::set<std::string>;

// Input lines as the point of sale writes them: Windows-1252, CR LF.
std::string Lines(const std::vector<std::string>& utf8Lines)
{
    std::string bytes;
    for (const std::string& line : utf8Lines) bytes += Cp1252(line) + "\r\n";
    return bytes;
}

const std::string kCliente = "I#25#MERCADO BOA VISTA LTDA#MERCADO BOA VISTA#RUA DAS FLORES 10#CP 12#CENTRO#PORTO "
                             "ALEGRE#RS#90010000#5133334444#5199998888#1234567890#12345678000190#1500,00";

std::string Produto(int code, const std::string& price = "12,90")
{
    return "I#" + std::to_string(code) + "#PRODUTO " + std::to_string(code) + "#T1#10#UN#8,20#" + price;
}

class Service : public ::testing::Test {
protected:
    Service()
    {
        static const std::string script = ReadBytes(LIGAMOR_SCHEMA_SQL) + ReadBytes(LIGAMOR_DEMO_SQL);
        database = CreateDatabase(dir.Path(), "LOJA.FDB", 3, script);
        SaveSettings(settingsFile, ShopSettings(dir.Path(), database));
        std::filesystem::create_directories(send);
    }

    // Dropped whole, as the point of sale should: written aside, then renamed.
    void Drop(const std::string& name, const std::string& bytes)
    {
        WriteBytes(dir / "drop.tmp", bytes);
        std::filesystem::rename(dir / "drop.tmp", send + name);
    }

    std::vector<std::string> Args(std::vector<std::string> more = {}) const
    {
        more.insert(more.begin(), {"--config", settingsFile});
        return more;
    }

    // Names without their stamp: "CLIENTE_", "PREVENDA", ...
    static Names Prefixes(const Names& names)
    {
        Names prefixes;
        for (const std::string& name : names) prefixes.insert(name.substr(0, name.find_first_of("0123456789")));
        return prefixes;
    }

    int Count(const std::string& table, const std::string& where = "1=1")
    {
        return std::stoi(ReadValue(database, "select count(*) from " + table + " where " + where));
    }

    TempDir dir;
    std::string database;
    std::string settingsFile = dir / "ConfigLigamor.csi";
    std::string send = dir / "ENVIO/";
    std::string response = dir / "RESPOSTA/";
    std::string err = dir / "stderr";
};

TEST_F(Service, OneCycleAppliesAllFourFilesAndMovesThem)
{
    Drop("CLIENTE.TXT", Lines({kCliente}));
    Drop("PRODUTO.TXT", Lines({Produto(1001), Produto(1004)}));
    Drop("PREVENDA.TXT", Lines({"I#70#55#123#25#05/12/2026#10/12/2026#34,29"}));
    Drop("ITEMPREVENDA.TXT", Lines({"I#70#1#1001#2#12,90#25,80", "I#70#2#1004#1#8,49#8,49"}));

    ServiceProcess service(Args(), err);
    // Written in table order, so the last file is the last to be taken.
    ASSERT_TRUE(service.WaitForText("ITEMPREVENDA.TXT (2 linhas).")) << service.Err();
    service.Signal(SIGTERM);
    EXPECT_EQ(service.Wait(), 0) << service.Err();

    EXPECT_EQ(ListDir(send), Names{kSendDirectoryLockName});
    EXPECT_EQ(Prefixes(ListDir(response)), (Names{"CLIENTE_", "PRODUTO_", "PREVENDA", "ITEMPREVENDA"}));
    EXPECT_EQ(Count("CLIENTE"), 1);
    EXPECT_EQ(Count("DETALHE"), 2);
    EXPECT_EQ(Count("PEDIDOCOMPRACLIENTE"), 1);
    EXPECT_EQ(Count("ITPEDIDOCOMPRACLIENTE"), 2);
    EXPECT_NE(service.Err().find("Parado a pedido."), std::string::npos) << service.Err();
}

TEST_F(Service, AFailedCycleIsRetriedWithBackOffUntilTheFileIsFixed)
{
    Drop("CLIENTE.TXT", Lines({kCliente}));
    Drop("PRODUTO.TXT", Lines({Produto(1001), Produto(1002, "DOZE")}));

    ServiceProcess service(Args({"--retry-first", "100", "--retry-max", "400"}), err);
    // Two failures in a row: the second wait is twice the first.
    ASSERT_TRUE(service.WaitForText("Nova ativação em 0,2 s.")) << service.Err();
    Drop("PRODUTO.TXT", Lines({Produto(1001), Produto(1002)}));
    ASSERT_TRUE(service.WaitForText("PRODUTO.TXT (2 linhas)")) << service.Err();
    service.Signal(SIGTERM);
    EXPECT_EQ(service.Wait(), 0) << service.Err();

    const std::string text = service.Err();
    EXPECT_NE(text.find("AVISO " + Utf8FromCp1252(Cp1252("Não foi possível executar o comando:"))),
              std::string::npos)
        << text;
    EXPECT_LT(text.find("Nova ativação em 0,1 s."), text.find("Nova ativação em 0,2 s."));
    // The customer file was read again whole at each try: still one customer.
    EXPECT_EQ(Count("CLIENTE"), 1);
    EXPECT_EQ(Count("DETALHE"), 2);
    EXPECT_EQ(Prefixes(ListDir(response)), (Names{"CLIENTE_", "PRODUTO_"}));
}

TEST_F(Service, StopInTheMiddleOfALongFileEndsBetweenTwoLines)
{
    const int lines = 3000;
    std::vector<std::string> products;
    for (int code = 1; code <= lines; ++code) products.push_back(Produto(code));
    Drop("PRODUTO.TXT", Lines(products));

    ServiceProcess service(Args(), err);
    ASSERT_TRUE(service.WaitForText("Integrando PRODUTO.TXT: 3000 linhas")) << service.Err();
    service.Signal(SIGTERM);
    EXPECT_EQ(service.Wait(), 0) << service.Err();
    EXPECT_NE(service.Err().find(Utf8FromCp1252(Cp1252(
                  "Parado a pedido; PRODUTO.TXT fica no diretório de envio e será lido de onde parou."))),
              std::string::npos)
        << service.Err();

    // Every line is its own committed statement: what is stored is whole.
    const int stored = Count("DETALHE");
    EXPECT_LT(stored, lines);
    EXPECT_EQ(Count("DETALHE", "VLVENDA is null or NMDETALHE is null or CDUNIDADE is null"), 0);
    // The lines that went in are journaled, each once.
    EXPECT_EQ(ListDir(send), (Names{kSendDirectoryLockName, kLineJournalName, "PRODUTO.TXT"}));
    EXPECT_EQ(ListDir(response), Names{});
    EXPECT_EQ(ReadBytes(dir / "LOG/LogIntegracaoPAF.txt"), "");

    // The next run reads the file on from where it stopped: every line once,
    // each log text once.
    std::string text;
    EXPECT_EQ(RunService(Args({"--once"}), text), 0) << text;
    EXPECT_EQ(Count("DETALHE"), lines);
    const std::string log = ReadBytes(dir / "LOG/LogIntegracaoPAF.txt");
    EXPECT_EQ(static_cast<int>(std::count(log.begin(), log.end(), '\n')), lines);
    EXPECT_EQ(Prefixes(ListDir(response)), Names{"PRODUTO_"});
}

TEST_F(Service, OnceTellsHowTheRunWent)
{
    struct Row {
        const char* what;
        std::function<void()> prepare;
        std::vector<std::string> args;
        int status;
        std::string said;  // UTF-8, on standard error
    };
    const std::vector<Row> rows = {
        {"an unknown option", [] {}, {"--bogus"}, 2, "ligamor-service: opção desconhecida: --bogus"},
        // A switch with a value is no switch: neither run once nor asked for the status.
        {"a switch given a value", [] {}, Args({"--once=no"}), 2,
         "ligamor-service: --once não leva valor: --once=no\nUso: ligamor-service"},
        {"the status given a value", [] {}, Args({"--status=yes"}), 2,
         "ligamor-service: --status não leva valor: --status=yes\nUso: ligamor-service"},
        {"no settings file", [] {}, {"--config", dir / "NENHUM.csi", "--once"}, 2,
         "INFO " + Utf8FromCp1252(NotConfiguredMessage())},
        {"an interval that is no number",
         [this] {
             SystemSettings bad = *ReadSettingsForDialog(settingsFile);
             bad.IntervalText = "5 s";
             SaveSettings(dir / "RUIM.csi", bad);
         },
         {"--config", dir / "RUIM.csi", "--once"}, 2, "'5 s' is not a valid integer value"},
        {"nothing to do", [] {}, Args({"--once"}), 0, ""},
        {"a file applied and moved", [this] { Drop("CLIENTE.TXT", Lines({kCliente})); }, Args({"--once"}), 0,
         "Ciclo concluído: CLIENTE.TXT (1 linha)."},
        {"a line refused", [this] { Drop("PRODUTO.TXT", Lines({Produto(7, "SETE")})); }, Args({"--once"}), 1,
         "O arquivo " + send + "PRODUTO.TXT ficou no diretório de envio."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        row.prepare();
        std::string text;
        EXPECT_EQ(RunService(row.args, text), row.status) << text;
        EXPECT_NE(text.find(row.said), std::string::npos) << text;
    }
    EXPECT_EQ(Count("CLIENTE"), 1);
}

TEST_F(Service, ASecondOneOnTheSameSendDirectoryStaysOut)
{
    ServiceProcess first(Args(), err);
    ASSERT_TRUE(first.WaitForText(Utf8FromCp1252(Cp1252("Integração ativa")))) << first.Err();

    std::string text;
    EXPECT_EQ(RunService(Args({"--once"}), text), 3) << text;
    EXPECT_NE(text.find("INFO " + Utf8FromCp1252(AlreadyRunningMessage(send))), std::string::npos) << text;
    // The one refused says nothing in the status file: that is the holder's.
    std::string out;
    EXPECT_EQ(RunStatus(Args(), out), 0) << out;

    // The lock goes with the process that held it.
    first.Signal(SIGTERM);
    EXPECT_EQ(first.Wait(), 0) << first.Err();
    EXPECT_EQ(RunService(Args({"--once"}), text), 0) << text;
}


TEST_F(Service, StatusAnswersForTheIntegrationRunningOnTheSendDirectory)
{
    std::string out;
    EXPECT_EQ(RunStatus(Args(), out), 2) << out;  // none running: critical

    ServiceProcess service(Args(), err);
    ASSERT_TRUE(service.WaitForText(Utf8FromCp1252(Cp1252("Integração ativa")))) << service.Err();
    EXPECT_EQ(RunStatus(Args(), out), 0) << out;
    EXPECT_EQ(RunStatus(Args({"--json"}), out), 0) << out;
    EXPECT_EQ(out.rfind("{\"estado\": \"normal\", \"codigo\": 0,", 0), 0u) << out;

    // A refused line stops the cycle: failing, and the reason is the database's text.
    Drop("PRODUTO.TXT", Lines({Produto(7, "SETE")}));
    ASSERT_TRUE(service.WaitForText(Utf8FromCp1252(Cp1252("Nova ativação em")))) << service.Err();
    EXPECT_EQ(RunStatus(Args(), out), 2) << out;
    EXPECT_EQ(RunStatus(Args({"--json"}), out), 2) << out;
    EXPECT_NE(out.find("\"arquivo_mais_antigo\": \"" + send + "PRODUTO.TXT\""), std::string::npos) << out;
    EXPECT_NE(out.find("conversion error from string \\\"SETE\\\""), std::string::npos) << out;

    service.Signal(SIGTERM);
    EXPECT_EQ(service.Wait(), 0) << service.Err();
    EXPECT_EQ(RunStatus(Args({"--json"}), out), 2) << out;
}

// The exit statuses as Nagios, Icinga and NSClient++ read them: a stopped or
// absent integration is CRITICAL; UNKNOWN only when the state cannot be told.
TEST_F(Service, StatusExitsByTheMonitoringConvention)
{
    struct Row {
        const char* what;
        std::vector<std::string> settings;  // lines added to the settings file
        std::function<void()> prepare;
        std::string running;  // what the running service says first; empty: none runs
        int code;
        const char* state;  // as --json and --prometheus name it
        std::string line;   // its start
        std::function<void()> whileRunning{};
    };
    const std::string directory = dir / "PASTA.csi";
    std::filesystem::create_directories(directory);
    const std::string status = dir / "LOG/EstadoLigamor.txt";
    // Scheduled: one run with --once, asked about after it exited.
    const auto once = [this](int exitStatus) {
        std::string text;
        EXPECT_EQ(RunService(Args({"--once"}), text), exitStatus) << text;
    };
    const auto endedAgo = [status](long long ns) {
        HealthFacts facts = ParseHealthFacts(ReadBytes(status));
        facts.onceEndedNs -= ns;
        WriteBytes(status, HealthFactsText(facts));
    };
    constexpr long long kMinute = 60'000'000'000LL;
    const std::vector<Row> rows = {
        {"normal", {}, [] {}, "Integração ativa", 0, "normal", "Integração normal: lendo os arquivos a cada 0,2 s."},
        {"late: a line set aside", {"RECUSADAS=SEPARAR"},
         [this] { Drop("PRODUTO.TXT", Lines({Produto(7, "SETE")})); }, "linha separada em", 1, "atrasada",
         "Integração atrasada: 1 linha separada em RECUSADAS"},
        {"failing: a refused line", {}, [this] { Drop("PRODUTO.TXT", Lines({Produto(8, "OITO")})); },
         "Nova ativação em", 2, "com falha", "Integração com falha: "},
        {"stopped", {"TEMPO_COMUNICACAO=0"}, [] {}, "TEMPO_COMUNICACAO é 0", 2, "parada",
         "Integração parada: a leitura dos arquivos está desligada (TEMPO_COMUNICACAO 0)."},
        // The status file that the last row's service left stays unread.
        {"none running", {}, [] {}, "", 2, "nenhuma", "Nenhuma integração em execução no diretório de envio " + send},
        {"--once ended well", {}, [&] { once(0); }, "", 0, "normal",
         "Integração normal: a última execução com --once terminou bem há "},
        {"--once ended well, longer ago than five intervals and two minutes", {},
         [&] {
             once(0);
             endedAgo(3 * kMinute);
         },
         "", 1, "atrasada", "Integração atrasada: nenhuma execução com --once terminou há 3 min.\n"},
        {"--once failed", {}, [&] {
             Drop("PRODUTO.TXT", Lines({Produto(9, "NOVE")}));
             once(1);
         },
         "", 2, "com falha", "Integração com falha: a última execução com --once falhou há "},
        {"none running: a service ran and stopped after --once", {},
         [&] {
             once(0);
             ServiceProcess service(Args(), err);
             ASSERT_TRUE(service.WaitForText("Integração ativa")) << service.Err();
             service.Signal(SIGTERM);
             EXPECT_EQ(service.Wait(), 0) << service.Err();
         },
         "", 2, "nenhuma", "Nenhuma integração em execução no diretório de envio " + send},
        {"settings that cannot be read", {}, [] {}, "", 3, "desconhecido", "Estado desconhecido: "},
        {"a wrong argument", {}, [] {}, "", 3, "desconhecido", "Estado desconhecido: opção desconhecida: --bogus."},
        {"a damaged status file", {}, [] {}, "Integração ativa", 3, "desconhecido",
         "Estado desconhecido: o arquivo \"" + dir / "LOG/EstadoLigamor.txt" +
             "\" está danificado na linha 2: número fora do limite.",
         [this] {
             WriteBytes(dir / "LOG/EstadoLigamor.txt", "LEITURA=1\r\nINTERVALO_MS=99999999999999999999\r\n"
                                                       "ATIVADA_NS=1\r\nULTIMO_CICLO_NS=0\r\nFALHA=\r\nSEPARADAS=0\r\n"
                                                       "SEPARADA_MAIS_ANTIGA=\r\n");
         }},
    };
    const std::string settings = ReadBytes(settingsFile);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::string text = settings;
        for (const std::string& line : row.settings) {
            if (line.rfind("TEMPO_COMUNICACAO", 0) == 0) text.replace(text.find("TEMPO_COMUNICACAO=200"), 21, line);
            else text += line + "\r\n";
        }
        WriteBytes(settingsFile, text);
        std::filesystem::remove_all(response);
        std::filesystem::remove_all(dir / "RECUSADAS");
        row.prepare();
        std::optional<ServiceProcess> service;
        if (!row.running.empty()) {
            service.emplace(Args(), err);
            ASSERT_TRUE(service->WaitForText(row.running)) << service->Err();
        }
        if (row.whileRunning) row.whileRunning();
        std::vector<std::string> args = Args();
        if (row.code == 3 && !service) args = std::string(row.what)[0] == 's' ? std::vector<std::string>{"--config", directory}
                                                                  : Args({"--bogus"});
        std::string out;
        EXPECT_EQ(RunStatus(args, out), row.code) << out;
        EXPECT_EQ(out.rfind(row.line, 0), 0u) << out;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
        // The metrics say as much, whatever went wrong.
        args.push_back("--prometheus");
        EXPECT_EQ(RunStatus(args, out), row.code) << out;
        EXPECT_NE(out.find("\nligamor_state{state=\"" + std::string(row.state) + "\"} 1\n"), std::string::npos) << out;
        EXPECT_NE(out.find("\nligamor_status_code " + std::to_string(row.code) + "\n"), std::string::npos) << out;
        EXPECT_NE(out.find("\nligamor_running " + std::to_string(service ? 1 : 0) + "\n"), std::string::npos) << out;
        if (service) {
            service->Signal(SIGTERM);
            EXPECT_EQ(service->Wait(), 0) << service->Err();
        }
        for (const std::string& name : ListDir(send))
            if (name != kSendDirectoryLockName) std::filesystem::remove(send + name);
    }
}

// A monitoring agent asks without pause while a window and the service start
// and stop on the send directory: asking never holds the lock, so no start is
// ever refused because of it.
TEST_F(Service, StatusAskedWithoutPauseNeverRefusesAStart)
{
    std::atomic<bool> asking{true};
    std::atomic<int> asked{0};
    const auto agent = [&] {
        std::string out;
        while (asking) {
            RunStatus(Args(), out);
            ++asked;
        }
    };
    std::thread first(agent), second(agent);
    std::vector<std::string> refused;
    for (int round = 0; round < 60 && (round < 6 || asked < 300); ++round) {
        std::string text;
        if (RunService(Args({"--once"}), text) == 3) refused.push_back("service: " + text);
#ifdef LIGAMOR_WINDOW_EXE
        // The window, offscreen: it holds the lock once its activation went through.
        ServiceProcess window(Args(), err, {.program = LIGAMOR_WINDOW_EXE});
        bool held = false;
        for (int i = 0; i < 1500 && !held && window.Running(); ++i) {
            held = InstanceLock::HeldByAnyone(send + kSendDirectoryLockName);
            if (!held) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (!held) refused.push_back("window");
        window.Signal(SIGTERM);
        window.Wait();
#endif
    }
    asking = false;
    first.join();
    second.join();
    EXPECT_TRUE(refused.empty()) << refused.front();
    EXPECT_GE(asked.load(), 300);
    std::printf("--status asked %d times meanwhile\n", asked.load());
}

// The service manager's status line, as systemctl status shows it: a
// datagram socket of the test's own as NOTIFY_SOCKET.
TEST_F(Service, TheManagersStatusLineStartsWithTheHealth)
{
    const NotifySocket manager(dir / "notify");
    ServiceProcess service(Args(), err);
    // Until the line after activation, or a minute of silence.
    std::string status;
    for (int quiet = 0; quiet < 60 && status.find("Integração ativa") == std::string::npos;) {
        const std::string datagram = manager.Receive();
        if (datagram.empty()) ++quiet;
        else if (datagram.rfind("STATUS=", 0) == 0) status = datagram.substr(7);
    }
    service.Signal(SIGTERM);
    EXPECT_EQ(service.Wait(), 0) << service.Err();
    EXPECT_EQ(status.rfind("Integração normal: ", 0), 0u) << status;
}

}  // namespace
}  // namespace ligamor::test
