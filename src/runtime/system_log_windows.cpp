// The Windows event log. Each kind of event has one message of its own in
// the message table (event_messages_windows.mc), whose whole text is the one
// string reported: the Event Viewer then shows the message as written,
// instead of "the description for Event ID ... cannot be found", and a
// monitoring agent tells the kinds apart by their IDs.
#include "runtime/system_log.h"

#include "event_messages_windows.h"  // made by windmc from event_messages_windows.mc
#include "runtime/win32_support.h"

namespace ligamor {

namespace {

std::wstring sourceName = L"ligamor";

// The source the installer registers under
// HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application. Registered for
// the life of the process: the handle is closed by the system at exit.
HANDLE EventSource()
{
    static const HANDLE source = RegisterEventSourceW(nullptr, sourceName.c_str());
    return source;
}

DWORD EventId(SystemLogEvent event, SystemLogLevel level)
{
    switch (event) {
    case SystemLogEvent::Started: return LIGAMOR_EVENT_STARTED;
    case SystemLogEvent::Stopped: return LIGAMOR_EVENT_STOPPED;
    case SystemLogEvent::SettingsUnusable: return LIGAMOR_EVENT_SETTINGS_UNUSABLE;
    case SystemLogEvent::ConnectionFailed: return LIGAMOR_EVENT_CONNECTION_FAILED;
    case SystemLogEvent::CycleDone: return LIGAMOR_EVENT_CYCLE_DONE;
    case SystemLogEvent::CycleFailed: return LIGAMOR_EVENT_CYCLE_FAILED;
    case SystemLogEvent::LinesSetAside: return LIGAMOR_EVENT_LINES_SET_ASIDE;
    case SystemLogEvent::HealthChanged: return LIGAMOR_EVENT_HEALTH_CHANGED;
    case SystemLogEvent::Other: break;
    }
    if (level == SystemLogLevel::Warning) return LIGAMOR_EVENT_WARNING;
    if (level == SystemLogLevel::Error) return LIGAMOR_EVENT_ERROR;
    return LIGAMOR_EVENT_INFORMATION;
}

}  // namespace

void SetSystemLogSource(const std::string& name)
{
    sourceName = detail::Wide(name, CP_UTF8);
}

void WriteSystemLog(SystemLogLevel level, const std::string& utf8Text, SystemLogEvent event)
{
    const HANDLE source = EventSource();
    if (!source) return;  // no event log service: nowhere to tell it
    WORD type = EVENTLOG_INFORMATION_TYPE;
    if (level == SystemLogLevel::Warning) type = EVENTLOG_WARNING_TYPE;
    else if (level == SystemLogLevel::Error) type = EVENTLOG_ERROR_TYPE;
    const std::wstring text = detail::Wide(utf8Text, CP_UTF8);
    const wchar_t* strings[] = {text.c_str()};
    // Best effort: a full or missing log must not stop the integration.
    ReportEventW(source, type, 0, EventId(event, level), nullptr, 1, 0, strings, nullptr);
}

}  // namespace ligamor
