// What the service tells its manager; how it reaches the manager is each
// platform's own (service_notify_<platform>.cpp).
#include "runtime/service_notify.h"

namespace ligamor {

void ServiceNotifier::Ready()
{
    Send("READY=1");
}

void ServiceNotifier::Reloading()
{
    // The manager pairs the notice with the reload it asked for by the time:
    // CLOCK_MONOTONIC in microseconds, which steady_clock is where the
    // manager listens.
    const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    Send("RELOADING=1\nMONOTONIC_USEC=" + std::to_string(now.count()));
}

void ServiceNotifier::Stopping()
{
    Send("STOPPING=1");
}

void ServiceNotifier::Status(const std::string& utf8Text)
{
    std::string line = utf8Text;
    for (char& c : line)
        if (c == '\n') c = ' ';
    Send("STATUS=" + line);
}

void ServiceNotifier::KeepAlive()
{
    if (watchdogPeriod_.count() <= 0) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastAlive_ < watchdogPeriod_ / 2) return;
    lastAlive_ = now;
    Send("WATCHDOG=1");
}

}  // namespace ligamor
