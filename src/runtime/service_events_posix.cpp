// Stop and reload requests on POSIX systems. The signals are blocked in the
// thread that takes them over, and so in every thread started after it (the
// database client's among them), and one thread of ours accepts them with
// sigwaitinfo. No handler ever interrupts a call of the program or of the
// client: the Firebird 3 client loops for ever when it opens a lock file
// while errno still says EINTR from an interrupted call, which is what left
// the window spinning in isc_detach_database after SIGTERM. The client's own
// SIGTERM and SIGINT handlers never run either. A request notes itself and
// writes one byte into a pipe that the wait polls, so one that arrives just
// before the wait begins still ends it.
#include "runtime/service_events.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <stdexcept>
#include <thread>

namespace ligamor {

namespace {

std::atomic<bool> stopRequested{false};
std::atomic<bool> reloadRequested{false};
std::atomic<bool> closing{false};
int wakeFds[2] = {-1, -1};

void Note(int signal, bool reloadTaken, bool interruptIgnored)
{
    if (signal == SIGHUP && reloadTaken) reloadRequested = true;
    else if (signal == SIGTERM || (signal == SIGINT && !interruptIgnored)) stopRequested = true;
    else return;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(wakeFds[1], &byte, 1);  // a full pipe already wakes the wait
}

// For a thread that was already running, signals unblocked, when the requests
// were taken over: it still gets the request noted. Async-signal-safe.
bool fallbackReloadTaken = true;
bool fallbackInterruptIgnored = false;
void OnSignal(int signal)
{
    const int savedErrno = errno;
    Note(signal, fallbackReloadTaken, fallbackInterruptIgnored);
    errno = savedErrno;
}

void Handle(int signal, void (*handler)(int))
{
    struct sigaction action{};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

bool InheritedAsIgnored(int signal)
{
    struct sigaction current{};
    return sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

void Drain()
{
    char buffer[64];
    while (read(wakeFds[0], buffer, sizeof buffer) > 0) {
    }
}

struct Takeover {
    sigset_t signals;
    sigset_t previousMask;
    std::thread watcher;
    bool reloadTaken = true;
    bool interruptIgnored = false;
};

Takeover* takeover = nullptr;

}  // namespace

ServiceEvents::ServiceEvents(ReloadRequests reload)
{
    if (pipe2(wakeFds, O_NONBLOCK | O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
    stopRequested = false;
    reloadRequested = false;
    closing = false;
    takeover = new Takeover;
    takeover->reloadTaken = reload == ReloadRequests::Taken;
    // SIGINT ignored by whoever started us (a shell's background job) stays
    // ignored. It is blocked all the same: the client's handler would
    // otherwise take it over and run on any thread.
    takeover->interruptIgnored = InheritedAsIgnored(SIGINT);
    fallbackReloadTaken = takeover->reloadTaken;
    fallbackInterruptIgnored = takeover->interruptIgnored;
    sigemptyset(&takeover->signals);
    sigaddset(&takeover->signals, SIGTERM);
    sigaddset(&takeover->signals, SIGINT);
    if (takeover->reloadTaken) sigaddset(&takeover->signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &takeover->signals, &takeover->previousMask);
    Handle(SIGTERM, OnSignal);
    if (!takeover->interruptIgnored) Handle(SIGINT, OnSignal);
    if (takeover->reloadTaken) Handle(SIGHUP, OnSignal);
    takeover->watcher = std::thread([signals = takeover->signals, reloadTaken = takeover->reloadTaken,
                                     interruptIgnored = takeover->interruptIgnored] {
        while (!closing) {
            siginfo_t info{};
            const int signal = sigwaitinfo(&signals, &info);
            if (signal < 0 || closing) continue;
            Note(signal, reloadTaken, interruptIgnored);
        }
    });
}

ServiceEvents::~ServiceEvents()
{
    closing = true;
    pthread_kill(takeover->watcher.native_handle(), SIGTERM);
    takeover->watcher.join();
    // The handlers stay: a request that comes while the program ends is
    // only noted, and the exit status stays the program's own.
    pthread_sigmask(SIG_SETMASK, &takeover->previousMask, nullptr);
    delete takeover;
    takeover = nullptr;
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
    return "SIGTERM ou SIGINT param entre duas linhas; as configurações são lidas de novo quando o\n"
           "arquivo muda, ou já com SIGHUP.\n";
}

}  // namespace ligamor
