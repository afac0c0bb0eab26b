#pragma once
// The side of the integration that holds the send directory: it says who it
// is, publishes how far its cycle got, and follows what the windows beside it
// ask (control_request.h).
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

#include "engine/control_request.h"
#include "engine/cycle_progress.h"
#include "engine/integration.h"

namespace ligamor {

// The send directory was just locked: the status file says from now on who
// holds it.
void NoteHolder(Integration& integration);

// Acts on the newest request addressed to this holder, once: reading off
// after the current line, or on again; the health says who switched it off.
// The action acted on; none when no new request came.
std::optional<ControlAction> TakeControlRequests(Integration& integration);

// What the cycle tells between lines, as the holder hears it: the front end's
// own hook first; then, at most twice a second, the progress into the status
// file and the requests read. A "&Desativar" ends the cycle after the line.
class HolderProgress : public CycleProgress {
public:
    HolderProgress(Integration& integration, CycleProgress& frontEnd) : integration_(integration), frontEnd_(frontEnd) {}

    void LineApplied(const std::string& fileName, std::size_t done, std::size_t total) override;
    bool StopRequested() override;

private:
    Integration& integration_;
    CycleProgress& frontEnd_;
    std::chrono::steady_clock::time_point nextNote_{};
};

}  // namespace ligamor
