// The window opened beside the real service on the same settings: it is the
// face of the service's integration, and takes it over once the service ends.
#include <QCoreApplication>
#include <QThread>

#include <chrono>
#include <filesystem>
#include <functional>

#include "engine/integration_log.h"
#include "runtime/process_identity.h"
#include "runtime/text1252.h"
#include "service/service_process.h"
#include "ui/untmain.h"
#include "ui_fixture.h"

namespace ligamor::test {
namespace {

using namespace std::chrono_literals;

std::string Products(int first, int count)
{
    std::string lines;
    for (int code = first; code < first + count; ++code)
        lines += "I#" + std::to_string(code) + "#PRODUTO " + std::to_string(code) + "#T1#10#UN#1,00#2,00\r\n";
    return lines;
}

class BesideTheService : public UiTest {
protected:
    BesideTheService()
    {
        settings = ShopSettings(dir.Path(), database, "200");
        std::filesystem::create_directories(settings.SendDirectory);
        SaveSettings(settingsPath, settings);
    }

    // Lets the window's events and timers run until check holds; false after 20 s.
    bool Until(const std::function<bool()>& check)
    {
        const auto end = std::chrono::steady_clock::now() + 20s;
        while (std::chrono::steady_clock::now() < end) {
            QCoreApplication::processEvents();
            if (check()) return true;
            QThread::msleep(20);
        }
        return false;
    }

    std::string Status()
    {
        std::string out;
        RunStatus({"--config", settingsPath}, out);
        if (!out.empty() && out.back() == '\n') out.pop_back();
        return out;
    }

    std::string Log() { return Utf8FromCp1252(ReadBytes(IntegrationLogPath(settings.LogDirectory))); }
    bool Waiting(const std::string& name) { return std::filesystem::exists(settings.SendDirectory + name); }

    SystemSettings settings;
};

TEST_F(BesideTheService, TheWindowShowsItsLogAndHealthAndPausesAndResumesIt)
{
    WriteBytes(settings.SendDirectory + "PRODUTO.TXT", Products(1, 10));
    ServiceProcess service({"--config", settingsPath}, dir / "stderr");
    ASSERT_TRUE(service.WaitForText("PRODUTO.TXT (10 linhas).")) << service.Err();

    auto frmmain = std::make_unique<Tfrmmain>(integration, timer);
    messages.watched = frmmain.get();
    frmmain->show();
    // No box: the service integrates, and the window shows it doing so.
    ASSERT_TRUE(Until([&] { return frmmain->rce->toPlainText().contains("PRODUTO 10"); }));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(frmmain->Controller().Watching());
    EXPECT_TRUE(frmmain->stbmainPanel->toolTip().startsWith(QString::fromUtf8("Integração do serviço (usuário ")))
        << frmmain->stbmainPanel->toolTip().toStdString();
    EXPECT_TRUE(Until([&] { return frmmain->lblEstado->toolTip().toStdString() == Status(); }))
        << frmmain->lblEstado->toolTip().toStdString() << " / " << Status();
    EXPECT_EQ(Status(), "Integração normal: lendo os arquivos a cada 0,2 s.");

    // "&Desativar": the service stops reading, and says who asked.
    frmmain->Desativar1->trigger();
    const ProcessIdentity me = ThisProcess();
    const std::string paused = "Integração parada: a leitura dos arquivos foi desligada no menu (Desativar) por " +
                               me.user + " em " + me.computer + "; Ativar volta a ler a cada 0,2 s.";
    ASSERT_TRUE(Until([&] { return Status() == paused; })) << Status();
    EXPECT_TRUE(Until([&] { return frmmain->lblEstado->toolTip().toStdString() == paused; }));
    EXPECT_TRUE(Until([&] { return frmmain->Desativar1->isChecked() && !frmmain->Ativar1->isChecked(); }));
    WriteBytes(settings.SendDirectory + "PRODUTO.TXT", Products(11, 5));
    QThread::msleep(3000);  // quiet time and several intervals
    EXPECT_TRUE(Waiting("PRODUTO.TXT"));

    // "&Ativar": it reads again, and the window shows the new lines.
    frmmain->Ativar1->trigger();
    ASSERT_TRUE(Until([&] { return !Waiting("PRODUTO.TXT"); })) << service.Err();
    EXPECT_TRUE(Until([&] { return frmmain->rce->toPlainText().contains("PRODUTO 15"); }));
    EXPECT_TRUE(Until([&] { return Status() == "Integração normal: lendo os arquivos a cada 0,2 s."; }));

    // "&Fechar" closes the window only.
    frmmain->Fechar1->trigger();
    EXPECT_TRUE(Until([&] { return !frmmain->isVisible(); }));
    frmmain.reset();
    WriteBytes(settings.SendDirectory + "PRODUTO.TXT", Products(16, 1));
    EXPECT_TRUE(Until([&] { return !Waiting("PRODUTO.TXT"); })) << service.Err();
    EXPECT_TRUE(messages.shown.empty());
    service.Signal(SIGTERM);
    EXPECT_EQ(service.Wait(), 0) << service.Err();
    EXPECT_EQ(ReadValue(database, "select count(*) from DETALHE where CDDETALHE between 1 and 16"), "16");
}

TEST_F(BesideTheService, OnceTheServiceEndsTheWindowSaysSoAndAtivarIntegrates)
{
    ServiceProcess service({"--config", settingsPath}, dir / "stderr");
    ASSERT_TRUE(service.WaitForText("Integração ativa")) << service.Err();
    Tfrmmain frmmain(integration, timer);
    messages.watched = &frmmain;
    frmmain.show();
    ASSERT_TRUE(Until([&] { return frmmain.Controller().Watching(); }));

    service.Signal(SIGTERM);
    EXPECT_EQ(service.Wait(), 0) << service.Err();
    const auto ended = std::chrono::steady_clock::now();
    ASSERT_TRUE(Until([&] { return frmmain.stbmainPanel->toolTip().contains("terminou"); }))
        << frmmain.stbmainPanel->toolTip().toStdString();
    RecordProperty("window_saw_the_end_ms",
                   static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now() - ended)
                                        .count()));
    EXPECT_EQ(frmmain.lblEstado->toolTip().toStdString(), Status());

    frmmain.Ativar1->trigger();
    EXPECT_FALSE(frmmain.Controller().Watching());
    EXPECT_EQ(frmmain.stbmainPanel->toolTip().toStdString(), MakerBanner());
    WriteBytes(settings.SendDirectory + "PRODUTO.TXT", Products(1, 3));
    ASSERT_TRUE(Until([&] { return !Waiting("PRODUTO.TXT"); }));
    EXPECT_TRUE(frmmain.rce->toPlainText().contains("PRODUTO 3"));
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace ligamor::test
