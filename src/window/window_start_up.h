#pragma once
// What both windows build once their toolkit runs: its message boxes and
// timer, the system clock, and the integration's parts over the settings
// file that the command line names. The toolkit's seams are its own types;
// the wiring is the same for every window.
#include "config/command_line.h"
#include "engine/integration_parts.h"
#include "runtime/clock.h"
#include "runtime/text_file.h"

namespace ligamor {

template <class ToolkitMessages, class ToolkitTimer>
struct WindowStartUp {
    // takesStopSignals: the window takes SIGINT and SIGTERM itself (fb_client.h).
    WindowStartUp(const CommandLine& commandLine, bool takesStopSignals)
        : parts({.messages = messages,
                 .timer = timer,
                 .clock = clock,
                 .settingsFile = SettingsFileOf(commandLine, ExecutableDirectory()),
                 .takesStopSignals = takesStopSignals})
    {
    }

    ToolkitMessages messages;
    SystemClock clock;
    ToolkitTimer timer;
    IntegrationParts parts;  // built last: it holds the seams above
};

}  // namespace ligamor
