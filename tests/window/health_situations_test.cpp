// What the window's status bar, the status file and a monitoring agent's
// --status say of the integration in the situations a shop meets: the three
// agree, and the reason is the real one, also while a box waits for its OK.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <functional>

#include "../engine/engine_fixture.h"
#include "engine/integration_health.h"
#include "runtime/text1252.h"
#include "support/test_database.h"
#include "runtime/process_identity.h"
#include "window/window_controller.h"

#ifndef LIGAMOR_SERVICE_EXE
#error LIGAMOR_SERVICE_EXE must name ligamor-service
#endif

namespace ligamor::test {
namespace {

// ligamor-service --status, as a monitoring agent runs it.
int StatusOf(const std::string& settingsFile, std::string& out)
{
    const std::string command = LIGAMOR_SERVICE_EXE " --status --config '" + settingsFile + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    out.clear();
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int status = ::pclose(pipe);
    if (!out.empty() && out.back() == '\n') out.pop_back();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class Surface : public WindowSurface {
public:
    void ShowChecks(bool, bool) override {}
    void CloseWindow() override {}
    void BringToFront() override {}
    void RunConfigurationDialog() override
    {
        if (whileOpen) whileOpen();
    }
    void StopCycleAfterLine() override {}
    void CycleOver() override {}
    void ShowHealth(HealthState, const std::string& utf8Line) override { line = utf8Line; }

    std::function<void()> whileOpen;
    std::string line;
};

// The front end's boxes, looked around at while one waits for its OK.
class WaitingBoxes : public Messages {
public:
    void InformationBox(const std::string&) override { Waiting(); }
    void ErrorBox(const std::string&) override { Waiting(); }
    void PlainMessage(const std::string&) override { Waiting(); }
    void ErrorReport(const std::string&) override {}
    std::function<void()> whileShown;

private:
    void Waiting()
    {
        if (whileShown) whileShown();
    }
};

struct Seen {
    std::string window;  // the status bar's line
    std::string file;    // the status file's text
    int code = -1;       // --status's exit status
    std::string status;  // and its line
};

struct Row {
    const char* what;
    std::string line;  // the start of the line all three give
    std::string inFile;
    int code;
};

class HealthSituations : public ShopDatabaseTest {
protected:
    // Activation loads what this saves into settings: the folders are kept apart.
    void Save(const std::string& interval, const std::string& databasePath = database,
              const std::string& response = {})
    {
        SaveSettings(integration.settingsFile, {.Server = "LOCAL",
                                                .DatabasePath = databasePath,
                                                .UserName = "SYSDBA",
                                                .Password = "masterkey",
                                                .SendDirectory = send,
                                                .ResponseDirectory = response.empty() ? responses : response,
                                                .LogDirectory = logs,
                                                .IntervalText = interval});
    }

    Seen Look()
    {
        Seen seen;
        seen.window = surface.line;
        seen.file = ReadBytes(StatusFilePath(logs));
        seen.code = StatusOf(integration.settingsFile, seen.status);
        return seen;
    }

    const std::string send = settings.SendDirectory;
    const std::string responses = settings.ResponseDirectory;
    const std::string logs = settings.LogDirectory;
    Surface surface;
};

TEST_F(HealthSituations, TheWindowTheStatusFileAndStatusTellTheRealCause)
{
    integration.settingsFile = dir / "ConfigLigamor.csi";
    const std::string refused = "Integração com falha: uma linha foi recusada e o ciclo parou";
    const ProcessIdentity me = ThisProcess();
    const std::vector<Row> rows = {
        {"Desativar with an interval of 5 s",
         "Integração parada: a leitura dos arquivos foi desligada no menu (Desativar) por " + me.user + " em " +
             me.computer + "; Ativar volta a ler a cada 5 s.",
         "DESLIGADA=DESATIVAR", 2},
        {"the settings dialog open",
         "Integração parada: a leitura dos arquivos foi desligada para as Configurações; Ativar volta a ler a cada 5 s.",
         "DESLIGADA=CONFIGURACOES", 2},
        {"TEMPO_COMUNICACAO 0", "Integração parada: a leitura dos arquivos está desligada (TEMPO_COMUNICACAO 0).",
         "LEITURA=0", 2},
        {"a failed Ativar (connection), then a cycle with no file",
         "Integração com falha: Erro ao Conectar em Banco de Dados. ", "FALHA=Erro ao Conectar em Banco de Dados. ", 2},
        {"a failed Ativar (directory), then a cycle with no file", "Integração com falha: ", "FALHA=", 2},
        {"a failed Ativar (interval), then a cycle with no file",
         "Integração com falha: 'abc' is not a valid integer value.", "FALHA='abc' is not a valid integer value", 2},
        {"a refused line with its box open", refused, "FALHA=uma linha foi recusada", 2},
        {"polling every half second", "Integração normal: lendo os arquivos a cada 0,5 s.", "LEITURA=1", 0},
    };
    WaitingBoxes boxes;
    MessageGate gate{boxes};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        SCOPED_TRACE(row.what);
        FakeTimer listen;
        WindowController window{integration, view, surface, listen};
        integration.recordMessages = nullptr;
        hook = nullptr;
        Save(i == 2 ? "0" : i == 7 ? "500" : "5000");
        window.Shown();
        Seen seen;
        switch (i) {
        case 0: window.Desativar(); break;
        case 1: surface.whileOpen = [&] { seen = Look(); }; window.Configuracoes(); break;
        case 2: break;
        case 3: case 4: case 5:
            if (i == 3) Save("5000", dir / "NENHUM.FDB");
            if (i == 4) Save("5000", database, logs + kStatusFileName + "/RESPOSTA/");
            if (i == 5) Save("abc");
            window.Ativar();
            ASSERT_EQ(timer.interval, 5000);  // the timer runs on after the failed activation
            window.Tick();
            break;
        case 6:
            // As a record's own check refuses a line: its box, then the silent abort.
            integration.recordMessages = &gate;
            hook = [&](const std::string&, const std::string&) {
                gate.InformationBox(Cp1252("O campo Tipo Cpf fora dos padrões."));
                throw SilentAbort{};
            };
            boxes.whileShown = [&] { seen = Look(); };
            WriteBytes(Send("CLIENTE.TXT"), "1\r\n");
            window.Tick();
            boxes.whileShown = nullptr;
            std::filesystem::remove(Send("CLIENTE.TXT"));
            break;
        default: break;
        }
        if (i != 1 && i != 6) seen = Look();
        surface.whileOpen = nullptr;
        std::printf("[ %s ]\n  window:   %s\n  --status: %d %s\n  file:     %s\n", row.what, seen.window.c_str(),
                    seen.code, seen.status.c_str(), seen.file.c_str());
        EXPECT_EQ(seen.window.rfind(row.line, 0), 0u) << seen.window;
        EXPECT_EQ(seen.status, seen.window);
        EXPECT_EQ(seen.code, row.code);
        EXPECT_NE(seen.file.find(row.inFile), std::string::npos) << seen.file;
    }
}

}  // namespace
}  // namespace ligamor::test
