// The window's log view, refilled by the cycle's ReloadLogView: whatever path
// the refill takes, the view shows what a full reload of the file shows.
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "engine/integration_log.h"
#include "qt_test_app.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"
#include "support/temp_dir.h"
#include "ui/log_view_edit.h"

namespace ligamor::test {
namespace {

// Counts the whole loads, so that a test can tell the append path was taken.
class CountingView : public LogViewEdit {
public:
    void SetWhole(std::string_view bytes) override
    {
        ++wholeLoads;
        LogViewEdit::SetWhole(bytes);
    }
    int wholeLoads = 0;
};

class LogViewTest : public ::testing::Test {
protected:
    // What a view shows after one full load of the file as it is now.
    QString FullReload() const
    {
        LogViewEdit fresh;
        fresh.SetWhole(ReadBytes(path));
        return fresh.toPlainText();
    }

    void Append(const std::string& utf8) { AppendToIntegrationLog(dir.Path(), {Cp1252(utf8)}); }

    QApplication& app = TestApp();
    TempDir dir;
    std::string path = IntegrationLogPath(dir.Path());
    CountingView view;
};

TEST_F(LogViewTest, AppendsShowTheWholeLogDecodedWithoutReadingItAgain)
{
    ReloadLogView(view, path);
    EXPECT_EQ(view.toPlainText(), "");

    Append(" INSERÇÃO - CLIENTE -  Data: 06/12/2026");
    ReloadLogView(view, path);
    Append(" ALTERAÇÃO - PRODUTO -  Data: 06/12/2026");
    AppendToIntegrationLog(dir.Path(), {"", "x"});
    ReloadLogView(view, path);
    ReloadLogView(view, path);

    EXPECT_EQ(view.toPlainText(), FullReload());
    EXPECT_TRUE(view.toPlainText().startsWith(QString::fromUtf8(" INSERÇÃO - CLIENTE")));
    EXPECT_EQ(view.wholeLoads, 1);
}

TEST_F(LogViewTest, ACarriageReturnSplitAcrossTwoRefillsEndsOneLine)
{
    WriteBytes(path, "first\r");
    ReloadLogView(view, path);
    AppendToFile(path, "\nsecond\r\nthird\rfourth");
    ReloadLogView(view, path);
    EXPECT_EQ(view.toPlainText(), FullReload());
    EXPECT_EQ(view.toPlainText(), "first\nsecond\nthird\nfourth");
}

TEST_F(LogViewTest, ARewrittenLogIsShownAsItIsNow)
{
    Append("one");
    Append("two");
    ReloadLogView(view, path);
    WriteBytes(path, Cp1252("três\r\n"));
    ReloadLogView(view, path);
    EXPECT_EQ(view.toPlainText(), FullReload());
    EXPECT_EQ(view.toPlainText(), QString::fromUtf8("três\n"));

    std::remove(path.c_str());
    ReloadLogView(view, path);
    EXPECT_EQ(view.toPlainText(), "");
}

// Read-only: what the original view took was lost at the next refill anyway.
TEST_F(LogViewTest, TypedTextNeverReachesTheViewAndTheNextRefillStillAppends)
{
    Append("one");
    ReloadLogView(view, path);
    EXPECT_FALSE(view.EditedSinceFill());

    QTest::mouseClick(view.viewport(), Qt::LeftButton);
    QTest::keyClicks(&view, "typed by the user");
    QTest::keyClick(&view, Qt::Key_Backspace);
    QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(view.toPlainText(), FullReload());
    EXPECT_FALSE(view.EditedSinceFill());
    Append("two");
    ReloadLogView(view, path);

    EXPECT_FALSE(view.toPlainText().contains("typed"));
    EXPECT_EQ(view.toPlainText(), FullReload());
    EXPECT_EQ(view.wholeLoads, 1);
}

TEST_F(LogViewTest, SelectedLinesAreCopiedWithCtrlC)
{
    for (const char* line : {"um", "dois", "três", "quatro"}) Append(line);
    view.resize(300, 200);
    ReloadLogView(view, path);

    // A click on the second line, Shift and the down arrow take the third.
    const int height = view.fontMetrics().height();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(20, 4 + height + height / 2));
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("dois\ntrês"));

    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), FullReload());
}

}  // namespace
}  // namespace ligamor::test
