#include "service/health_changes.h"

namespace ligamor {

namespace {

SystemLogLevel LevelOf(HealthState state)
{
    switch (state) {
    case HealthState::Normal: return SystemLogLevel::Information;
    case HealthState::Atrasada: return SystemLogLevel::Warning;
    case HealthState::Falha:
    case HealthState::Parada: break;
    }
    return SystemLogLevel::Error;
}

}  // namespace

void HealthChanges::Note(const Health& health, std::size_t errorsWritten)
{
    // The failed connection's box and reason, the cycle's error report: those
    // are in the log already, as errors. Failures that the service only tells
    // as information (no settings file, another integration on the send
    // directory) are not, and their change is written.
    const bool failureWritten = errorsWritten != errorsSeen_;
    errorsSeen_ = errorsWritten;
    if (told_ == health.state) return;
    told_ = health.state;
    if (health.state == HealthState::Falha && failureWritten) return;
    notifier_.HealthChanged(LevelOf(health.state), HealthLine(health));
}

}  // namespace ligamor
