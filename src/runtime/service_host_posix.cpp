// systemd starts the service as a plain process: it hears of its start and
// stop through service_notify_posix.cpp and stops it with SIGTERM.
#include "runtime/service_host.h"

namespace ligamor {

int RunHosted(const std::string&, const std::function<int()>& body)
{
    return body();
}

}  // namespace ligamor
