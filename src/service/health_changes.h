#pragma once
// The service tells its manager of each change of the integration's health
// state, once, not on every cycle: on Windows, where the manager has no
// status line, that is one event in the Application log (normal as
// information, late as a warning, failing or stopped as an error).
#include <cstddef>
#include <optional>

#include "engine/health.h"
#include "runtime/service_notify.h"

namespace ligamor {

class HealthChanges {
public:
    explicit HealthChanges(ServiceNotifier& notifier) : notifier_(notifier) {}

    // errorsWritten: the error messages the service has written so far. A
    // change into a failure that one of them has just told is not told again.
    void Note(const Health& health, std::size_t errorsWritten);

private:
    ServiceNotifier& notifier_;
    std::optional<HealthState> told_;
    std::size_t errorsSeen_ = 0;
};

}  // namespace ligamor
