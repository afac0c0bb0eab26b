// The service control manager hears how the service is doing through the
// service host (service_host_windows.cpp): ready is SERVICE_RUNNING, stopping
// the next checkpoint of SERVICE_STOP_PENDING. The manager has no status line
// and no watchdog; started from a console, nothing listens at all.
#include "runtime/service_notify.h"

#include "runtime/service_control_windows.h"
#include "runtime/system_log.h"

namespace ligamor {

ServiceNotifier::ServiceNotifier() = default;

// Without a status line, a change of the health is one event in the
// Application log, where the Event Viewer and a technician's monitoring look
// for the service. Only for the service: a run from a console or a scheduled
// --once is watched by whoever started it, and would otherwise tell a
// monitor of a first state on every run.
void ServiceNotifier::HealthChanged(SystemLogLevel level, const std::string& utf8Line)
{
    if (detail::HostedByServiceManager()) WriteSystemLog(level, utf8Line, SystemLogEvent::HealthChanged);
}

void ServiceNotifier::Send(const std::string& state)
{
    if (!detail::HostedByServiceManager()) return;
    if (state == "READY=1") detail::ReportServiceRunning();
    else if (state == "STOPPING=1") detail::ReportServiceStopping();
}

}  // namespace ligamor
