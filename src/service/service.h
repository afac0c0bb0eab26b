#pragma once
// The window-less front end: the same activation and cycle as the window,
// messages on standard error, and by itself again after a failure.
#include <chrono>
#include <string>

#include "config/command_line.h"

namespace ligamor {

struct ServiceOptions {
    std::string settingsFile;
    bool once = false;  // one activation, one cycle, then the exit status
    std::chrono::milliseconds retryFirst{kRetryFirstDefault};
    std::chrono::milliseconds retryMost{kRetryMostDefault};
};

// Exit statuses, for scripts that run --once.
enum ExitStatus : int {
    kExitDone = 0,            // every file present applied and moved, or none present; a stop asked for
    kExitFailed = 1,          // the connection or the cycle failed, or a file was left in the send directory
    kExitUsage = 2,           // bad usage; settings file missing, unreadable or with an invalid interval
    kExitAlreadyRunning = 3,  // another integration holds the send directory
};

// Runs until a stop is asked for (or, with once, one cycle) and gives the exit
// status.
int RunService(const ServiceOptions& options);

}  // namespace ligamor
