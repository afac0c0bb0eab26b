#include "engine_fixture.h"
#include "runtime/failures.h"
#include "runtime/paths.h"
#include "runtime/text1252.h"
#include "support/os_codes.h"
#include "support/test_database.h"

namespace ligamor {
namespace {

// A path below dir written with "/", in the platform's separator.
std::string Below(const test::TempDir& dir, std::string path)
{
    for (char& c : path)
        if (c == '/') c = kPathSeparator;
    return dir / path;
}

class Activation : public test::EngineTest {
protected:
    Activation()
    {
        settingsDir = Below(dir, "prog/");
        ForceDirectoryPath(settingsDir);
        integration.settingsFile = SettingsFilePath(settingsDir);
        settings = SystemSettings{};
    }
    void WriteSettings(const std::string& databasePath, const std::string& interval)
    {
        SaveSettings(SettingsFilePath(settingsDir), {.Server = "LOCAL",
                                                      .DatabasePath = databasePath,
                                                      .UserName = "SYSDBA",
                                                      .Password = "masterkey",
                                                      .SendDirectory = Below(dir, "w/ENVIO/"),
                                                      .ResponseDirectory = Below(dir, "w/RESPOSTA/"),
                                                      .LogDirectory = Below(dir, "w/LOG/"),
                                                      .IntervalText = interval});
    }
    std::string settingsDir;
};

TEST_F(Activation, WithoutSettingsFileOnlyTheMessageAndTheTimerStopped)
{
    timer.SetInterval(5000);
    ActivateIntegration(integration);
    EXPECT_EQ(messages.shown, (std::vector<test::Shown>{{test::Shown::Information, NotConfiguredMessage()}}));
    EXPECT_EQ(timer.interval, 0);
    EXPECT_FALSE(dtmain.conmain.Connected());
    EXPECT_FALSE(DirectoryExists(dir / "w"));
    EXPECT_EQ(ListDir(settingsDir), std::set<std::string>{});
}

TEST_F(Activation, RefusedConnectionShowsTheErrorBoxAndLeavesTheTimer)
{
    WriteSettings(dir / "nowhere/NONE.FDB", "1000");
    timer.SetInterval(5000);
    EXPECT_THROW(ActivateIntegration(integration), SilentAbort);
    EXPECT_EQ(messages.shown,
              (std::vector<test::Shown>{{test::Shown::Error, Cp1252("Erro ao Conectar em Banco de Dados.")}}));
    EXPECT_EQ(timer.interval, 5000);
    EXPECT_EQ(timer.intervals, std::vector<int>{5000});
    EXPECT_FALSE(DirectoryExists(dir / "w"));
}

// Activations that reach the database: one shop database for the group.
class ConnectedActivation : public Activation {
protected:
    static void SetUpTestSuite()
    {
        folder = new test::TempDir;
        database = test::CreateShopDatabase(folder->Path());
    }
    static void TearDownTestSuite()
    {
        delete folder;
        folder = nullptr;
    }
    static test::TempDir* folder;
    static std::string database;
};
test::TempDir* ConnectedActivation::folder = nullptr;
std::string ConnectedActivation::database;

TEST_F(ConnectedActivation, ConnectsCreatesTheDirectoriesLevelByLevelAndStartsPolling)
{
    WriteSettings(database, "  1500");
    ActivateIntegration(integration);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(dtmain.conmain.Connected());
    EXPECT_EQ(dtmain.conmain.DatabaseName(), database);
    EXPECT_TRUE(DirectoryExists(Below(dir, "w/ENVIO")));
    EXPECT_TRUE(DirectoryExists(Below(dir, "w/RESPOSTA")));
    EXPECT_TRUE(DirectoryExists(Below(dir, "w/LOG")));
    EXPECT_EQ(settings.IntervalMs, 1500);
    EXPECT_EQ(timer.intervals, std::vector<int>{1500});

    // Activating again while polling: reconnects, same interval, no restart.
    ActivateIntegration(integration);
    EXPECT_TRUE(dtmain.conmain.Connected());
    EXPECT_EQ(timer.intervals, (std::vector<int>{1500, 1500}));
}

TEST_F(ConnectedActivation, ZeroOrNegativeIntervalLeavesTheTimerStopped)
{
    timer.SetInterval(5000);
    WriteSettings(database, "0");
    ActivateIntegration(integration);
    EXPECT_EQ(timer.interval, 0);
    WriteSettings(database, "-5");
    timer.SetInterval(5000);
    ActivateIntegration(integration);
    EXPECT_EQ(timer.interval, 0);
    EXPECT_EQ(settings.IntervalMs, 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ConnectedActivation, IntervalThatIsNoNumberFailsAndLeavesTheTimer)
{
    timer.SetInterval(5000);
    WriteSettings(database, "5 s");
    try {
        ActivateIntegration(integration);
        FAIL() << "no failure";
    } catch (const SettingsFailure& f) {
        EXPECT_EQ(f.Message(), "'5 s' is not a valid integer value");
    }
    EXPECT_EQ(timer.intervals, std::vector<int>{5000});
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ConnectedActivation, DirectoryFailureStopsAtThatDirectory)
{
    // "w" exists as a file: its level cannot be made.
    test::WriteBytes(dir / "w", "a file where a folder should be");
    timer.SetInterval(5000);
    WriteSettings(database, "1000");
    try {
        ActivateIntegration(integration);
        FAIL() << "no failure";
    } catch (const DirectoryFailure& f) {
        EXPECT_EQ(f.Message(), DirectoryErrorMessage(Below(dir, "w/ENVIO/"), test::kFileInTheWayCode));
    }
    EXPECT_EQ(timer.intervals, std::vector<int>{5000});
    EXPECT_TRUE(dtmain.conmain.Connected());
}

TEST_F(ConnectedActivation, AfterAFailedCycleActivationAndTheNextCycleReadWhatWasNotApplied)
{
    WriteSettings(database, "1000");
    ActivateIntegration(integration);
    test::WriteBytes(settings.SendDirectory + "CLIENTE.TXT", "c1\r\nc2\r\n");
    test::WriteBytes(settings.SendDirectory + "PRODUTO.TXT", "p1\r\np2\r\np3\r\np4\r\np5\r\n");
    hook = [](const std::string& letter, const std::string& line) {
        if (letter == "P" && line == "p5") throw Failure("refused");
    };
    EXPECT_THROW(RunIntegrationCycle(integration, view), Failure);
    EXPECT_EQ(timer.interval, 0);

    hook = nullptr;
    seen.clear();
    ActivateIntegration(integration);
    EXPECT_EQ(timer.interval, 1000);
    RunIntegrationCycle(integration, view);
    EXPECT_EQ(seen, (std::vector<std::string>{"P:p5"}));
    EXPECT_EQ(ListDir(settings.ResponseDirectory),
              (std::set<std::string>{"CLIENTE_06122026_143701.TXT", "PRODUTO_06122026_143701.TXT"}));
    EXPECT_EQ(view.text, "C|c1\r\nC|c2\r\nP|p1\r\nP|p2\r\nP|p3\r\nP|p4\r\nP|p5\r\n");
}

TEST(ConvertInterval, LeadingBlanksSignAndDigitsOnly)
{
    EXPECT_EQ(ConvertInterval("5000"), 5000);
    EXPECT_EQ(ConvertInterval("  +15"), 15);
    EXPECT_EQ(ConvertInterval("-7"), -7);
    EXPECT_EQ(ConvertInterval("0"), 0);
    EXPECT_EQ(ConvertInterval("2147483647"), 2147483647);
    EXPECT_EQ(ConvertInterval("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", " ", "+", "abc", "10s", "10 ", "1.5", "2147483648", "99999999999999999999", "$10"}) {
        try {
            ConvertInterval(bad);
            ADD_FAILURE() << bad;
        } catch (const ConversionFailure& f) {
            EXPECT_EQ(f.Message(), std::string("'") + bad + "' is not a valid integer value");
        }
    }
}

}  // namespace
}  // namespace ligamor
