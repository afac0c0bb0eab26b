// What both log views do apart from drawing: where the view stands as the log
// is refilled, and the selected lines' text.
#include <gtest/gtest.h>

#include <string>

#include "engine/integration_log.h"
#include "runtime/text_file.h"
#include "support/temp_dir.h"
#include "window/log_pane.h"

namespace ligamor {
namespace {

class Pane : public LogPane {
    void Refilled(std::size_t, std::size_t) override {}
};

// Lines first .. first + count - 1, "linha N", CR LF each.
std::string Numbered(int first, int count)
{
    std::string bytes;
    for (int i = first; i < first + count; ++i) bytes += "linha " + std::to_string(i) + "\r\n";
    return bytes;
}

// A pane ten lines high on a log of `lines` numbered lines.
class LogPaneTest : public ::testing::Test {
protected:
    void Fill(int lines)
    {
        test::WriteBytes(path, Numbered(0, lines));
        pane.SetRows(10);
        ReloadLogView(pane, path);
    }

    test::TempDir dir;
    const std::string path = dir / "log.txt";
    Pane pane;
};

TEST_F(LogPaneTest, AReaderAtTheEndFollowsTheLogAndAnyoneElseKeepsTheirLine)
{
    Fill(50);
    EXPECT_EQ(pane.TopLine(), 0u);  // a fresh view shows the start
    AppendToFile(path, Numbered(50, 5));
    ReloadLogView(pane, path);
    EXPECT_EQ(pane.TopLine(), 0u);

    pane.ScrollTo(1000);
    EXPECT_EQ(pane.TopLine(), 46u);
    AppendToFile(path, Numbered(55, 5));
    ReloadLogView(pane, path);
    EXPECT_EQ(pane.TopLine(), 51u);

    // A log rewritten whole, bigger than a piece of a fill: the reader of
    // line 20 still reads it, and one at the end is at the new end.
    pane.ScrollTo(20);
    test::WriteBytes(path, Numbered(0, 200000));
    ReloadLogView(pane, path);
    EXPECT_EQ(pane.TopLine(), 20u);
    pane.ScrollTo(static_cast<long long>(pane.MaxTop()));
    std::remove(path.c_str());
    test::WriteBytes(path, Numbered(0, 150000));
    ReloadLogView(pane, path);
    EXPECT_EQ(pane.TopLine(), 150001u - 10u);
}

TEST_F(LogPaneTest, SelectedLinesAreCopiedAsTheyAreInTheLog)
{
    Fill(100);
    EXPECT_EQ(pane.SelectedText(u"\r\n"), u"");

    pane.Select(7, false);
    pane.Select(5, true);
    EXPECT_EQ(pane.SelectedText(u"\r\n"), u"linha 5\r\nlinha 6\r\nlinha 7");
    // Shift and the arrows move the caret, and the view keeps it on screen.
    pane.MoveCaret(10);
    EXPECT_EQ(pane.SelectionFirst(), 7u);
    EXPECT_EQ(pane.SelectionLast(), 15u);
    EXPECT_EQ(pane.TopLine(), 6u);
    pane.Select(1000, false);
    EXPECT_EQ(pane.SelectedText(u"\r\n"), u"");  // the empty line after the last line end
    AppendToFile(path, "more\r\n");
    ReloadLogView(pane, path);
    EXPECT_EQ(pane.SelectedText(u"\r\n"), u"more");
}

}  // namespace
}  // namespace ligamor
