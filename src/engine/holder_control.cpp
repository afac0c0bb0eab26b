#include "engine/holder_control.h"

#include "engine/control_request.h"
#include "engine/integration_health.h"
#include "runtime/clock.h"
#include "runtime/process_identity.h"

namespace ligamor {

namespace {

// Fresh enough for a window that reads the status file as often: what it
// shows is at most a second old.
constexpr std::chrono::milliseconds kNotePeriod{500};

}  // namespace

void NoteHolder(Integration& integration)
{
    const ProcessIdentity me = ThisProcess();
    HealthFacts& facts = integration.state.health;
    facts.holder = integration.holderKind;
    facts.holderUser = me.user;
    facts.holderComputer = me.computer;
    facts.holderPid = me.pid;
    facts.holderSinceNs = WallClockNs();
    // Requests made for an earlier holder are never this one's.
    integration.state.pausedByRequest = false;
    integration.state.statusWritten.clear();
}

std::optional<ControlAction> TakeControlRequests(Integration& integration)
{
    CycleState& state = integration.state;
    if (!state.sendDirectoryLock.Holds()) return std::nullopt;
    HealthFacts& facts = state.health;
    const std::optional<ControlRequest> request =
        NewestControlRequest(integration.settings.SendDirectory, integration.settingsFile, facts.holderPid,
                             facts.holderSinceNs, state.lastRequestNs);
    if (!request) return std::nullopt;
    state.lastRequestNs = request->madeNs;
    const bool pause = request->action == ControlAction::Desativar;
    state.pausedByRequest = pause;
    if (pause) {
        facts.polling = false;
        facts.switchedOff = PollingOff::Desativar;
        facts.pausedBy = RequesterText(request->user, request->computer);
    } else {
        facts.polling = facts.intervalMs > 0;
        facts.switchedOff = PollingOff::None;
        facts.pausedBy.clear();
    }
    NoteHealth(integration);
    return request->action;
}

void HolderProgress::LineApplied(const std::string& fileName, std::size_t done, std::size_t total)
{
    frontEnd_.LineApplied(fileName, done, total);
    const auto now = std::chrono::steady_clock::now();
    if (done != 0 && now < nextNote_) return;
    nextNote_ = now + kNotePeriod;
    TakeControlRequests(integration_);
    NoteProgress(integration_, fileName, done, total);
}

bool HolderProgress::StopRequested()
{
    return integration_.state.pausedByRequest || frontEnd_.StopRequested();
}

}  // namespace ligamor
