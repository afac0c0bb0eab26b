#pragma once
// What activation and the cycle keep between one call and the next.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "config/date_format.h"
#include "engine/health.h"
#include "runtime/instance_lock.h"
#include "runtime/text_file.h"

namespace ligamor {

// An input file that this cycle read to its end, as it was when opened.
struct ReadInputFile {
    std::size_t row;  // index into the input file table
    std::string path;
    FileIdentity identity;
    // The name chosen for it when lines of it were set aside (their reasons
    // name it); empty: stamped when it moves.
    std::string target{};

    // The very file of that row and path, as it was when read.
    bool Is(std::size_t otherRow, const std::string& otherPath, const FileIdentity& now) const
    {
        return row == otherRow && path == otherPath && identity == now;
    }
};
using ReadInputFiles = std::vector<ReadInputFile>;

struct CycleState {
    // True while a cycle runs: a tick that arrives meanwhile (the window lets
    // its event loop run between lines) must not start a second one.
    bool cycling = false;
    // Files whose every line was applied but whose move failed. While they
    // stay unchanged, later cycles (after "&Ativar", the service's own
    // reactivation, or a restart: they are also recorded in the send
    // directory) only move them: their lines must not be applied twice.
    ReadInputFiles appliedNotMoved{};
    // Held on the send directory from activation on: one integration per
    // send directory, whichever front end runs it.
    InstanceLock sendDirectoryLock{};
    std::string holderOf{};  // the send directory that lock holds; empty: none
    // Why the last connection of activation failed; the window shows only its
    // box, a front end without a person reports the reason too.
    std::string connectionFailure{};
    // Why the last activation failed (UTF-8); empty once one succeeded. A
    // timer that runs on after it still runs on what the failure left (a
    // closed connection, the old folders), so a cycle that meets no file
    // does not make the integration healthy again.
    std::string activationFailure{};
    // Where the last activation that read the settings took the date order
    // from; none before one did.
    std::optional<DateRuleSource> dateRule{};
    // What the health state is worked out from (integration_health.h), and
    // what the status file last said.
    HealthFacts health{};
    std::string statusWritten{};
    long long statusWrittenCycleNs = 0;
    // What the status file last said, and whether a cycle's progress was
    // added to it since: the cycle's end must then write it again.
    HealthFacts statusFacts{};
    bool progressPublished = false;
    // A window's "&Desativar" (control_request.h): reading stays off, between
    // cycles and activations too, until a window's "&Ativar" or this front
    // end's own. The timer runs on meanwhile, so that the next request is read.
    bool pausedByRequest = false;
    long long lastRequestNs = 0;  // the request acted on last
};

}  // namespace ligamor
