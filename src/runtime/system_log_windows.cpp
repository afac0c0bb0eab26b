// The Windows event log. Each level has one message of its own in the
// message table (event_messages_windows.mc), whose whole text is the one
// string reported: the Event Viewer then shows the message as written,
// instead of "the description for Event ID ... cannot be found".
#include "runtime/system_log.h"

#include "event_messages_windows.h"  // made by windmc from event_messages_windows.mc
#include "runtime/win32_support.h"

namespace ligamor {

namespace {

// The source the installer registers under
// HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application. Registered for
// the life of the process: the handle is closed by the system at exit.
HANDLE EventSource()
{
    static const HANDLE source = RegisterEventSourceW(nullptr, L"ligamor");
    return source;
}

}  // namespace

void WriteSystemLog(SystemLogLevel level, const std::string& utf8Text)
{
    const HANDLE source = EventSource();
    if (!source) return;  // no event log service: nowhere to tell it
    WORD type = EVENTLOG_INFORMATION_TYPE;
    DWORD id = LIGAMOR_EVENT_INFORMATION;
    if (level == SystemLogLevel::Warning) {
        type = EVENTLOG_WARNING_TYPE;
        id = LIGAMOR_EVENT_WARNING;
    } else if (level == SystemLogLevel::Error) {
        type = EVENTLOG_ERROR_TYPE;
        id = LIGAMOR_EVENT_ERROR;
    }
    const std::wstring text = detail::Wide(utf8Text, CP_UTF8);
    const wchar_t* strings[] = {text.c_str()};
    // Best effort: a full or missing log must not stop the integration.
    ReportEventW(source, type, 0, id, nullptr, 1, 0, strings, nullptr);
}

}  // namespace ligamor
