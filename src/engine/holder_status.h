#pragma once
// The state of the integration that holds a send directory, as anyone beside
// it tells it: `--status` from a monitoring agent, and a window that watches
// the service's integration. One reading, so that the window never shows
// what --status would not.
#include <optional>
#include <string>

#include "config/settings.h"
#include "engine/health.h"

namespace ligamor {

struct HolderStatus {
    // Someone holds the send directory.
    bool running = false;
    // Its health, when the status file could tell it.
    std::optional<Health> health{};
    // The exit status of --status (kStatus...), and its one line, UTF-8.
    int code = kStatusUnknown;
    std::string line{};
    // Without a health: "nenhuma" (none runs) or "desconhecido".
    const char* state = "desconhecido";
};

// From the settings as read: the send directory's lock, the status file in
// the log directory and the input files that wait.
HolderStatus ReadHolderStatus(const SystemSettings& settings);

// Who integrates, for the window that watches it: "Integração do serviço
// (usuário ligamor em loja, processo 812) há 3 min."
std::string HolderText(const HealthFacts& facts, long long nowNs);

}  // namespace ligamor
