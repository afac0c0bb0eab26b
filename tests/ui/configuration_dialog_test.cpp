// The settings dialog: loading, saving, the field rules and "Testar".
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include "config/date_format.h"
#include "ui/untConfiguracoes.h"
#include "runtime/text1252.h"
#include "ui_fixture.h"

namespace ligamor::test {
namespace {

class ConfigurationDialogTest : public UiTest {
protected:
    // Opens the dialog, lets work act on it, and gives ShowConfigurationDialog's result.
    bool WithDialog(const std::function<void(TfrmConfiguracao&)>& work)
    {
        OnNextModal([work](QWidget* modal) {
            auto* dialog = dynamic_cast<TfrmConfiguracao*>(modal);
            ASSERT_NE(dialog, nullptr);
            work(*dialog);
            if (dialog->isVisible()) dialog->reject();
        });
        return ShowConfigurationDialog(services);
    }

    static QStringList Fields(const TfrmConfiguracao& d)
    {
        return {d.edtservidor->text(),     d.edtcaminho->text(),        d.edtusuario->text(),
                d.edtsenha->text(),        d.edtcaminhoenvio->text(),   d.edtcaminhoretorno->text(),
                d.edtempoverificacao->text(), d.edtcaminholog->text()};
    }

    static void Retype(QLineEdit* edit, const QString& typed)
    {
        edit->clear();
        QTest::keyClicks(edit, typed);
    }

    SettingsFormServices services{settingsPath, messages, timer, dtmain};
};

TEST_F(ConfigurationDialogTest, FieldsComeFromTheFileAndCancelLeavesItAsItWas)
{
    SaveSettings(settingsPath, {.Server = "LOCAL",
                                .DatabasePath = "/srv/Loja/dados.fdb",
                                .UserName = "sysdba",
                                .Password = "pa=ss",
                                .SendDirectory = "/srv/Loja/Envio/",
                                .ResponseDirectory = "/srv/Loja/Resposta/",
                                .LogDirectory = "/srv/Loja/Log/",
                                .IntervalText = "2500"});
    const std::string before = ReadBytes(settingsPath);
    QStringList shown;
    EXPECT_FALSE(WithDialog([&](TfrmConfiguracao& d) {
        shown = Fields(d);
        d.BtnCancelar->click();
    }));
    EXPECT_EQ(shown, (QStringList{"LOCAL", "/srv/Loja/dados.fdb", "sysdba", "pa=ss", "/srv/Loja/Envio/",
                                  "/srv/Loja/Resposta/", "2500", "/srv/Loja/Log/"}));
    EXPECT_EQ(ReadBytes(settingsPath), before);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ConfigurationDialogTest, OkWritesWhatIsOnScreenInTheFileOrder)
{
    WriteSettings();
    EXPECT_TRUE(WithDialog([](TfrmConfiguracao& d) {
        Retype(d.edtservidor, "local");
        EXPECT_EQ(d.edtservidor->text(), "LOCAL");
        d.edtcaminho->setText("/srv/Loja/dados.fdb");
        Retype(d.edtusuario, "caixa");
        d.edtsenha->setText(QString::fromUtf8("senhá"));
        d.edtcaminhoenvio->setText("/srv/Loja/Envio/");
        d.edtcaminhoretorno->setText("/srv/Loja/Resposta/");
        d.edtcaminholog->setText("/srv/Loja/Log/");
        Retype(d.edtempoverificacao, "7a b0 ,0-0");
        QTest::keyClick(d.edtempoverificacao, Qt::Key_Backspace);
        EXPECT_EQ(d.edtempoverificacao->text(), "700");
        d.BtnOK->click();
    }));
    EXPECT_EQ(ReadBytes(settingsPath),
              "SERVIDOR=LOCAL\r\nCAMINHO=/srv/Loja/dados.fdb\r\nUSUARIO=caixa\r\nSENHA=senhá\r\n"
              "DIRETORIO_ENVIO=/srv/Loja/Envio/\r\nDIRETORIO_RESPOSTA=/srv/Loja/Resposta/\r\n"
              "TEMPO_COMUNICACAO=700\r\nDIRETORIO_LOG=/srv/Loja/Log/\r\n"
              // The date format of the user who clicked OK.
              "FORMATO_DATA=" + DateFormatValue(PlatformRegionalSettings()) + "\r\n");
}

TEST_F(ConfigurationDialogTest, OkKeepsTheLinesOfKeysThatNoFieldShows)
{
    WriteSettings();
    const std::string eight = ReadBytes(settingsPath);
    WriteBytes(settingsPath, eight + "TRANSACAO=ARQUIVO\r\n");
    EXPECT_TRUE(WithDialog([](TfrmConfiguracao& d) { d.BtnOK->click(); }));
    EXPECT_EQ(ReadBytes(settingsPath), eight + "TRANSACAO=ARQUIVO\r\n");
}

// The interval field judges characters only: Tab, Shift+Tab and Escape keep
// their work, and pasted text is filtered as typed text is.
TEST_F(ConfigurationDialogTest, TheIntervalFieldLetsKeysThroughAndFiltersPastedText)
{
    WriteSettings();
    EXPECT_FALSE(WithDialog([](TfrmConfiguracao& d) {
        d.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        d.edtempoverificacao->setFocus();
        QGuiApplication::clipboard()->setText("12a 3");
        d.edtempoverificacao->clear();
        d.edtempoverificacao->paste();  // what Ctrl+V, Shift+Insert and the context menu do
        EXPECT_EQ(d.edtempoverificacao->text(), "123");
        QTest::keyClick(d.edtempoverificacao, Qt::Key_Tab);
        EXPECT_TRUE(d.edtcaminholog->hasFocus());
        QTest::keyClick(d.edtcaminholog, Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_TRUE(d.edtempoverificacao->hasFocus());
        QTest::keyClick(d.edtempoverificacao, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    }));
}

TEST_F(ConfigurationDialogTest, WithoutAFileTheDialogSaysSoStopsPollingAndShowsEmptyFields)
{
    timer.SetInterval(600000);
    QStringList shown;
    EXPECT_FALSE(WithDialog([&](TfrmConfiguracao& d) {
        shown = Fields(d);
        QTest::keyClick(&d, Qt::Key_Escape);
    }));
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{Shown::Information, NotConfiguredMessage()}}));
    EXPECT_EQ(shown, QStringList(8, QString()));
    EXPECT_FALSE(timer.Running());
    EXPECT_FALSE(FileExists(settingsPath));
}

TEST_F(ConfigurationDialogTest, TestarConnectsWithTheValuesOnScreenAndSavesNothing)
{
    WriteSettings();
    const std::string before = ReadBytes(settingsPath);
    bool stayedOpen = false;
    EXPECT_FALSE(WithDialog([&](TfrmConfiguracao& d) {
        d.btnTestar->click();
        d.edtcaminho->setText(QString::fromStdString(dir / "NAO_EXISTE.FDB"));
        d.btnTestar->click();
        stayedOpen = d.isVisible();
    }));
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{Shown::Plain, Cp1252("Coneão realizada com sucesso.")},
                                                  {Shown::Error, Cp1252("Erro de Conexão.")}}));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(ReadBytes(settingsPath), before);
}

