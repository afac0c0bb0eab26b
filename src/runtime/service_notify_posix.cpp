// The service manager's notification protocol on Linux (systemd's sd_notify):
// one datagram of "KEY=value" lines to the socket named by NOTIFY_SOCKET. The
// protocol is a stable interface meant to be spoken without libsystemd,
// which would otherwise be a dependency for these few lines.
#include "runtime/service_notify.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace ligamor {

ServiceNotifier::ServiceNotifier()
{
    const char* socket = std::getenv("NOTIFY_SOCKET");
    if (socket && (socket[0] == '/' || socket[0] == '@')) socketPath_ = socket;
    const char* usec = std::getenv("WATCHDOG_USEC");
    const char* pid = std::getenv("WATCHDOG_PID");
    // A watchdog meant for another process (a parent that exec'd us) is not ours.
    if (usec && (!pid || std::atoll(pid) == getpid())) watchdogPeriod_ = std::chrono::milliseconds(std::atoll(usec) / 1000);
}

// The status line that every message sends already starts with the health.
void ServiceNotifier::HealthChanged(SystemLogLevel, const std::string&) {}

void ServiceNotifier::Send(const std::string& state)
{
    if (socketPath_.empty()) return;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath_.size() >= sizeof address.sun_path) return;
    std::memcpy(address.sun_path, socketPath_.data(), socketPath_.size());
    if (address.sun_path[0] == '@') address.sun_path[0] = '\0';  // the abstract namespace
    const socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + socketPath_.size());
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    // Best effort: a manager that does not listen must not stop the service.
    sendto(fd, state.data(), state.size(), MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&address), length);
    close(fd);
}

}  // namespace ligamor
