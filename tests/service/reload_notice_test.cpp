// systemctl reload, as the manager hears it: the service says it is reloading,
// with the time that pairs the notice with the request, then that it is ready.
#include <gtest/gtest.h>

#include <signal.h>
#include <time.h>

#include <filesystem>

#include "config/settings.h"
#include "runtime/text1252.h"
#include "service/service_process.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace ligamor::test {
namespace {

long long MonotonicMicroseconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000LL + now.tv_nsec / 1000;
}

TEST(ReloadNotice, ReloadingWithItsTimeThenReady)
{
    TempDir dir;
    SaveSettings(dir / "ConfigLigamor.csi",
                 ShopSettings(dir.Path(), CreateDatabase(dir.Path(), "LOJA.FDB", 3, ReadBytes(LIGAMOR_SCHEMA_SQL))));
    const NotifySocket manager(dir / "notify");
    ServiceProcess service({"--config", dir / "ConfigLigamor.csi"}, dir / "stderr");

    // Each datagram in order, until the ready after the reload or a minute of silence.
    std::vector<std::string> heard;
    long long asked = 0;
    bool reloaded = false;
    for (int quiet = 0; quiet < 60;) {
        const std::string datagram = manager.Receive();
        if (datagram.empty()) {
            ++quiet;
            continue;
        }
        if (datagram.rfind("STATUS=", 0) == 0 || datagram == "WATCHDOG=1") {
            if (!asked && datagram.find("Integração ativa") != std::string::npos) {
                asked = MonotonicMicroseconds();
                service.Signal(SIGHUP);
            }
            continue;
        }
        heard.push_back(datagram);
        if (reloaded && datagram == "READY=1") break;
        reloaded = reloaded || datagram.rfind("RELOADING=1\n", 0) == 0;
    }
    service.Signal(SIGTERM);
    EXPECT_EQ(service.Wait(), 0) << service.Err();

    ASSERT_EQ(heard.size(), 3u) << ::testing::PrintToString(heard);
    EXPECT_EQ(heard[0], "READY=1");
    EXPECT_EQ(heard[2], "READY=1");
    const std::string prefix = "RELOADING=1\nMONOTONIC_USEC=";
    ASSERT_EQ(heard[1].rfind(prefix, 0), 0u) << heard[1];
    const long long usec = std::stoll(heard[1].substr(prefix.size()));
    EXPECT_GE(usec, asked);
    EXPECT_LE(usec, MonotonicMicroseconds());
}

}  // namespace
}  // namespace ligamor::test
