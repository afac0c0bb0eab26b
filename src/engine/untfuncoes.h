#pragma once
// Activation and the timed integration cycle.
#include <cstdint>
#include <string>

#include "engine/integration.h"
#include "engine/log_view.h"
#include "runtime/failures.h"

namespace ligamor {

// Another integration holds the send directory: activation showed the
// information box, stopped the timer and ends with this.
struct IntegrationAlreadyRunning : SilentAbort {};

// The lock file in the send directory; no input file can bear its name.
inline constexpr const char* kSendDirectoryLockName = ".ligamor.lock";

// "A integração já está em execução ..." for the send directory, Windows-1252.
std::string AlreadyRunningMessage(const std::string& sendDirectory);

// Activation and the cycle note in the health how they ended (polling on or
// off, the end of a cycle, a failure's text) and write the status file on a
// change, before any box of theirs is shown.

// Reads the settings, takes their date rule, reconnects, makes the three
// directories and starts the timer with the polling interval. No settings
// file: the not-configured box and the timer stopped. A failed connection:
// the error box "Erro ao Conectar em Banco de Dados." and SilentAbort, the
// timer left as it was. A send directory that another integration holds: the
// information box, the timer stopped and IntegrationAlreadyRunning; that is
// tested before connecting when the directory exists, so the second one never
// touches the database.
void ActivateIntegration(Integration& integration);

// One tick: timer stopped, pending files read, the files read moved, timer
// restarted, view refilled. A failure leaves the timer stopped, moves nothing,
// leaves the view alone and propagates. Called while a cycle runs, it does
// nothing.
void RunIntegrationCycle(Integration& integration, LogView& rce);

// The polling interval: leading blanks, an optional sign, decimal digits,
// within 32 bits; anything else raises InvalidInteger(text).
std::int32_t ConvertInterval(const std::string& text);

}  // namespace ligamor
