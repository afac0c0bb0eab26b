// Two integrations on one computer, as ligamor@loja1 and ligamor@loja2 run
// them: each with its settings file, its send directory and its database;
// both integrate, and each one's --status is its own.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <memory>

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

}  // namespace
}  // namespace ligamor::test
