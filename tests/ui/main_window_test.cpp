// The main window: its menu, the handlers behind it, start-up and failures.
#include <QPushButton>
#include <QTest>

#include "engine/integration_log.h"
#include "runtime/text1252.h"
#include "ui/stop_requests.h"
#include "ui/untmain.h"
#include "ui_fixture.h"

#include <csignal>

#include <signal.h>
#include <unistd.h>

namespace ligamor::test {
namespace {

class MainWindowTest : public UiTest {
protected:
    void Show()
    {
        messages.watched = &frmmain;
        frmmain.show();
    }
    Tfrmmain frmmain{integration, timer};
};

TEST_F(MainWindowTest, TheWindowAndItsMenuAsTheUserSeesThem)
{
    EXPECT_EQ(frmmain.windowTitle(), QString::fromUtf8("Ligamor Versão: 31/05/2012 10:42 Novo Layout"));
    EXPECT_EQ(frmmain.size(), QSize(581, 541));
    EXPECT_EQ(frmmain.minimumSize(), frmmain.maximumSize());
    EXPECT_FALSE(frmmain.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(frmmain.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(frmmain.windowIcon().isNull());
    EXPECT_EQ(frmmain.stbmainPanel->text(), "VELDOR SISTEMAS (51) 0000-0000 - Ligamor PAF-ECF");
    EXPECT_EQ(frmmain.rce->palette().color(QPalette::Base), frmmain.rce->palette().color(QPalette::ToolTipBase));

    QStringList names, captions;
    for (QAction* a : frmmain.PopupMenu1->actions()) {
        names << a->objectName();
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    EXPECT_EQ(names, (QStringList{"Ativar1", "Desativar1", "N2", "VisualizarLogs1", "N1", "Configuraes1", "Fechar1"}));
    EXPECT_EQ(captions, (QStringList{"&Ativar", "&Desativar", "-", "Visualizar Logs", "-",
                                     QString::fromUtf8("&Configurações"), "&Fechar"}));
    EXPECT_TRUE(frmmain.Ativar1->isChecked());
    EXPECT_FALSE(frmmain.Desativar1->isChecked());
}

TEST_F(MainWindowTest, StartWithoutSettingsShowsTheMessageBeforeTheWindowAndRunsNoCycle)
{
    Show();
    ASSERT_EQ(messages.shown, (std::vector<Shown>{{Shown::Information, NotConfiguredMessage()}}));
    EXPECT_EQ(messages.windowOnScreen, std::vector<bool>{false});
    EXPECT_TRUE(frmmain.windowHandle()->isVisible());
    EXPECT_TRUE(frmmain.rce->toPlainText().isEmpty());
    EXPECT_TRUE(frmmain.Ativar1->isChecked());
    EXPECT_FALSE(timer.Running());
}

TEST_F(MainWindowTest, AtivarTwiceKeepsItsCheckAndConnectsEachTime)
{
    WriteSettings();
    Show();
    ASSERT_TRUE(timer.Running());
    const long long first = ConnectionId();
    frmmain.Ativar1->trigger();
    const long long second = ConnectionId();
    frmmain.Ativar1->trigger();
    EXPECT_NE(second, first);
    EXPECT_NE(ConnectionId(), second);
    EXPECT_TRUE(frmmain.Ativar1->isChecked());
    EXPECT_FALSE(frmmain.Desativar1->isChecked());
    EXPECT_TRUE(timer.Running());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainWindowTest, DesativarAndAtivarSwapTheChecksAndStopAndStartPolling)
{
    WriteSettings();
    Show();
    frmmain.Desativar1->trigger();
    EXPECT_FALSE(timer.Running());
    EXPECT_TRUE(frmmain.Desativar1->isChecked());
    EXPECT_FALSE(frmmain.Ativar1->isChecked());
    frmmain.Ativar1->trigger();
    EXPECT_TRUE(timer.Running());
    EXPECT_EQ(timer.Interval(), 600000);
    EXPECT_TRUE(frmmain.Ativar1->isChecked());
    EXPECT_FALSE(frmmain.Desativar1->isChecked());
}

TEST_F(MainWindowTest, ConfiguracoesCancelledStillAsksForARestartAndLeavesPollingStopped)
{
    WriteSettings();
    Show();
    const std::string before = ReadBytes(settingsPath);
    OnNextModal([](QWidget* dialog) { dialog->findChild<QPushButton*>("BtnCancelar")->click(); });
    frmmain.Configuraes1->trigger();
    EXPECT_EQ(messages.shown,
              (std::vector<Shown>{
                  {Shown::Information, Cp1252("Finalize a Aplicação E Execute-a Novamente Para Aplicar A Alteração.")}}));
    EXPECT_FALSE(timer.Running());
    EXPECT_TRUE(frmmain.Ativar1->isChecked());
    EXPECT_EQ(ReadBytes(settingsPath), before);
}

TEST_F(MainWindowTest, VisualizarLogsBringsTheWindowForwardWithoutActivating)
{
    WriteSettings();
    Show();
    const long long connection = ConnectionId();
    std::remove(settingsPath.c_str());  // an activation now would say so
    frmmain.VisualizarLogs1->trigger();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(ConnectionId(), connection);
    EXPECT_TRUE(frmmain.isVisible());
    EXPECT_TRUE(timer.Running());
}

TEST_F(MainWindowTest, AFailureInAHandlerIsReportedAndTheProgramGoesOn)
{
    WriteSettings("5 segundos");
    Show();
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{Shown::Report, "'5 segundos' is not a valid integer value."}}));
    EXPECT_TRUE(frmmain.windowHandle()->isVisible());
    EXPECT_FALSE(timer.Running());

    WriteSettings("600000");
    frmmain.Ativar1->trigger();
    EXPECT_TRUE(timer.Running());
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(MainWindowTest, ATickShowsTheLogAndTakesAwayWhatWasTyped)
{
    WriteSettings();
    Show();
    AppendToIntegrationLog(dir / "LOG/", {Cp1252(" INSERÇÃO - CLIENTE -  Data: 06/12/2026")});
    frmmain.temporizadorTimer();
    EXPECT_EQ(frmmain.rce->toPlainText(), QString::fromUtf8(" INSERÇÃO - CLIENTE -  Data: 06/12/2026\n"));
    EXPECT_TRUE(timer.Running());

    QTest::mouseClick(frmmain.rce->viewport(), Qt::LeftButton);
    QTest::keyClicks(frmmain.rce, "nota");
    frmmain.temporizadorTimer();
    EXPECT_EQ(frmmain.rce->toPlainText(), QString::fromUtf8(" INSERÇÃO - CLIENTE -  Data: 06/12/2026\n"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainWindowTest, FecharClosesTheWindow)
{
    WriteSettings();
    Show();
    frmmain.Fechar1->trigger();
    EXPECT_FALSE(frmmain.isVisible());
}

// kill, or a session ending: the window closes as "&Fechar" closes it.
TEST_F(MainWindowTest, SigtermClosesTheWindow)
{
    ServiceEvents stopRequests(ReloadRequests::LeftAlone);
    CloseOnStopRequest(frmmain, stopRequests, std::chrono::milliseconds(0));
    Show();
    ASSERT_TRUE(frmmain.isVisible());
    kill(getpid(), SIGTERM);  // to the process, as kill(1) sends it
    for (int i = 0; i < 1000 && frmmain.isVisible(); ++i) QTest::qWait(10);
    EXPECT_FALSE(frmmain.isVisible());
}

}  // namespace
}  // namespace ligamor::test
