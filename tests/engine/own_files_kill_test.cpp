// Our own files under a kill at each step of their writing: the next start
// finds the old file or the new one, whole, never a third state, and sweeps
// the temporary files the kill left, none other.
#include <filesystem>
#include <functional>
#include <set>

#include "engine/applied_not_moved.h"
#include "engine/integration_health.h"
#include "engine/refused_files.h"
#include "engine/set_aside_claims.h"
#include "engine/temporary_sweep.h"
#include "engine_fixture.h"
#include "runtime/temporary_files.h"
#include "support/replace_kill.h"

namespace ligamor {
namespace {

using test::Killed;

class OwnFilesKill : public test::EngineTest {
protected:
    OwnFilesKill()
    {
        EXPECT_EQ(integration.state.sendDirectoryLock.Acquire(Send(kSendDirectoryLockName)),
                  InstanceLock::Outcome::Held);
    }

    std::string Refused() const { return RefusedFolder(settings.ResponseDirectory); }

    test::ReplaceKill kill;

    // Every name in our folders, as the next start sees them.
    std::set<std::string> AllNames() const
    {
        std::set<std::string> names;
        for (const std::string& folder : {settings.SendDirectory, settings.ResponseDirectory, settings.LogDirectory,
                                          Refused()})
            if (std::filesystem::exists(folder))
                for (const std::string& name : ListDir(folder)) names.insert(folder + name);
        return names;
    }
};

std::vector<SetAsideClaim> Claims(const std::string& send, int count)
{
    std::vector<SetAsideClaim> claims;
    for (int i = 1; i <= count; ++i)
        claims.push_back({1, send + "PRODUTO.TXT", {1, 2, 3, 4, 5},
                          {"I#" + std::to_string(i), "PRODUTO_06122026_143701.TXT", 30 + i, "06/12/2026 14:37:01", "r"},
                          i == 1, {}});
    return claims;
}

bool Hidden(const std::string& path)
{
    return std::filesystem::path(path).filename().string().rfind('.', 0) == 0;
}

HealthFacts Facts(const std::string& failure)
{
    HealthFacts facts;
    facts.polling = true;
    facts.intervalMs = 5000;
    facts.failure = failure;
    return facts;
}

// "text|from|number|since|reason" of each refused line, as the next cycle reads them.
std::string Described(const std::vector<RefusedLine>& lines)
{
    std::string out;
    for (const RefusedLine& l : lines)
        out += l.bytes + "|" + l.fromFile + "|" + std::to_string(l.lineNumber) + "|" + l.since + "|" + l.reason + "\n";
    return out;
}

RefusedLine Line(int number)
{
    return {"I#" + std::to_string(number) + "#PRODUTO", "PRODUTO_06122026_143701.TXT", number, "06/12/2026 14:37:01",
            "motivo " + std::to_string(number)};
}

TEST_F(OwnFilesKill, AKillAtEachStepLeavesTheOldOrTheNewFileAndTheNextStartSweepsItsTemporaries)
{
    // write(true) writes the new state, write(false) the old; read gives what
    // the next start reads, raising if it cannot.
    struct Row {
        const char* kind;
        std::function<void(bool)> write;
        std::function<std::string()> read;
    };
    const std::string& send = settings.SendDirectory;
    const std::vector<Row> rows = {
        {".ligamor.aplicados",
         [&](bool now) {
             ReadInputFiles files = {{0, send + "CLIENTE.TXT", {1, 2, 3, 4, 5}}};
             if (now) files.push_back({1, send + "PRODUTO.TXT", {6, 7, 8, 9, 10}, "PRODUTO_06122026_143701.TXT"});
             SaveAppliedNotMoved(send, files);
         },
         [&] { return AppliedNotMovedText(LoadAppliedNotMoved(send)); }},
        {".ligamor.separadas", [&](bool now) { SaveSetAsideClaims(send, Claims(send, now ? 3 : 2)); },
         [&] { return SetAsideClaimsText(LoadSetAsideClaims(send)); }},
        {"EstadoLigamor.txt",
         [&](bool now) {
             integration.state.statusWritten.clear();
             integration.state.health = Facts(now ? "nova falha" : "falha antiga");
             NoteHealth(integration);
         },
         [&] {
             HealthFacts facts;
             return ReadStatusFile(settings.LogDirectory, facts) ? HealthFactsText(facts) : "";
         }},
        // A line set aside joins those in the folder.
        {"RECUSADAS, a line added",
         [&](bool now) {
             ForceDirectoryPath(Refused());
             if (now) AddRefusedLines(Refused(), "PRODUTO.TXT", {Line(30)});
             else SaveRefusedLines(Refused(), "PRODUTO.TXT", {Line(3), Line(7)});
         },
         [&] { return Described(LoadRefusedLines(Refused(), "PRODUTO.TXT")); }},
        // A line tried again went in; the others stay with their reasons.
        {"RECUSADAS, a line gone in",
         [&](bool now) {
             ForceDirectoryPath(Refused());
             if (now) SaveRefusedLines(Refused(), "PRODUTO.TXT", {Line(3), Line(30)});
             else SaveRefusedLines(Refused(), "PRODUTO.TXT", {Line(3), Line(7), Line(30)});
         },
         [&] { return Described(LoadRefusedLines(Refused(), "PRODUTO.TXT")); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.kind);
        kill.KillAt(0);
        row.write(false);
        const std::string expectedOld = row.read();
        const std::set<std::string> oldNames = AllNames();
        kill.KillAt(0);
        row.write(true);
        const int steps = kill.StepsReached();
        const std::string expectedNew = row.read();
        ASSERT_NE(expectedOld, expectedNew);
        ASSERT_GE(steps, kReplaceSteps);

        for (int step = 1; step <= steps; ++step) {
            SCOPED_TRACE(step);
            kill.KillAt(0);
            row.write(false);
            kill.KillAt(step);
            EXPECT_THROW(row.write(true), Killed);
            kill.KillAt(0);

            const std::string seen = row.read();
            EXPECT_TRUE(seen == expectedOld || seen == expectedNew) << seen;
            SweepOurTemporaryFiles(settings, integration.table, integration.state.sendDirectoryLock);
            EXPECT_EQ(row.read(), seen);
            // The old files, or the new ones in their place: nothing else.
            for (const std::string& path : AllNames())
                EXPECT_TRUE(oldNames.count(path) || !Hidden(path)) << path;
        }
        std::filesystem::remove_all(Refused());
    }
}

// Only our own temporaries' names, and only by the holder of the send directory.
TEST_F(OwnFilesKill, TheSweepRemovesOurTemporaryNamesAloneAndOnlyForTheSendDirectorysHolder)
{
    const std::string refused = Refused();
    ForceDirectoryPath(refused);
    const std::vector<std::string> ours = {
        Send("..ligamor.aplicados.a1B2c3"),     Send("..ligamor.separadas.zzzzzz"),
        settings.LogDirectory + ".EstadoLigamor.txt.Ab12Cd", settings.LogDirectory + ".ligamor-x1y2z3.tmp",
        Response(".ligamor-000000.tmp"),        refused + ".PRODUTO.TXT.q9w8e7",
        refused + ".PRODUTO_MOTIVOS.TXT.abcdef", refused + ".ITEMPREVENDA.TXT.ABCDEF"};
    const std::vector<std::string> others = {
        Send("PRODUTO.TXT"),
        Send(".PRODUTO.TXT.abcdef"),  // the point of sale's, perhaps
        Send("..ligamor.aplicados.a1B2c"),
        Send("..ligamor.aplicados.a1B2c34"),
        Send("..ligamor.aplicados.a1-2c3"),
        Send(".ligamor-x1y2z3.tmp"),
        settings.LogDirectory + ".EstadoLigamor.txt.Ab12Cd.bak",
        settings.LogDirectory + ".LogIntegracaoPAF.txt.abcdef",
        settings.LogDirectory + ".ligamor-x1y2z3.tmp2",
        Response(".PRODUTO.TXT.abcdef"),
        Response("PRODUTO_06122026_143701.TXT"),
        refused + ".OUTRO.TXT.abcdef",
        refused + "PRODUTO.TXT",
        refused + ".ligamor-x1y2z3.tmp"};
    for (const std::string& path : ours) test::WriteBytes(path, "x");
    for (const std::string& path : others) test::WriteBytes(path, "x");

    InstanceLock notHeld;
    SweepOurTemporaryFiles(settings, integration.table, notHeld);
    for (const std::string& path : ours) EXPECT_TRUE(std::filesystem::exists(path)) << path;

    SweepOurTemporaryFiles(settings, integration.table, integration.state.sendDirectoryLock);
    for (const std::string& path : ours) EXPECT_FALSE(std::filesystem::exists(path)) << path;
    for (const std::string& path : others) EXPECT_TRUE(std::filesystem::exists(path)) << path;
}

}  // namespace
}  // namespace ligamor
