#pragma once
// Where the window-less front end runs: under the platform's service manager
// when that manager started the process, otherwise as a plain program in a
// console, a script or a container.
#include <functional>
#include <string>

namespace ligamor {

// Runs body and gives its exit status. On Windows, when the service control
// manager started the process, body runs as the service serviceName: the
// manager hears of its start, its stop requests reach the service's stop
// events, and body's exit status is reported with the stopped state.
// Elsewhere (Linux, where systemd needs nothing of the sort, or a Windows
// console) body simply runs.
int RunHosted(const std::string& serviceName, const std::function<int()>& body);

}  // namespace ligamor
