// SERVIDOR=LOCAL on Linux opens the database with the embedded engine, which
// a Firebird server holding the same file refuses: the service says so in
// Portuguese with the fix, once per attempt, and connects by itself once the
// server lets the file go.
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdlib>
#include <filesystem>

#include "config/settings.h"
#include "db/dtmmain.h"
#include "db/firebird/fb_client.h"
#include "engine/connection_reason.h"
#include "runtime/text1252.h"
#include "service/service_process.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace ligamor::test {
namespace {

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

TEST(LocalBesideServer, TheMessageNamesTheFixAndTheServiceRetries)
{
    TempDir dir;
    const std::string database = CreateDatabase(dir.Path(), "LOJA.FDB", 3, ReadBytes(LIGAMOR_SCHEMA_SQL));
    SaveSettings(dir / "ConfigLigamor.csi", ShopSettings(dir.Path(), database));
    // The point of sale's server holds the file, as at a shop.
    FbClientLoader loader;
    DataModule held{loader};
    const ServerValues server = LoopbackServer();
    ConnectDatabase(held, server.server + ":" + database, server.userName, server.password);

    // The service's engine as a shop's: the Firebird packages' own root and
    // configuration, read only; its lock files in a folder of the test's own,
    // apart from the server's, as the shop's separate programs keep them.
    std::filesystem::create_directories(dir / "lock");
    const char* root = std::getenv("FIREBIRD");
    const char* lock = std::getenv("FIREBIRD_LOCK");
    const std::string rootBefore = root ? root : "", lockBefore = lock ? lock : "";
    ::unsetenv("FIREBIRD");
    ::setenv("FIREBIRD_LOCK", (dir / "lock").c_str(), 1);
    ServiceProcess service({"--config", dir / "ConfigLigamor.csi", "--retry-first", "300", "--retry-max", "300"},
                           dir / "stderr");
    if (root) ::setenv("FIREBIRD", rootBefore.c_str(), 1);
    if (lock) ::setenv("FIREBIRD_LOCK", lockBefore.c_str(), 1);
    else ::unsetenv("FIREBIRD_LOCK");

    const std::string advice = Utf8FromCp1252(LocalBesideServerAdvice());
    ASSERT_TRUE(service.WaitForText("Nova ativação em 0,3 s.")) << service.Err();
    held.conmain.Disconnect();
    ASSERT_TRUE(service.WaitForText("Integração ativa")) << service.Err();
    service.Signal(SIGTERM);
    EXPECT_EQ(service.Wait(), 0) << service.Err();

    const std::string err = service.Err();
    // Each refused attempt: the box's line, then the reason with the fix, once.
    const std::size_t attempts = Count(err, "ERRO Erro ao Conectar em Banco de Dados.");
    EXPECT_GE(attempts, 1u) << err;
    EXPECT_EQ(Count(err, advice), attempts) << err;
    EXPECT_EQ(Count(err, "ERRO Motivo: "), attempts) << err;
    EXPECT_NE(err.find("incompatible with current | " + advice), std::string::npos) << err;
}

}  // namespace
}  // namespace ligamor::test