TEST_F(ConfigurationDialogTest, TestarThroughTheServerRefusesAWrongPassword)
{
    WriteSettings();
    const ServerValues server = LoopbackServer();
    EXPECT_FALSE(WithDialog([&](TfrmConfiguracao& d) {
        d.edtservidor->setText(QString::fromStdString(server.server));
        d.edtusuario->setText(QString::fromStdString(server.userName));
        d.edtsenha->setText(QString::fromStdString(server.password));
        d.btnTestar->click();
        d.edtsenha->setText(QString::fromStdString(server.password + "x"));
        d.btnTestar->click();
    }));
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{Shown::Plain, Cp1252("Coneão realizada com sucesso.")},
                                                  {Shown::Error, Cp1252("Erro de Conexão.")}}));
}

TEST_F(ConfigurationDialogTest, ThePickedDatabaseFileReplacesOnlyThePath)
{
    WriteSettings();
    QString picked;
    WithDialog([&](TfrmConfiguracao& d) {
        OnNextModal([&](QWidget* modal) {
            EXPECT_EQ(modal, d.OpenDlg);
            EXPECT_EQ(d.OpenDlg->selectedNameFilter(), "Banco de Dados InterBase (*.gdb)");
            d.OpenDlg->selectNameFilter("Banco de Dados FireBird (*.fdb)");
            d.OpenDlg->selectFile(QString::fromStdString(database));
            static_cast<QDialog*>(d.OpenDlg)->accept();
        });
        d.btnCaminho->click();
        picked = d.edtcaminho->text();
        EXPECT_EQ(d.edtservidor->text(), "LOCAL");
    });
    EXPECT_EQ(picked, QString::fromStdString(database));
}

}  // namespace
}  // namespace ligamor::test
