// The log window's behaviour without any toolkit: each menu item and a close
// request when idle, in the middle of a real cycle, and after a failed
// activation, with the check marks, the timer, what the window was asked to do
// and in which order.
#include <gtest/gtest.h>

#include "../engine/engine_fixture.h"
#include "runtime/text1252.h"
#include "support/test_database.h"
#include "engine/control_request.h"
#include "window/window_controller.h"

namespace ligamor::test {
namespace {

// Notes what the controller asked of the window; also the cycle's progress
// hook, so that a stop it asks for ends the cycle after its line.
class RecordingSurface : public WindowSurface, public CycleProgress {
public:
    void ShowChecks(bool, bool) override {}
    void CloseWindow() override { asked.push_back("close"); }
    void BringToFront() override { asked.push_back("front"); }
    void RunConfigurationDialog() override { asked.push_back("dialog"); }
    void StopCycleAfterLine() override
    {
        asked.push_back("stop");
        stop = true;
    }
    void CycleOver() override
    {
        asked.push_back("cycle over");
        stop = false;
    }
    void ShowHealth(HealthState state, const std::string&) override { health = state; }
    void LineApplied(const std::string&, std::size_t, std::size_t) override {}
    bool StopRequested() override { return stop; }

    std::vector<std::string> asked;
    bool stop = false;
    HealthState health = HealthState::Normal;  // the last shown
};

enum class State { Idle, CycleRunning, ActivationFailed };
enum class Item { Ativar, Desativar, VisualizarLogs, Configuracoes, Fechar, CloseRequest };

struct Row {
    Item item;
    State state;
    bool ativar, desativar;           // check marks afterwards
    bool polling;                     // the timer runs afterwards
    std::vector<std::string> asked;   // of the window, in order, from the item on
    bool fileMoved = false;           // the cycle's file (CycleRunning only)
    bool restartBox = false;          // "Finalize a Aplicação ..." shown
    int connectionErrors = 0;         // "Erro ao Conectar em Banco de Dados." boxes, start-up's included
    HealthState health = HealthState::Normal;  // beside the banner afterwards
};

class WindowBehaviour : public ShopDatabaseTest {
protected:
    // The settings file that activation reads: the fixture's folders, polling every 5 s.
    void SaveShopSettings(const std::string& databasePath)
    {
        integration.settingsFile = dir / "ConfigLigamor.csi";
        SaveSettings(integration.settingsFile, {.Server = "LOCAL",
                                                .DatabasePath = databasePath,
                                                .UserName = "SYSDBA",
                                                .Password = "masterkey",
                                                .SendDirectory = settings.SendDirectory,
                                                .ResponseDirectory = settings.ResponseDirectory,
                                                .LogDirectory = settings.LogDirectory,
                                                .IntervalText = "5000"});
    }


    int Count(const std::string& text) const
    {
        int n = 0;
        for (const Shown& shown : messages.shown) n += shown.text == text;
        return n;
    }

};

TEST_F(WindowBehaviour, EachItemIdleDuringACycleAndAfterAFailedActivation)
{
    using S = State;
    using I = Item;
    using H = HealthState;
    const std::vector<Row> rows = {
        {I::Ativar, S::Idle, true, false, true, {}, false, false, 0, H::Normal},
        {I::Desativar, S::Idle, false, true, false, {}, false, false, 0, H::Parada},
        {I::VisualizarLogs, S::Idle, true, false, true, {"front"}, false, false, 0, H::Normal},
        {I::Configuracoes, S::Idle, true, false, false, {"dialog"}, false, true, 0, H::Parada},
        {I::Fechar, S::Idle, true, false, true, {"close"}, false, false, 0, H::Normal},
        {I::CloseRequest, S::Idle, true, false, true, {"close"}, false, false, 0, H::Normal},
        // The cycle runs on, and activation follows it.
        {I::Ativar, S::CycleRunning, true, false, true, {"cycle over"}, true, false, 0, H::Normal},
        // The others end it after its line; what they do follows its end.
        {I::Desativar, S::CycleRunning, false, true, false, {"stop", "cycle over"}, false, false, 0, H::Parada},
        {I::VisualizarLogs, S::CycleRunning, true, false, true, {"front", "cycle over"}, true, false, 0, H::Normal},
        {I::Configuracoes, S::CycleRunning, true, false, false, {"stop", "cycle over", "dialog"}, false, true, 0,
         H::Parada},
        {I::Fechar, S::CycleRunning, true, false, false, {"stop", "cycle over", "close"}, false, false, 0,
         H::Parada},
        {I::CloseRequest, S::CycleRunning, true, false, false, {"stop", "cycle over", "close"}, false, false, 0,
         H::Parada},
        // "&Ativar" tries the connection again; the rest acts as when idle.
        {I::Ativar, S::ActivationFailed, true, false, false, {}, false, false, 2, H::Falha},
        {I::Desativar, S::ActivationFailed, false, true, false, {}, false, false, 1, H::Falha},
        {I::VisualizarLogs, S::ActivationFailed, true, false, false, {"front"}, false, false, 1, H::Falha},
        {I::Configuracoes, S::ActivationFailed, true, false, false, {"dialog"}, false, true, 1, H::Falha},
        {I::Fechar, S::ActivationFailed, true, false, false, {"close"}, false, false, 1, H::Falha},
        {I::CloseRequest, S::ActivationFailed, true, false, false, {"close"}, false, false, 1, H::Falha},
    };
    const std::string connectionError = Cp1252("Erro ao Conectar em Banco de Dados.");
    const std::string restart = Cp1252("Finalize a Aplicação E Execute-a Novamente Para Aplicar A Alteração.");
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "item " << static_cast<int>(row.item) << ", state "
                                        << static_cast<int>(row.state));
        // One window per row, over the same folders and database.
        RecordingSurface out;
        messages.shown.clear();
        timer.SetInterval(0);
        for (const std::string& name : ListDir(settings.ResponseDirectory))
            std::filesystem::remove(settings.ResponseDirectory + name);
        FakeTimer listen;
        WindowController window{integration, view, out, listen};
        SaveShopSettings(row.state == S::ActivationFailed ? dir / "NENHUM.FDB" : database);
        integration.progress = &out;
        window.Shown();
        window.Shown();  // a later show activates nothing
        ASSERT_EQ(Count(connectionError), row.state == S::ActivationFailed ? 1 : 0);

