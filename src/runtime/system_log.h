#pragma once
// The log the system keeps of its services' messages, beside standard error.
#include <string>

namespace ligamor {

enum class SystemLogLevel { Information, Warning, Error };

// What a message is about. On Windows each kind has an event ID of its own
// in the message table (event_messages_windows.mc), so that a monitoring
// agent filters by ID instead of by text; the IDs are stable once released.
enum class SystemLogEvent {
    Other,             // by level: 1 information, 2 warning, 3 error
    Started,           // 100
    Stopped,           // 101
    SettingsUnusable,  // 110: no settings file, or one that cannot be used
    ConnectionFailed,  // 120
    CycleDone,         // 130
    CycleFailed,       // 131
    LinesSetAside,     // 140: the count of lines set aside changed
    HealthChanged,     // 150
};

// Writes one message there. On Windows: the Application event log under the
// service's event source ("ligamor", or the one it was started with), which
// the installer registers with the message table of ligamor-service.exe, so
// that the Event Viewer shows the text as it is. On Linux nothing: the
// journal already reads standard error.
void WriteSystemLog(SystemLogLevel level, const std::string& utf8Text, SystemLogEvent event = SystemLogEvent::Other);

// The event source for the rest of the process (a second service of the
// same program has its own). Call before the first message.
void SetSystemLogSource(const std::string& name);

}  // namespace ligamor
