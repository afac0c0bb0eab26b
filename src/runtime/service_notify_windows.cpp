// No service manager listens on Windows: the program runs in a console, from
// the task scheduler or a script, and the service control manager is not
// spoken to. Every notification does nothing.
#include "runtime/service_notify.h"

namespace ligamor {

ServiceNotifier::ServiceNotifier() = default;

void ServiceNotifier::Send(const std::string&) {}

}  // namespace ligamor
