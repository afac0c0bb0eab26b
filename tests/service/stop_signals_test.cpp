// SIGTERM and SIGINT on the real front ends, as a session ending, a service
// manager or a terminal's Ctrl-C send them: each ends the program as
// "&Fechar" does, with exit status 0 within seconds, idle or in the middle of
// a file, on the embedded engine and on the loopback server, whatever the
// program inherited. The window runs on the offscreen platform.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <thread>

#include "config/settings.h"
#include "engine/integration_log.h"
#include "engine/line_journal.h"
#include "engine/untfuncoes.h"
#include "runtime/text1252.h"
#include "service/service_process.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace ligamor::test {
namespace {

using Names = std::set<std::string>;
using std::chrono::seconds;

enum class Program { Window, Service };
enum class When { Idle, IdlePastFullCommit, MidCycle };

struct Row {
    const char* name;
    Program program;
    int signal;
    When when;
    bool interruptIgnored = false;
    bool server = false;
    bool perFile = false;  // TRANSACAO=ARQUIVO
    bool setAside = false;  // RECUSADAS=SEPARAR
};

void PrintTo(const Row& row, std::ostream* out)
{
    *out << row.name;
}

std::string ProgramPath(Program program)
{
#ifdef LIGAMOR_WINDOW_EXE
    if (program == Program::Window) return LIGAMOR_WINDOW_EXE;
#endif
    return program == Program::Window ? "" : LIGAMOR_SERVICE_EXE;
}

// Every refusedEvery-th product has a quantity that is no number.
std::string Products(int count, int refusedEvery = 0)
{
    std::string bytes;
    for (int code = 1; code <= count; ++code) {
        const bool refused = refusedEvery > 0 && code % refusedEvery == 0;
        bytes += "I#" + std::to_string(code) + "#PRODUTO " + std::to_string(code) + "#T1#" + (refused ? "X" : "10") +
                 "#UN#8,20#12,90\r\n";
    }
    return bytes;
}

class StopSignals : public ::testing::TestWithParam<Row> {
protected:
    void SetUp() override
    {
        if (ProgramPath(GetParam().program).empty()) GTEST_SKIP() << "built without the window";
        static const std::string script = ReadBytes(LIGAMOR_SCHEMA_SQL) + ReadBytes(LIGAMOR_DEMO_SQL);
        database = CreateDatabase(dir.Path(), "LOJA.FDB", 3, script);
        SystemSettings settings = ShopSettings(dir.Path(), database);
        if (GetParam().server) {
            const ServerValues server = LoopbackServer();
            settings.Server = server.server;
            settings.UserName = server.userName;
            settings.Password = server.password;
        }
        if (GetParam().perFile) settings.OtherLines.push_back("TRANSACAO=ARQUIVO");
        if (GetParam().setAside) settings.OtherLines.push_back("RECUSADAS=SEPARAR");
        SaveSettings(settingsFile, settings);
        std::filesystem::create_directories(send);
    }

    void Drop(const std::string& name, const std::string& bytes)
    {
        WriteBytes(dir / "drop.tmp", bytes);
        std::filesystem::rename(dir / "drop.tmp", send + name);
    }

