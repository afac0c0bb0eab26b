#pragma once
// What a window-less front end waits for between cycles: the end of its
// wait, a request to stop (SIGTERM, SIGINT; on Windows Ctrl+C, Ctrl+Break,
// the console closed, the user logging off, the system shutting down) or to
// read its settings again (SIGHUP; Windows has none). A request that arrives
// while it works is kept for its next wait.
#include <chrono>
#include <string>

namespace ligamor {

enum class ServiceEvent { Timeout, Stop, Reload };

// Whether SIGHUP asks for the settings again (the service) or keeps its usual
// meaning (the window, which a closed terminal or session ends).
enum class ReloadRequests { Taken, LeftAlone };

class ServiceEvents {
public:
    // Takes over the stop (and reload) requests of the process; one at a time.
    explicit ServiceEvents(ReloadRequests reload = ReloadRequests::Taken);
    ~ServiceEvents();
    ServiceEvents(const ServiceEvents&) = delete;
    ServiceEvents& operator=(const ServiceEvents&) = delete;

    // Waits up to timeout (negative: without end) and tells what ended the
    // wait; a pending stop comes before a pending reload.
    ServiceEvent Wait(std::chrono::milliseconds timeout);

    // True once a stop was asked for; never blocks.
    bool StopRequested() const;
};

inline constexpr std::chrono::milliseconds kWaitForever{-1};

// How the user asks for a stop and for the settings read again on this
// platform, for the --help text (UTF-8, ending with a line end).
std::string StopAndReloadUsage();

}  // namespace ligamor
