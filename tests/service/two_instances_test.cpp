// Two integrations on one computer, as ligamor@loja1 and ligamor@loja2 run
// them: each with its settings file, its send directory and its database;
// both integrate, and each one's --status is its own.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>

#include "config/settings.h"
#include "runtime/text1252.h"
#include "service/service_process.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace ligamor::test {
namespace {

int Status(const std::string& settingsFile, std::string& out)
{
    return RunStatus({"--json", "--config", settingsFile}, out);
}

TEST(TwoInstances, EachIntegratesItsOwnSendDirectoryAndTellsItsOwnStatus)
{
    TempDir dir;
    const std::string script = ReadBytes(LIGAMOR_SCHEMA_SQL) + ReadBytes(LIGAMOR_DEMO_SQL);
    std::vector<std::string> databases, settingsFiles;
    for (const std::string shop : {"loja1", "loja2"}) {
        const std::string folder = dir / shop;
        std::filesystem::create_directories(folder + "/ENVIO");
        databases.push_back(CreateDatabase(folder + "/", "LOJA.FDB", 3, script));
        SystemSettings settings = ShopSettings(folder, databases.back());
        settings.OtherLines.push_back("RECUSADAS=SEPARAR");
        settingsFiles.push_back(dir / (shop + ".csi"));
        SaveSettings(settingsFiles.back(), settings);
    }
    // The second shop's file has a line its database refuses: set aside, late.
    WriteBytes(dir / "loja1/ENVIO/PRODUTO.TXT", "I#1#UM#T1#10#UN#8,20#12,90\r\n");
    WriteBytes(dir / "loja2/ENVIO/PRODUTO.TXT", "I#2#DOIS#T1#10#UN#8,20#12,90\r\nI#3#TRES#T1#X#UN#8,20#12,90\r\n");

    ServiceProcess one({"--config", settingsFiles[0]}, dir / "stderr1");
    ServiceProcess two({"--config", settingsFiles[1]}, dir / "stderr2");
    ASSERT_TRUE(one.WaitForText("PRODUTO.TXT (1 linha).")) << one.Err();
    ASSERT_TRUE(two.WaitForText("PRODUTO.TXT (2 linhas).")) << two.Err();
    ASSERT_TRUE(two.WaitForText("1 linha separada")) << two.Err();

    std::string out;
    EXPECT_EQ(Status(settingsFiles[0], out), 0) << out;
    EXPECT_NE(out.find("\"linhas_separadas\": 0"), std::string::npos) << out;
    EXPECT_EQ(Status(settingsFiles[1], out), 1) << out;
    EXPECT_NE(out.find("\"linhas_separadas\": 1"), std::string::npos) << out;

    one.Signal(SIGTERM);
    two.Signal(SIGTERM);
    EXPECT_EQ(one.Wait(), 0) << one.Err();
    EXPECT_EQ(two.Wait(), 0) << two.Err();
    // Read once the engines let the files go.
    EXPECT_EQ(ReadValue(databases[0], "select list(CDDETALHE) from DETALHE where CDDETALHE < 10"), "1");
    EXPECT_EQ(ReadValue(databases[1], "select list(CDDETALHE) from DETALHE where CDDETALHE < 10"), "2");
}

#ifdef LIGAMOR_WINDOW_EXE
// The window integrates, the service waits for the send directory; once the
// window is closed, the service takes the directory within one interval.
TEST(TwoInstances, AServiceWaitingForTheWindowsDirectoryTakesItOnceTheWindowEnds)
{
    TempDir dir;
    const std::string script = ReadBytes(LIGAMOR_SCHEMA_SQL) + ReadBytes(LIGAMOR_DEMO_SQL);
    std::filesystem::create_directories(dir / "ENVIO");
    const std::string database = CreateDatabase(dir.Path(), "LOJA.FDB", 3, script);
    const std::string settingsFile = dir / "ConfigLigamor.csi";
    SaveSettings(settingsFile, ShopSettings(dir.Path(), database, "1000"));

    ServiceProcess window({"--config", settingsFile}, dir / "window.err", {.program = LIGAMOR_WINDOW_EXE});
    std::string out;
    const auto held = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (RunStatus({"--config", settingsFile}, out) != 0 && std::chrono::steady_clock::now() < held)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_EQ(out, "Integração normal: lendo os arquivos a cada 1 s.\n");
    // Its back-off would have it wait 10 minutes.
    ServiceProcess service({"--retry-first", "600000", "--config", settingsFile}, dir / "service.err");
    ASSERT_TRUE(service.WaitForText("ou assim que a outra integração deixar o diretório de envio.")) << service.Err();

    window.Signal(SIGTERM);
    ASSERT_EQ(window.Wait(), 0) << window.Err();
    const auto released = std::chrono::steady_clock::now();
    ASSERT_TRUE(service.WaitForText("Integração ativa")) << service.Err();
    const auto taken = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - released);
    RecordProperty("taken_after_ms", static_cast<int>(taken.count()));
    WriteBytes(dir / "ENVIO/PRODUTO.TXT", "I#1#UM#T1#10#UN#8,20#12,90\r\n");
    EXPECT_TRUE(service.WaitForText("PRODUTO.TXT (1 linha).")) << service.Err();
    service.Signal(SIGTERM);
    EXPECT_EQ(service.Wait(), 0) << service.Err();
}
#endif

}  // namespace
}  // namespace ligamor::test