    // True once check holds; false when the program ended first or it took
    // longer than a broken build should keep the run waiting.
    static bool Until(const ServiceProcess& process, const std::function<bool()>& check)
    {
        for (int i = 0; i < 6000; ++i) {
            if (check()) return true;
            if (!process.Running()) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    TempDir dir;
    std::string database;
    std::string settingsFile = dir / "ConfigLigamor.csi";
    std::string send = dir / "ENVIO/";
    std::string response = dir / "RESPOSTA/";
};

TEST_P(StopSignals, EndTheProgramAsFecharDoes)
{
    const Row& row = GetParam();
    const int lines = row.when == When::MidCycle ? 3000 : 2;
    Drop("PRODUTO.TXT", Products(lines));
    ServiceProcess program({"--config", settingsFile}, dir / "stderr",
                           {.program = ProgramPath(row.program), .interruptIgnored = row.interruptIgnored});

    if (row.when == When::MidCycle) {
        ASSERT_TRUE(Until(program, [&] { return program.HoldsOpen(send + "PRODUTO.TXT"); })) << program.Err();
    } else {
        ASSERT_TRUE(Until(program, [&] { return ListDir(response).size() == 1; })) << program.Err();
        // Past 117 s the default transaction has had its full commit.
        if (row.when == When::IdlePastFullCommit) std::this_thread::sleep_for(seconds(130));
    }
    if (row.interruptIgnored) {
        // The shell's choice for a background job: SIGINT changes nothing.
        program.Signal(SIGINT);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        ASSERT_TRUE(program.Running()) << program.Err();
    }
    program.Signal(row.signal);
    EXPECT_EQ(program.Wait(seconds(10)), 0) << program.Err();

    if (row.when == When::MidCycle && !row.interruptIgnored) {
        // Stopped after a line: the file stays, to be read again whole in one
        // transaction, or on from its journal per line.
        const Names waiting = row.perFile ? Names{kSendDirectoryLockName, "PRODUTO.TXT"}
                                          : Names{kSendDirectoryLockName, kLineJournalName, "PRODUTO.TXT"};
        EXPECT_EQ(ListDir(send), waiting);
        EXPECT_EQ(ListDir(response), Names{});
        if (row.perFile) {
            EXPECT_EQ(ReadValue(database, "select count(*) from DETALHE"), "0");
        }
    } else if (row.when != When::MidCycle) {
        EXPECT_EQ(ListDir(send), Names{kSendDirectoryLockName});
        EXPECT_EQ(ListDir(response).size(), 1u);
    }
}

const Row kRows[] = {
    {"WindowSigtermIdle", Program::Window, SIGTERM, When::Idle},
    {"WindowSigtermIdlePastFullCommit", Program::Window, SIGTERM, When::IdlePastFullCommit},
    {"WindowSigintMidCycle", Program::Window, SIGINT, When::MidCycle},
    {"WindowSigtermMidCycleOnTheServer", Program::Window, SIGTERM, When::MidCycle, false, true},
    {"WindowSigintIgnoredThenSigtermMidCycle", Program::Window, SIGTERM, When::MidCycle, true},
    {"WindowSigintIgnoredThenSigtermIdle", Program::Window, SIGTERM, When::Idle, true},
    {"ServiceSigtermIdlePastFullCommit", Program::Service, SIGTERM, When::IdlePastFullCommit},
    {"ServiceSigintMidCycle", Program::Service, SIGINT, When::MidCycle},
    {"ServiceSigintIgnoredThenSigtermIdle", Program::Service, SIGTERM, When::Idle, true},
    {"ServiceSigtermMidFileInOneTransaction", Program::Service, SIGTERM, When::MidCycle, false, false, true},
};

INSTANTIATE_TEST_SUITE_P(FrontEnds, StopSignals, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

// Killed in the middle of a file applied in one transaction, the program
// leaves none of its rows (all of them, had the commit just passed); started
// again, it applies the whole file once.
using KilledMidFile = StopSignals;

TEST_P(KilledMidFile, LeavesNoneOfTheFileAndTheNextStartAppliesItOnce)
{
    const Row& row = GetParam();
    const int lines = 3000;
    Drop("PRODUTO.TXT", Products(lines));
    {
        ServiceProcess program({"--config", settingsFile}, dir / "stderr", {.program = ProgramPath(row.program)});
        ASSERT_TRUE(Until(program, [&] { return program.HoldsOpen(send + "PRODUTO.TXT"); })) << program.Err();
        program.Signal(row.signal);
        EXPECT_EQ(program.Wait(seconds(10)), -1) << program.Err();
    }
    const std::string left = ReadValue(database, "select count(*) from DETALHE");
    EXPECT_TRUE(left == "0" || left == std::to_string(lines)) << left;
    if (left == "0") {
        EXPECT_EQ(ListDir(send), (Names{kSendDirectoryLockName, "PRODUTO.TXT"}));
    }

    {
        ServiceProcess program({"--config", settingsFile}, dir / "stderr.2", {.program = ProgramPath(row.program)});
        ASSERT_TRUE(Until(program, [&] { return ListDir(response).size() == 1; })) << program.Err();
        program.Signal(SIGTERM);
        EXPECT_EQ(program.Wait(seconds(10)), 0) << program.Err();
    }
    EXPECT_EQ(ReadValue(database, "select count(*) || '/' || count(distinct CDDETALHE) from DETALHE"),
              std::to_string(lines) + "/" + std::to_string(lines));
    EXPECT_EQ(ListDir(send), Names{kSendDirectoryLockName});
}

const Row kKilledRows[] = {
    {"ServiceKilled", Program::Service, SIGKILL, When::MidCycle, false, false, true},
    {"WindowKilled", Program::Window, SIGKILL, When::MidCycle, false, false, true},
};

INSTANTIATE_TEST_SUITE_P(FrontEnds, KilledMidFile, ::testing::ValuesIn(kKilledRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

// Killed again and again while a file's refused lines are set aside, the
// service started once more ends with every good line stored once, logged
// once, and every refused line in the folder of refused lines once. In one
// transaction the file runs a block at a time: it is four times as long, so
// that the kills fall in its middle.
using KilledWhileSettingAside = StopSignals;

TEST_P(KilledWhileSettingAside, LosesNoLineAndDoublesNone)
{
    const Row& row = GetParam();
    const int lines = row.perFile ? 12000 : 3000, refusedEvery = 100;
    Drop("PRODUTO.TXT", Products(lines, refusedEvery));
    // Each run starts the file again; the later kills come later in it.
    for (int run = 0; run < 4; ++run) {
        ServiceProcess program({"--config", settingsFile}, dir / ("stderr." + std::to_string(run)),
                               {.program = ProgramPath(row.program)});
        if (!Until(program, [&] { return program.HoldsOpen(send + "PRODUTO.TXT"); })) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(400 * run));
        program.Signal(SIGKILL);
        program.Wait(seconds(10));
    }
    {
        ServiceProcess program({"--config", settingsFile}, dir / "stderr.last", {.program = ProgramPath(row.program)});
        // A killed run may have moved the file already: this one must be polling.
        ASSERT_TRUE(Until(program, [&] {
            return ListDir(response).size() == 1 && program.Err().find("Integração ativa") != std::string::npos;
        })) << program.Err();
        program.Signal(SIGTERM);
        EXPECT_EQ(program.Wait(seconds(10)), 0) << program.Err();
    }
    const int refused = lines / refusedEvery;
    EXPECT_EQ(ReadValue(database, "select count(*) || '/' || count(distinct CDDETALHE) from DETALHE"),
              std::to_string(lines - refused) + "/" + std::to_string(lines - refused));
    const std::string folder = dir / "RECUSADAS/";
    std::string expected;
    for (int code = refusedEvery; code <= lines; code += refusedEvery)
        expected += "I#" + std::to_string(code) + "#PRODUTO " + std::to_string(code) + "#T1#X#UN#8,20#12,90\r\n";
    EXPECT_EQ(ReadBytes(folder + "PRODUTO.TXT"), expected);
    EXPECT_EQ(ListDir(send), Names{kSendDirectoryLockName});
    const std::string log = ReadBytes(IntegrationLogPath(dir / "LOG/"));
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), lines - refused);
}

INSTANTIATE_TEST_SUITE_P(Service, KilledWhileSettingAside,
                         ::testing::Values(Row{"PerLine", Program::Service, SIGKILL, When::MidCycle, false, false,
                                               false, true},
                                           Row{"PerFile", Program::Service, SIGKILL, When::MidCycle, false, false,
                                               true, true}),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ligamor::test