        auto act = [&] {
            switch (row.item) {
            case I::Ativar: window.Ativar(); break;
            case I::Desativar: window.Desativar(); break;
            case I::VisualizarLogs: window.VisualizarLogs(); break;
            case I::Configuracoes: window.Configuracoes(); break;
            case I::Fechar: window.Fechar(); break;
            case I::CloseRequest:
                if (window.CloseRequested()) out.asked.push_back("close");
                break;
            }
        };
        if (row.state == S::CycleRunning) {
            WriteBytes(Send("CLIENTE.TXT"), "1\r\n2\r\n3\r\n");
            bool done = false;
            hook = [&](const std::string&, const std::string&) {
                if (!done) act();  // as the window's events come through between two lines
                done = true;
            };
            window.Tick();
            hook = nullptr;
            EXPECT_EQ(ListDir(settings.ResponseDirectory).size(), row.fileMoved ? 1u : 0u);
            std::filesystem::remove(Send("CLIENTE.TXT"));
        } else {
            act();
        }

        EXPECT_EQ(window.AtivarChecked(), row.ativar);
        EXPECT_EQ(window.DesativarChecked(), row.desativar);
        EXPECT_EQ(timer.interval > 0, row.polling);
        EXPECT_EQ(out.asked, row.asked);
        EXPECT_EQ(Count(restart), row.restartBox ? 1 : 0);
        EXPECT_EQ(Count(connectionError), row.connectionErrors);
        EXPECT_EQ(out.health, row.health);
    }
}

// The window that integrates hears the windows beside it twice a second,
// between cycles, and after its own "&Desativar" too.
TEST_F(WindowBehaviour, AWindowThatIntegratesHearsTheWindowsBesideIt)
{
    RecordingSurface out;
    FakeTimer listen;
    WindowController window{integration, view, out, listen};
    EXPECT_EQ(listen.interval, WindowController::kListenIntervalMs);
    SaveShopSettings(database);
    integration.progress = &out;
    window.Shown();
    window.Desativar();
    ASSERT_EQ(timer.interval, 0);
    const HealthFacts& me = integration.state.health;
    long long made = 0;
    const auto ask = [&](ControlAction action) {
        SendControlRequest(settings.SendDirectory, integration.settingsFile,
                           {action, "maria", "CAIXA2", 77, me.holderPid, me.holderSinceNs, ++made});
        window.Listen();
    };
    ask(ControlAction::Ativar);
    EXPECT_EQ(timer.interval, 5000);
    EXPECT_TRUE(window.AtivarChecked());
    ask(ControlAction::Desativar);
    EXPECT_TRUE(window.DesativarChecked());
    EXPECT_EQ(out.health, HealthState::Parada);
    WriteBytes(Send("CLIENTE.TXT"), "1\r\n");
    window.Tick();
    EXPECT_TRUE(std::filesystem::exists(Send("CLIENTE.TXT")));
    ask(ControlAction::Ativar);
    window.Tick();
    EXPECT_FALSE(std::filesystem::exists(Send("CLIENTE.TXT")));
    EXPECT_EQ(out.health, HealthState::Normal);
}

}  // namespace
}  // namespace ligamor::test
