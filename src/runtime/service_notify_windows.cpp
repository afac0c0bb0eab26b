// The service control manager hears how the service is doing through the
// service host (service_host_windows.cpp): ready is SERVICE_RUNNING, stopping
// the next checkpoint of SERVICE_STOP_PENDING. The manager has no status line
// and no watchdog; started from a console, nothing listens at all.
#include "runtime/service_notify.h"

#include "runtime/service_control_windows.h"

namespace ligamor {

ServiceNotifier::ServiceNotifier() = default;

void ServiceNotifier::Send(const std::string& state)
{
    if (!detail::HostedByServiceManager()) return;
    if (state == "READY=1") detail::ReportServiceRunning();
    else if (state == "STOPPING=1") detail::ReportServiceStopping();
}

}  // namespace ligamor
