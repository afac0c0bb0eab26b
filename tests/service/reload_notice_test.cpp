// systemctl reload, as the manager hears it: the service says it is reloading,
// with the time that pairs the notice with the request, then that it is ready.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <time.h>

#include <cstring>
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
    SaveSettings(dir / "ConfigLigamor.csi", {.Server = "LOCAL",
                                             .DatabasePath = CreateDatabase(dir.Path(), "LOJA.FDB", 3,
                                                                            ReadBytes(LIGAMOR_SCHEMA_SQL)),
                                             .UserName = "SYSDBA",
                                             .Password = "masterkey",
                                             .SendDirectory = dir / "ENVIO/",
                                             .ResponseDirectory = dir / "RESPOSTA/",
                                             .LogDirectory = dir / "LOG/",
                                             .IntervalText = "200"});
    const std::string socketPath = dir / "notify";
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    timeval wait{.tv_sec = 1, .tv_usec = 0};  // only keeps a broken build from hanging the run
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    ::setenv("LIGAMOR_TEST_NOTIFY_SOCKET", socketPath.c_str(), 1);
    ServiceProcess service({"--config", dir / "ConfigLigamor.csi"}, dir / "stderr");
    ::unsetenv("LIGAMOR_TEST_NOTIFY_SOCKET");

    // Each datagram in order, until the ready after the reload or a minute of silence.
    std::vector<std::string> heard;
    long long asked = 0;
    bool reloaded = false;
    for (int quiet = 0; quiet < 60;) {
        char buffer[4096];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) {
            ++quiet;
            continue;
        }
        const std::string datagram(buffer, static_cast<std::size_t>(n));
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
    ::close(fd);
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
