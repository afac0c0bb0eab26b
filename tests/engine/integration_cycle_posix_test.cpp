// Cycles that need Linux: another file system for the response directory,
// and a user without the right to write there (the move to another volume on
// Windows is tested in tests/runtime).
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <limits>

#include "engine/integration_health.h"
#include "engine_fixture.h"
#include "runtime/failures.h"
#include "runtime/text1252.h"

namespace ligamor {
namespace {

using Strings = std::vector<std::string>;
using Names = std::set<std::string>;

class IntegrationCycleOnLinux : public test::EngineTest {};

TEST_F(IntegrationCycleOnLinux, ResponseDirectoryOnAnotherFileSystemGetsAFlushedCopy)
{
    struct stat here {}, shm {};
    if (::stat(dir.Path().c_str(), &here) != 0 || ::stat("/dev/shm", &shm) != 0 || here.st_dev == shm.st_dev)
        GTEST_SKIP() << "/dev/shm is not a file system apart from /tmp on this machine";
    test::TempDir other("/dev/shm/");
    settings.ResponseDirectory = other.Path();
    test::WriteBytes(other / "CLIENTE_06122026_143701.TXT", "earlier\r\n");
    test::WriteBytes(Send("CLIENTE.TXT"), "c1\r\n");
    test::WriteBytes(Send("PRODUTO.TXT"), "p1\r\np2\r\n");

    RunIntegrationCycle(integration, view);
    RunIntegrationCycle(integration, view);  // nothing is left to apply again

    EXPECT_EQ(seen, (Strings{"C:c1", "P:p1", "P:p2"}));
    EXPECT_EQ(Log(), "C|c1\r\nP|p1\r\nP|p2\r\n");
    EXPECT_EQ(ListDir(settings.SendDirectory), Names{});
    EXPECT_EQ(ListDir(other.Path()), (Names{"CLIENTE_06122026_143701.TXT", "CLIENTE_06122026_143701_2.TXT",
                                            "PRODUTO_06122026_143701.TXT"}));
    EXPECT_EQ(test::ReadBytes(other / "CLIENTE_06122026_143701.TXT"), "earlier\r\n");
    EXPECT_EQ(test::ReadBytes(other / "CLIENTE_06122026_143701_2.TXT"), "c1\r\n");
    EXPECT_EQ(test::ReadBytes(other / "PRODUTO_06122026_143701.TXT"), "p1\r\np2\r\n");
}

// As a user who may not write in the response directory: root runs the cycle
// in a child process as user nobody. Once the user points it at a directory
// it may write, the next cycle, in a new integration as after a restart,
// moves the file without applying it again.
TEST_F(IntegrationCycleOnLinux, FileThatCannotBeMovedStopsPollingNamingTheFileAndTheReason)
{
    test::WriteBytes(Send("PRODUTO.TXT"), "p1\r\n");
    test::TempDir writable;
    ::chmod(writable.Path().c_str(), 0777);
    ::chmod(settings.SendDirectory.c_str(), 0777);
    ::chmod(settings.LogDirectory.c_str(), 0777);
    ::chmod(settings.ResponseDirectory.c_str(), 0555);
    timer.SetInterval(5000);
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(channel[0]);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
        std::string outcome = "no failure";
        try {
            RunIntegrationCycle(integration, view);
        } catch (const IoFailure& f) {
            outcome = f.Message();
        }
        outcome += "|" + std::to_string(timer.interval) + "|" + view.text;
        ::_exit(::write(channel[1], outcome.data(), outcome.size()) == static_cast<ssize_t>(outcome.size()) ? 0 : 3);
    }
    ::close(channel[1]);
    std::string outcome;
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) outcome.append(buffer, n);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(settings.ResponseDirectory.c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    const std::string unwritable = settings.ResponseDirectory;
    settings.ResponseDirectory = writable.Path() + "/";
    Integration restarted{settings, dtmain, messages, timer, clock, RegionalSettings{}, integration.settingsFile,
                          MakeInputFileTable({Recorder("C"), Recorder("P"), Recorder("V"), Recorder("I")})};
    restarted.quietTime = std::chrono::milliseconds(0);
    RunIntegrationCycle(restarted, view);

    EXPECT_EQ(outcome, Cp1252("Não foi possível mover o arquivo \"" + Send("PRODUTO.TXT") + "\" para \"" +
                              unwritable + "PRODUTO_06122026_143701.TXT" +
                              "\": permissão negada. Código do erro: 13. As linhas do arquivo já foram integradas e "
                              "não serão integradas de novo; a integração fica parada até ser ativada de novo, e "
                              "então o arquivo só será movido.|0|before"));
    EXPECT_EQ(seen, Strings{});  // the child's cycle applied it; the restarted one only moved it
    EXPECT_EQ(Log(), "P|p1\r\n");
    EXPECT_EQ(ListDir(settings.SendDirectory), Names{});
    EXPECT_EQ(ListDir(unwritable), Names{});
    EXPECT_EQ(ListDir(writable.Path()), Names{"PRODUTO_06122026_143701.TXT"});
}

// A file dated past what 64 bits of nanoseconds hold (Linux allows 2446): it
// is read and moved as any other, and the health does not take it for late.
TEST_F(IntegrationCycleOnLinux, AFileDatedAfter2262IsReadAndNeverLate)
{
    test::WriteBytes(Send("PRODUTO.TXT"), "p1\r\n");
    const timespec year2286[2] = {{10'000'000'000, 0}, {10'000'000'000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, Send("PRODUTO.TXT").c_str(), year2286, 0), 0);
    integration.state.health.polling = true;
    integration.state.health.intervalMs = 5000;
    timer.SetInterval(5000);

    const Health health = IntegrationHealth(integration);
    EXPECT_EQ(health.oldest.sinceNs, std::numeric_limits<long long>::max());
    EXPECT_EQ(health.state, HealthState::Normal);
    RunIntegrationCycle(integration, view);
    EXPECT_EQ(seen, Strings{"P:p1"});
    EXPECT_EQ(ListDir(settings.ResponseDirectory), Names{"PRODUTO_06122026_143701.TXT"});
}

}  // namespace
}  // namespace ligamor
