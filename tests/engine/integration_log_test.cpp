#include <gtest/gtest.h>

#include "text_view.h"
#include "engine/integration_log.h"
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
