#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "text_view.h"
#include "engine/integration_log.h"
#include "engine/log_block.h"
#include "runtime/failures.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"
#include "support/os_codes.h"
#include "support/temp_dir.h"

namespace ligamor {
namespace {

using test::TextView;

// A view that keeps its text as bytes, as the window's view shows them.
TEST(AppendToIntegrationLog, CreatesTheFileAndAppendsEachTextWithCrLf)
{
    test::TempDir dir;
    const std::string log = dir / "LogIntegracaoPAF.txt";
    EXPECT_EQ(IntegrationLogPath(dir.Path()), log);

    AppendToIntegrationLog(dir.Path(), {});
    EXPECT_TRUE(FileExists(log));
    EXPECT_EQ(test::ReadBytes(log), "");

    AppendToIntegrationLog(dir.Path(), {"a", Cp1252("INSERÇÃO")});
    AppendToIntegrationLog(dir.Path(), {});
    AppendToIntegrationLog(dir.Path(), {"", "d"});
    EXPECT_EQ(test::ReadBytes(log), "a\r\nINSER\xC7\xC3O\r\n\r\nd\r\n");
}

TEST(AppendToIntegrationLog, MissingDirectoryIsAnIoFailure)
{
    test::TempDir dir;
    try {
        AppendToIntegrationLog(dir / "missing/", {"a"});
        FAIL() << "no failure";
    } catch (const IoFailure& f) {
        EXPECT_EQ(f.Code(), test::kMissingFolder.code);
        EXPECT_EQ(f.Message(), test::kMissingFolder.message);
    }
}

// Texts of many lines of 20 to 170 bytes: a block past the spool's 64 KiB
// buffer and its 1 MiB pieces, first and last.
const std::vector<std::string>& ManyTexts()
{
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> all;
        for (int i = 0; i < 25000; ++i) all.push_back("line " + std::to_string(i) + std::string(15 + i % 151, 'x'));
        return all;
    }();
    return texts;
}

const std::set<std::string> kLogAlone = {"LogIntegracaoPAF.txt"};

// With a log already there and without one: none, a few, an empty one, one
// longer than a piece, many.
struct BlockRow {
    std::vector<std::string> texts;
    bool logThere;
};
std::vector<BlockRow> BlockRows()
{
    const std::vector<std::string> longOne = {"a", std::string(1536 * 1024, 'z'), "b"};
    return {{{}, false}, {{}, true}, {{"a", Cp1252("INSERÇÃO")}, false}, {{"", "d"}, true},
            {longOne, true}, {ManyTexts(), false}, {ManyTexts(), true}};
}

void Add(LogBlock& block, const std::vector<std::string>& texts)
{
    for (const std::string& text : texts) block.Add(text);
}

TEST(LogBlock, AppendsWhatAppendToIntegrationLogAppendsOnceAndLeavesOnlyTheLog)
{
    for (const BlockRow& row : BlockRows()) {
        SCOPED_TRACE(testing::Message() << row.texts.size() << " texts, log there: " << row.logThere);
        test::TempDir before, now;
        if (row.logThere) {
            test::WriteBytes(before / "LogIntegracaoPAF.txt", "old\r\n");
            test::WriteBytes(now / "LogIntegracaoPAF.txt", "old\r\n");
        }
        AppendToIntegrationLog(before.Path(), row.texts);
        {
            LogBlock block(now.Path());
            Add(block, row.texts);
            block.AppendToLog();
            block.AppendToLog();
            EXPECT_EQ(test::ReadBytes(now / "LogIntegracaoPAF.txt"), test::ReadBytes(before / "LogIntegracaoPAF.txt"));
            EXPECT_EQ(test::ListDir(now.Path()), kLogAlone);
        }
        EXPECT_EQ(test::ListDir(now.Path()), kLogAlone);
    }
}

TEST(LogBlock, DroppedWithoutAppendingLeavesTheLogAndItsDirectoryAsTheyWere)
{
    for (const BlockRow& row : BlockRows()) {
        SCOPED_TRACE(testing::Message() << row.texts.size() << " texts, log there: " << row.logThere);
        test::TempDir dir;
        if (row.logThere) test::WriteBytes(dir / "LogIntegracaoPAF.txt", "old\r\n");
        {
            LogBlock block(dir.Path());
            Add(block, row.texts);
        }
        EXPECT_EQ(test::ListDir(dir.Path()), row.logThere ? kLogAlone : std::set<std::string>{});
        EXPECT_EQ(test::ReadBytes(dir / "LogIntegracaoPAF.txt"), row.logThere ? "old\r\n" : "");
    }
}

TEST(LogBlock, TwoBlocksAliveInOneDirectoryAppendTheirOwnTexts)
{
    test::TempDir dir;
    std::string first, second;
    {
        // Two programs sharing one log directory, or two files' blocks.
        LogBlock one(dir.Path());
        LogBlock other(dir.Path());
        for (int i = 0; i < 5000; ++i) {
            one.Add("one " + ManyTexts()[i]);
            other.Add("other " + ManyTexts()[i]);
            first += "one " + ManyTexts()[i] + "\r\n";
            second += "other " + ManyTexts()[i] + "\r\n";
        }
        other.AppendToLog();
        one.AppendToLog();
    }
    EXPECT_EQ(test::ReadBytes(dir / "LogIntegracaoPAF.txt"), second + first);
    EXPECT_EQ(test::ListDir(dir.Path()), kLogAlone);
}

TEST(LogBlock, MissingDirectoryFailsAtTheFirstTextAndTheBlockIsNeverAppended)
{
    test::TempDir dir;
    const std::string missing = dir / "missing/";
    const std::string expected = Cp1252("Não foi possível criar o arquivo temporário do log no diretório \"") +
                                 missing + "\": " + Cp1252("arquivo ou diretório inexistente");
    LogBlock block(missing);
    for (int call = 0; call < 2; ++call) {
        try {
            if (call == 0) block.Add("a");
            else block.AppendToLog();
            FAIL() << "no failure";
        } catch (const IoFailure& f) {
            EXPECT_EQ(f.Code(), test::kMissingFolder.code);
            EXPECT_EQ(f.Message(), expected);
        }
    }
    ASSERT_EQ(MakeDirectory(missing), 0);
    block.AppendToLog();
    EXPECT_EQ(test::ListDir(missing), std::set<std::string>{});

    // Without a text nothing is made before the log itself, which fails as before.
    LogBlock empty(dir / "other/");
    try {
        empty.AppendToLog();
        FAIL() << "no failure";
    } catch (const IoFailure& f) {
        EXPECT_EQ(f.Code(), test::kMissingFolder.code);
        EXPECT_EQ(f.Message(), test::kMissingFolder.message);
    }
}

TEST(ReloadLogView, AlwaysShowsWhatAFullReloadShows)
{
    test::TempDir dir;
    const std::string log = IntegrationLogPath(dir.Path());
    TextView view;
    view.text = "stale";
    ReloadLogView(view, log);  // no log yet
    EXPECT_EQ(view.text, "");

    AppendToIntegrationLog(dir.Path(), {"one", "two"});
    ReloadLogView(view, log);
    EXPECT_EQ(view.text, "one\r\ntwo\r\n");
    EXPECT_EQ(view.wholeFills, 1);

    // Appends: only the new bytes are read, the result is the whole file.
    for (int i = 0; i < 3000; ++i) AppendToIntegrationLog(dir.Path(), {"line " + std::to_string(i)});
    ReloadLogView(view, log);
    ReloadLogView(view, log);  // nothing new
    AppendToIntegrationLog(dir.Path(), {"last"});
    ReloadLogView(view, log);
    EXPECT_EQ(view.text, test::ReadBytes(log));
    EXPECT_EQ(view.wholeFills, 1);
    EXPECT_EQ(view.tailFills, 2);

    // Typed edits are dropped at the next refill.
    view.Type("typed by the user");
    ReloadLogView(view, log);
    EXPECT_EQ(view.text, test::ReadBytes(log));

    // A rewrite in place, longer than before but with other bytes at the old end.
    std::string rewritten = test::ReadBytes(log);
    rewritten[rewritten.size() - 3] = 'X';
    rewritten += "more\r\n";
    test::WriteBytes(log, rewritten);
    ReloadLogView(view, log);
    EXPECT_EQ(view.text, rewritten);

    // A shorter file, then a new file under the same name.
    test::WriteBytes(log, "short\r\n");
    ReloadLogView(view, log);
    EXPECT_EQ(view.text, "short\r\n");
    ::unlink(log.c_str());
    test::WriteBytes(dir / "other", "short\r\nx\r\n");
    ::rename((dir / "other").c_str(), log.c_str());
    ReloadLogView(view, log);
    EXPECT_EQ(view.text, "short\r\nx\r\n");

    ::unlink(log.c_str());
    ReloadLogView(view, log);
    EXPECT_EQ(view.text, "");
}

}  // namespace
}  // namespace ligamor
