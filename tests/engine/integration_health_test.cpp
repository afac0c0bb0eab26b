// The health of a real cycle over real folders: what the status file says
// after each cycle, and a file that has waited for long.
#include <filesystem>

#include "engine/integration_health.h"
#include "engine_fixture.h"
#include "runtime/failures.h"

namespace ligamor {
namespace {

class IntegrationHealthTest : public test::EngineTest {
protected:
    HealthFacts StatusFile() const
    {
        HealthFacts facts;
        EXPECT_TRUE(ReadStatusFile(settings.LogDirectory, facts));
        return facts;
    }
};

TEST_F(IntegrationHealthTest, TheStatusFileFollowsEachCycle)
{
    // As activation leaves it: the status file is the send directory's holder's.
    ASSERT_EQ(integration.state.sendDirectoryLock.Acquire(Send(kSendDirectoryLockName)), InstanceLock::Outcome::Held);
    integration.state.health = {.polling = true, .intervalMs = 5000, .activatedNs = 1, .lastCycleEndNs = 0, .failure = {},
                          .setAsideLines = 0, .oldestSetAside = {}};
    test::WriteBytes(Send("PRODUTO.TXT"), "p1\r\np2\r\n");
    hook = [](const std::string&, const std::string& line) {
        if (line == "p2") throw Failure("refused");
    };
    timer.SetInterval(5000);
    EXPECT_THROW(RunIntegrationCycle(integration, view), Failure);
    EXPECT_EQ(StatusFile().failure, "refused");
    EXPECT_EQ(StatusFile().lastCycleEndNs, 0);
    EXPECT_EQ(IntegrationHealth(integration).state, HealthState::Falha);

    // As after "&Ativar": the file goes through, and the failure is gone.
    hook = nullptr;
    timer.SetInterval(5000);
    RunIntegrationCycle(integration, view);
    const HealthFacts after = StatusFile();
    EXPECT_EQ(after.failure, "");
    EXPECT_TRUE(after.polling);
    EXPECT_GT(after.lastCycleEndNs, 0);
    EXPECT_EQ(IntegrationHealth(integration).state, HealthState::Normal);

    // The timer stopped by the front end ("&Desativar"): polling is off.
    timer.SetInterval(0);
    EXPECT_EQ(IntegrationHealth(integration).state, HealthState::Parada);
}

TEST_F(IntegrationHealthTest, AFileWaitingForLongIsTheOldestAndMakesItLate)
{
    integration.state.health = {.polling = true, .intervalMs = 5000, .activatedNs = 0, .lastCycleEndNs = 0, .failure = {},
                          .setAsideLines = 0, .oldestSetAside = {}};
    timer.SetInterval(5000);
    test::WriteBytes(Send("CLIENTE.TXT"), "c1\r\n");
    test::WriteBytes(Send("PRODUTO.TXT"), "p1\r\n");
    EXPECT_EQ(IntegrationHealth(integration).state, HealthState::Normal);

    namespace fs = std::filesystem;
    fs::last_write_time(Send("PRODUTO.TXT"), fs::file_time_type::clock::now() - std::chrono::minutes(10));
    const Health health = IntegrationHealth(integration);
    EXPECT_EQ(health.state, HealthState::Atrasada);
    EXPECT_EQ(health.oldest.path, Send("PRODUTO.TXT"));
}

}  // namespace
}  // namespace ligamor
