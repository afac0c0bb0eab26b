// A window's "&Desativar" and "&Ativar" as the integration that holds the send
// directory follows them, and who may send them.
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "engine/control_request.h"
#include "engine/holder_control.h"
#include "engine/integration_health.h"
#include "runtime/text1252.h"
#include "engine_fixture.h"

namespace ligamor::test {
namespace {

using namespace std::chrono_literals;

class Quiet : public CycleProgress {
public:
    void LineApplied(const std::string&, std::size_t, std::size_t) override {}
    bool StopRequested() override { return false; }
};

class HolderControl : public EngineTest {
protected:
    HolderControl()
    {
        integration.progress = &progress;
        integration.settingsFile = dir / "ConfigLigamor.csi";
        integration.state.sendDirectoryLock.Acquire(settings.SendDirectory + kSendDirectoryLockName);
        NoteHolder(integration);
        timer.SetInterval(5000);
        integration.state.health.polling = true;
        integration.state.health.intervalMs = 5000;
    }

    ControlRequest Request(ControlAction action, long long madeNs)
    {
        const HealthFacts& holder = integration.state.health;
        return {action, "maria", "CAIXA2", 77, holder.holderPid, holder.holderSinceNs, madeNs};
    }

    Quiet progress;
};

TEST_F(HolderControl, DesativarStopsAfterTheLineAndAtivarGoesOnFromThere)
{
    WriteBytes(Send("PRODUTO.TXT"), "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
    hook = [&](const std::string&, const std::string& line) {
        if (line != "3") return;
        SendControlRequest(settings.SendDirectory, integration.settingsFile, Request(ControlAction::Desativar, 10));
        // The holder reads requests twice a second between lines.
        std::this_thread::sleep_for(600ms);
    };
    RunIntegrationCycle(integration, view);
    EXPECT_EQ(seen, (std::vector<std::string>{"P:1", "P:2", "P:3"}));
    EXPECT_TRUE(std::filesystem::exists(Send("PRODUTO.TXT")));
    EXPECT_EQ(timer.Interval(), 5000);  // ticks go on, to hear the "&Ativar"
    const Health paused = IntegrationHealth(integration);
    EXPECT_EQ(HealthLine(paused), "Integração parada: a leitura dos arquivos foi desligada no menu (Desativar) por "
                                  "maria em CAIXA2; Ativar volta a ler a cada 5 s.");
    HealthFacts written;
    ASSERT_TRUE(ReadStatusFile(settings.LogDirectory, written));
    EXPECT_EQ(written.pausedBy, "maria em CAIXA2");

    hook = nullptr;
    RunIntegrationCycle(integration, view);  // paused: nothing read
    EXPECT_EQ(seen.size(), 3u);

    // Beside the settings, where the group ligamor may write.
    std::filesystem::remove(SendDirectoryRequestPath(settings.SendDirectory));
    WriteBytes(SettingsRequestPath(integration.settingsFile), ControlRequestText(Request(ControlAction::Ativar, 20)));
    RunIntegrationCycle(integration, view);
    EXPECT_EQ(seen, (std::vector<std::string>{"P:1", "P:2", "P:3", "P:4", "P:5", "P:6"}));
    EXPECT_FALSE(std::filesystem::exists(Send("PRODUTO.TXT")));
    EXPECT_EQ(IntegrationHealth(integration).state, HealthState::Normal);
}

TEST_F(HolderControl, OnlyTheNewestRequestForThisHolderCounts)
{
    const std::string send = settings.SendDirectory, file = integration.settingsFile;
    const HealthFacts& me = integration.state.health;
    struct Row {
        const char* what;
        ControlRequest inSend, besideSettings;
        long long after;
        std::optional<ControlAction> taken;
    };
    ControlRequest stale = Request(ControlAction::Desativar, 30);
    stale.holderSinceNs = me.holderSinceNs - 1;  // for the holder before a restart
    const std::vector<Row> rows = {
        {"the newer of the two places", Request(ControlAction::Desativar, 10), Request(ControlAction::Ativar, 20), 0,
         ControlAction::Ativar},
        {"the other way round", Request(ControlAction::Desativar, 30), Request(ControlAction::Ativar, 20), 0,
         ControlAction::Desativar},
        {"one acted on already", Request(ControlAction::Desativar, 10), Request(ControlAction::Ativar, 20), 20,
         std::nullopt},
        {"for an earlier holder", stale, Request(ControlAction::Ativar, 5), 5, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        WriteBytes(SendDirectoryRequestPath(send), ControlRequestText(row.inSend));
        WriteBytes(SettingsRequestPath(file), ControlRequestText(row.besideSettings));
        const std::optional<ControlRequest> taken =
            NewestControlRequest(send, file, me.holderPid, me.holderSinceNs, row.after);
        EXPECT_EQ(taken ? std::optional(taken->action) : std::nullopt, row.taken);
    }
    EXPECT_EQ(SettingsRequestPath("ConfigLigamor.csi"), "./.ConfigLigamor.csi.pedido");
    EXPECT_EQ(SettingsRequestPath("/etc/ligamor/loja2.csi"), "/etc/ligamor/.loja2.csi.pedido");
    // A request cut short is none.
    const std::string whole = ControlRequestText(Request(ControlAction::Ativar, 40));
    EXPECT_TRUE(ParseControlRequest(whole));
    EXPECT_FALSE(ParseControlRequest(whole.substr(0, whole.size() - 3)));
}

// Only whoever may write in the send directory or beside the settings (on
// Linux: the group ligamor) may ask; anyone else is told so, and nothing
// changes. A user outside the folder's group who may write there may ask.
TEST_F(HolderControl, OnlyWhoMayWriteThereMayAsk)
{
    if (geteuid() != 0) GTEST_SKIP() << "needs root, to ask as another user";
    const passwd* nobody = getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    struct Row {
        const char* what;
        std::filesystem::perms send;
        bool paused;
    };
    const Row rows[] = {
        {"neither place writable", std::filesystem::perms(0755), false},
        {"a send directory anyone may write in", std::filesystem::perms(0777), true},
    };
    std::filesystem::permissions(dir.Path(), std::filesystem::perms(0755));
    long long made = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::filesystem::permissions(settings.SendDirectory, row.send);
        const ControlRequest request = Request(ControlAction::Desativar, ++made);
        const pid_t child = fork();
        if (child == 0) {
            int outcome = 1;
            if (setgroups(0, nullptr) == 0 && setgid(nobody->pw_gid) == 0 && setuid(nobody->pw_uid) == 0) {
                try {
                    SendControlRequest(settings.SendDirectory, integration.settingsFile, request);
                    outcome = 0;
                } catch (const ControlRefused& refused) {
                    const std::string expected = "Você não tem permissão para ativar ou desativar a integração";
                    outcome = refused.Message().rfind(Cp1252(expected), 0) == 0 ? 2 : 3;
                }
            }
            _exit(outcome);
        }
        int status = -1;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << status;
        EXPECT_EQ(WEXITSTATUS(status), row.paused ? 0 : 2);
        EXPECT_EQ(TakeControlRequests(integration).has_value(), row.paused);
        EXPECT_EQ(integration.state.pausedByRequest, row.paused);
    }
}

}  // namespace
}  // namespace ligamor::test
