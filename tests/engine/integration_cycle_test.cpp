#include <utility>

#include "engine/applied_not_moved.h"
#include "engine/file_stamp.h"
#include "engine/line_journal.h"
#include "engine/input_files.h"
#include "engine_fixture.h"
#include "runtime/failures.h"
#include "runtime/text1252.h"

namespace ligamor {
namespace {

using Strings = std::vector<std::string>;
using Names = std::set<std::string>;

class IntegrationCycle : public test::EngineTest {};

TEST_F(IntegrationCycle, AllFourFilesInFixedOrderEachMovedUnderItsStamp)
{
    test::WriteBytes(Send("ITEMPREVENDA.TXT"), "i1\r\n");
    test::WriteBytes(Send("PREVENDA.TXT"), "v1\nv2\nv3");
    test::WriteBytes(Send("PRODUTO.TXT"), "p1\r\n");
    test::WriteBytes(Send("CLIENTE.TXT"), "c1\r\nc2\r\n");

    RunIntegrationCycle(integration, view);

    EXPECT_EQ(seen, (Strings{"C:c1", "C:c2", "P:p1", "V:v1", "V:v2", "V:v3", "I:i1"}));
    EXPECT_EQ(Log(), "C|c1\r\nC|c2\r\nP|p1\r\nV|v1\r\nV|v2\r\nV|v3\r\nI|i1\r\n");
    EXPECT_EQ(ListDir(settings.SendDirectory), Names{});
    EXPECT_EQ(ListDir(settings.ResponseDirectory),
              (Names{"CLIENTE_06122026_143701.TXT", "PRODUTO_06122026_143701.TXT", "PREVENDA06122026_143701.TXT",
                     "ITEMPREVENDA06122026_143701.TXT"}));
    EXPECT_EQ(test::ReadBytes(Response("PREVENDA06122026_143701.TXT")), "v1\nv2\nv3");
    EXPECT_EQ(timer.intervals, (std::vector<int>{0, 5000}));
    EXPECT_EQ(view.text, Log());
}

TEST_F(IntegrationCycle, NoFilePresent)
{
    RunIntegrationCycle(integration, view);
    EXPECT_TRUE(seen.empty());
    EXPECT_FALSE(FileExists(IntegrationLogPath(settings.LogDirectory)));
    EXPECT_EQ(ListDir(settings.ResponseDirectory), Names{});
    EXPECT_EQ(timer.intervals, (std::vector<int>{0, 5000}));
    EXPECT_EQ(view.clears, 1);
    EXPECT_EQ(view.text, "");
}

TEST_F(IntegrationCycle, EmptyFileMovesOnlyWithAFileThatHadLines)
{
    test::WriteBytes(Send("PRODUTO.TXT"), "");
    RunIntegrationCycle(integration, view);
    EXPECT_EQ(ListDir(settings.SendDirectory), Names{"PRODUTO.TXT"});
    EXPECT_EQ(Log(), "");

    test::WriteBytes(Send("CLIENTE.TXT"), "c1\r\n");
    RunIntegrationCycle(integration, view);
    EXPECT_EQ(ListDir(settings.SendDirectory), Names{});
    EXPECT_EQ(ListDir(settings.ResponseDirectory),
              (Names{"CLIENTE_06122026_143701.TXT", "PRODUTO_06122026_143701.TXT"}));
}

TEST_F(IntegrationCycle, FailureOnTheFifthProductLine)
{
    test::WriteBytes(Send("CLIENTE.TXT"), "c1\r\nc2\r\n");
    test::WriteBytes(Send("PRODUTO.TXT"), "p1\r\np2\r\np3\r\np4\r\np5\r\np6\r\n");
    hook = [](const std::string& letter, const std::string& line) {
        if (letter == "P" && line == "p5") throw Failure("refused");
    };
    timer.SetInterval(5000);  // polling

    EXPECT_THROW(RunIntegrationCycle(integration, view), Failure);
    EXPECT_EQ(Log(), "C|c1\r\nC|c2\r\n");
    // CLIENTE.TXT was applied whole: recorded, so that it is never applied
    // again; so were PRODUTO.TXT's first four lines, each as it went in.
    EXPECT_EQ(ListDir(settings.SendDirectory),
              (Names{kAppliedNotMovedName, kLineJournalName, "CLIENTE.TXT", "PRODUTO.TXT"}));
    EXPECT_EQ(ListDir(settings.ResponseDirectory), Names{});
    EXPECT_EQ(timer.interval, 0);
    EXPECT_EQ(view.text, "before");
    EXPECT_EQ(view.clears, 0);

    // Polling again (as after "&Ativar"): CLIENTE.TXT is only moved, PRODUTO.TXT
    // read on from its fifth line, the texts of the first four kept in order.
    hook = nullptr;
    seen.clear();
    timer.SetInterval(5000);
    RunIntegrationCycle(integration, view);
    EXPECT_EQ(seen, (Strings{"P:p5", "P:p6"}));
    EXPECT_EQ(Log(), "C|c1\r\nC|c2\r\nP|p1\r\nP|p2\r\nP|p3\r\nP|p4\r\nP|p5\r\nP|p6\r\n");
    EXPECT_EQ(ListDir(settings.SendDirectory), Names{});
}

TEST_F(IntegrationCycle, FileArrivingAfterItsTurnIsNotMovedUnread)
{
    test::WriteBytes(Send("PRODUTO.TXT"), "p1\r\n");
    hook = [this](const std::string& letter, const std::string&) {
        if (letter == "P") test::WriteBytes(Send("CLIENTE.TXT"), "late\r\n");
    };
    RunIntegrationCycle(integration, view);
    EXPECT_EQ(seen, Strings{"P:p1"});
    EXPECT_EQ(ListDir(settings.SendDirectory), Names{"CLIENTE.TXT"});

    hook = nullptr;
    clock.now.second = 2;
    RunIntegrationCycle(integration, view);
    EXPECT_EQ(seen, (Strings{"P:p1", "C:late"}));
    EXPECT_EQ(ListDir(settings.ResponseDirectory),
              (Names{"CLIENTE_06122026_143702.TXT", "PRODUTO_06122026_143701.TXT"}));
}

TEST_F(IntegrationCycle, LineAppendedBeforeTheMoveKeepsTheFile)
{
    test::WriteBytes(Send("CLIENTE.TXT"), "c1\r\n");
    test::WriteBytes(Send("ITEMPREVENDA.TXT"), "i1\r\n");
    hook = [this](const std::string& letter, const std::string&) {
        if (letter == "I") AppendToFile(Send("CLIENTE.TXT"), "c2\r\n");
    };
    RunIntegrationCycle(integration, view);
    EXPECT_EQ(ListDir(settings.SendDirectory), Names{"CLIENTE.TXT"});
    EXPECT_EQ(ListDir(settings.ResponseDirectory), Names{"ITEMPREVENDA06122026_143701.TXT"});

    hook = nullptr;
    seen.clear();
    clock.now.second = 2;
    RunIntegrationCycle(integration, view);
    EXPECT_EQ(seen, (Strings{"C:c1", "C:c2"}));
    EXPECT_EQ(test::ReadBytes(Response("CLIENTE_06122026_143702.TXT")), "c1\r\nc2\r\n");
}

TEST_F(IntegrationCycle, TakenMovedNameGetsASuffixAndIsNeverOverwritten)
{
    test::WriteBytes(Response("CLIENTE_06122026_143701.TXT"), "earlier\r\n");
    test::WriteBytes(Send("CLIENTE.TXT"), "c1\r\n");
    RunIntegrationCycle(integration, view);
    EXPECT_EQ(test::ReadBytes(Response("CLIENTE_06122026_143701.TXT")), "earlier\r\n");
    EXPECT_EQ(test::ReadBytes(Response("CLIENTE_06122026_143701_2.TXT")), "c1\r\n");
    EXPECT_EQ(ListDir(settings.SendDirectory), Names{});
    EXPECT_EQ(timer.interval, 5000);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(IntegrationCycle, FileYoungerThanTheQuietTimeIsLeftAlone)
{
    integration.quietTime = std::chrono::hours(1);
    test::WriteBytes(Send("CLIENTE.TXT"), "c1\r\n");
    ReadInputFiles read;
    EXPECT_FALSE(ProcessPendingFiles(integration, read));
    RunIntegrationCycle(integration, view);
    EXPECT_TRUE(seen.empty());
    EXPECT_FALSE(FileExists(IntegrationLogPath(settings.LogDirectory)));
    EXPECT_EQ(ListDir(settings.SendDirectory), Names{"CLIENTE.TXT"});
}

TEST_F(IntegrationCycle, NamesInAnotherLetterCase)
{
    test::WriteBytes(Send("cliente.txt"), "c1\r\n");
    test::WriteBytes(Send("PreVenda.Txt"), "v1\r\n");
    RunIntegrationCycle(integration, view);
    EXPECT_EQ(seen, (Strings{"C:c1", "V:v1"}));
    EXPECT_EQ(ListDir(settings.ResponseDirectory),
              (Names{"CLIENTE_06122026_143701.TXT", "PREVENDA06122026_143701.TXT"}));
}

TEST_F(IntegrationCycle, DirectoryValueIsAPrefix)
{
    settings.SendDirectory = dir / "ENVIO";  // no trailing "/": the name is glued on
    test::WriteBytes(dir / "ENVIOCLIENTE.TXT", "c1\r\n");
    test::WriteBytes(dir / "ENVIO/PRODUTO.TXT", "p1\r\n");
    RunIntegrationCycle(integration, view);
    EXPECT_EQ(seen, Strings{"C:c1"});
    EXPECT_EQ(ListDir(settings.ResponseDirectory), Names{"CLIENTE_06122026_143701.TXT"});
}

}  // namespace
}  // namespace ligamor
