// Stop and reload requests on POSIX systems: the signal handlers note the
// request and write one byte into a pipe that the wait polls, so a signal
// that arrives just before the wait begins still ends it.
#include "runtime/service_events.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <stdexcept>

namespace ligamor {

namespace {

std::atomic<bool> stopRequested{false};
std::atomic<bool> reloadRequested{false};
int wakeFds[2] = {-1, -1};
bool reloadTaken = true;

void OnSignal(int signal)
{
    const int savedErrno = errno;
    if (signal == SIGHUP) reloadRequested = true;
    else stopRequested = true;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(wakeFds[1], &byte, 1);  // a full pipe already wakes the wait
    errno = savedErrno;
}

void Handle(int signal, void (*handler)(int))
{
    struct sigaction action{};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // SA_RESTART: the database client's calls go on undisturbed; the request
    // is seen between two lines or at the next wait.
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

void Drain()
{
    char buffer[64];
    while (read(wakeFds[0], buffer, sizeof buffer) > 0) {
    }
}

}  // namespace

ServiceEvents::ServiceEvents(ReloadRequests reload)
{
    if (pipe2(wakeFds, O_NONBLOCK | O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
    stopRequested = false;
    reloadRequested = false;
    reloadTaken = reload == ReloadRequests::Taken;
    for (int signal : {SIGTERM, SIGINT}) Handle(signal, OnSignal);
    if (reloadTaken) Handle(SIGHUP, OnSignal);
}

ServiceEvents::~ServiceEvents()
{
    for (int signal : {SIGTERM, SIGINT}) Handle(signal, SIG_DFL);
    if (reloadTaken) Handle(SIGHUP, SIG_DFL);
    close(wakeFds[0]);
    close(wakeFds[1]);
    wakeFds[0] = wakeFds[1] = -1;
}

ServiceEvent ServiceEvents::Wait(std::chrono::milliseconds timeout)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + timeout;
    for (;;) {
        Drain();
        if (stopRequested) return ServiceEvent::Stop;
        if (reloadRequested.exchange(false)) return ServiceEvent::Reload;
        int waitMs = -1;
        if (timeout.count() >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
            if (left <= 0) return ServiceEvent::Timeout;
            waitMs = left > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(left);
        }
        pollfd wake{wakeFds[0], POLLIN, 0};
        poll(&wake, 1, waitMs);  // EINTR and wake-ups go round the loop
    }
}

bool ServiceEvents::StopRequested() const
{
    return stopRequested;
}

std::string StopAndReloadUsage()
{
    return "SIGTERM ou SIGINT param entre duas linhas; SIGHUP lê as configurações de novo.\n";
}

std::string ReloadInstruction()
{
    return "envie SIGHUP (systemctl reload ligamor)";
}

}  // namespace ligamor
