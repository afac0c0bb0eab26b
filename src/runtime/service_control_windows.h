#pragma once
// What the Windows service host shares with the stop events and the
// notifier: whether the service control manager runs the process, the states
// reported to it, and the stop request its controls feed.
namespace ligamor::detail {

// True from the moment the service control manager handed the process its
// service thread.
bool HostedByServiceManager();

// The service waits for its timer or a stop request: SERVICE_RUNNING,
// accepting stop, shutdown and preshutdown.
void ReportServiceRunning();
// The integration has stopped between two lines and is letting go of the
// database and the send directory: the next checkpoint of SERVICE_STOP_PENDING.
void ReportServiceStopping();

// Asks the service to stop between two lines, as Ctrl+C does in a console.
void RequestStop();

}  // namespace ligamor::detail
