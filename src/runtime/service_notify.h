#pragma once
// Tells the service manager how the service is doing: started, stopping,
// still alive (the watchdog), and a one-line status. Without a service
// manager listening every call does nothing.
#include <chrono>
#include <string>

#include "runtime/system_log.h"

namespace ligamor {

class ServiceNotifier {
public:
    // Reads where to tell it from the environment the manager gave.
    ServiceNotifier();

    void Ready();
    // Reading the settings again has begun; Ready() says when it is done.
    void Reloading();
    void Stopping();
    void Status(const std::string& utf8Text);
    // The integration's health changed to another state, at the given level;
    // utf8Line says which and why. Told once per change, not per cycle.
    void HealthChanged(SystemLogLevel level, const std::string& utf8Line);

    // How often the manager wants to hear from a live service; zero when it
    // does not watch.
    std::chrono::milliseconds WatchdogPeriod() const { return watchdogPeriod_; }
    // Tells the manager the service is alive when half the watchdog period
    // went by since it last did.
    void KeepAlive();

private:
    void Send(const std::string& state);

    std::string socketPath_;
    std::chrono::milliseconds watchdogPeriod_{0};
    std::chrono::steady_clock::time_point lastAlive_{};
};

}  // namespace ligamor
