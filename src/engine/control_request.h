#pragma once
// A window's request to the integration that holds the send directory:
// reading off after the current line ("&Desativar"), or on again ("&Ativar").
//
// It is a small file of ours, replaced whole, in the two places where only
// those who may steer the integration can write: the send directory (whoever
// may put files there) and the settings file's folder (on Linux the group
// ligamor, on Windows that folder's access list). The operating system's
// access checks are the only gate: nothing listens, on the network or
// anywhere else, and the holder never needs a right it does not have (the
// service's folder of settings is read-only to it). The holder reads both
// places between lines and between cycles and acts on the newest request
// addressed to it; a request to an earlier holder is stale and stays unread.
#include <optional>
#include <string>

#include "runtime/failures.h"

namespace ligamor {

enum class ControlAction { Desativar, Ativar };

struct ControlRequest {
    ControlAction action = ControlAction::Desativar;
    std::string user;      // who asked, UTF-8
    std::string computer;  // from where
    long long requesterPid = 0;
    // The holder it is for, as its status file names it.
    long long holderPid = 0;
    long long holderSinceNs = 0;
    // When it was made (wall clock): the newest of the two places wins, and
    // the holder acts on each once.
    long long madeNs = 0;
    bool operator==(const ControlRequest&) const = default;
};

// Neither place could be written: who asked may not steer the integration.
// The message (Windows-1252) says so and names both places.
struct ControlRefused : Failure {
    using Failure::Failure;
};

// The request file in the send directory, and the one beside the settings file.
std::string SendDirectoryRequestPath(const std::string& sendDirectory);
std::string SettingsRequestPath(const std::string& settingsFile);

// The request's text and back; a text that is cut, damaged or of another
// version gives none.
std::string ControlRequestText(const ControlRequest& request);
std::optional<ControlRequest> ParseControlRequest(const std::string& text);

// Writes the request in the send directory, or where that is refused, beside
// the settings file. Raises ControlRefused when neither can be written.
void SendControlRequest(const std::string& sendDirectory, const std::string& settingsFile,
                        const ControlRequest& request);

// The newest request of either place for that holder made after afterNs; none.
std::optional<ControlRequest> NewestControlRequest(const std::string& sendDirectory, const std::string& settingsFile,
                                                   long long holderPid, long long holderSinceNs, long long afterNs);

}  // namespace ligamor
