#pragma once
// Activation and the timed integration cycle.
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "config/settings.h"
#include "engine/cycle_progress.h"
#include "engine/health.h"
#include "db/dtmmain.h"
#include "engine/input_file_table.h"
#include "engine/log_view.h"
#include "runtime/clock.h"
#include "runtime/failures.h"
#include "runtime/instance_lock.h"
#include "runtime/messages.h"
#include "runtime/text_file.h"
#include "runtime/timer.h"

namespace ligamor {

// An input file that this cycle read to its end, as it was when opened.
struct ReadInputFile {
    std::size_t row;  // index into the input file table
    std::string path;
    FileIdentity identity;
    // The name chosen for it when lines of it were set aside (their reasons
    // name it); empty: stamped when it moves.
    std::string target{};
};
using ReadInputFiles = std::vector<ReadInputFile>;

// What the cycle keeps between cycles about the folder of refused lines.
struct SetAsideState {
    // The set-aside lines are tried again at the next cycle: the first one of
    // a run, and after a cycle that read lines (what they wait for may have come).
    bool retryDue = true;
    // The folder's files as this integration last wrote or read them: a
    // technician's edit shows as a change, and the lines are tried again.
    std::array<FileIdentity, 4> seen{};
};

// Everything activation and the cycle act on; created once by the front end.
struct Integration {
    SystemSettings& settings;
    DataModule& dtmain;
    Messages& messages;
    Timer& timer;
    const Clock& clock;
    RegionalSettings regional;
    std::string settingsFile;  // ConfigLigamor.csi beside the executable, or the one named at start
    InputFileTable table;
    // A file changed more recently than this is still being written: left for
    // the next cycle.
    std::chrono::milliseconds quietTime{2000};
    // Told between lines; none: the cycle runs through without asking.
    CycleProgress* progress = nullptr;
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
    // Why the last connection of activation failed; the window shows only its
    // box, a front end without a person reports the reason too.
    std::string connectionFailure{};
    // What the health state is worked out from (integration_health.h), and
    // what the status file last said.
    HealthFacts health{};
    // Told each health that NoteHealth works out: the window's status bar
    // follows the status file, even while a box waits for someone.
    std::function<void(const Health&)> healthNoted{};
    // Why the last activation failed (UTF-8); empty once one succeeded. A
    // timer that runs on after it still runs on what the failure left (a
    // closed connection, the old folders), so a cycle that meets no file
    // does not make the integration healthy again.
    std::string activationFailure{};
    // Holds the boxes of a line on trial (RECUSADAS=SEPARAR): the gate the
    // record processors' context shows its boxes through. None: never held.
    MessageGate* recordMessages = nullptr;
    SetAsideState setAside{};
    std::string statusWritten{};
    long long statusWrittenCycleNs = 0;
};

// Another integration holds the send directory: activation showed the
// information box, stopped the timer and ends with this.
struct IntegrationAlreadyRunning : SilentAbort {};

// The lock file in the send directory; no input file can bear its name.
inline constexpr const char* kSendDirectoryLockName = ".ligamor.lock";

// "A integração já está em execução ..." for the send directory, Windows-1252.
std::string AlreadyRunningMessage(const std::string& sendDirectory);

// Activation and the cycle note in health how they ended (polling on or off,
// the end of a cycle, a failure's text) and write the status file on a change.

// Reads the settings, reconnects, makes the three directories and starts the
// timer with the polling interval. No settings file: the not-configured box
// and the timer stopped. A failed connection: the error box "Erro ao Conectar
// em Banco de Dados." and SilentAbort, the timer left as it was. A send
// directory that another integration holds: the information box, the timer
// stopped and IntegrationAlreadyRunning; that is tested before connecting
// when the directory exists, so the second one never touches the database.
void ActivateIntegration(Integration& integration);

// One tick: timer stopped, pending files read, the files read moved, timer
// restarted, view refilled. A failure leaves the timer stopped, moves nothing,
// leaves the view alone and propagates. Called while a cycle runs, it does
// nothing.
void RunIntegrationCycle(Integration& integration, LogView& rce);

// The polling interval: leading blanks, an optional sign, decimal digits,
// within 32 bits; anything else raises InvalidInteger(text).
std::int32_t ConvertInterval(const std::string& text);

// The path of an input file: directory followed by name, or, when no file has
// exactly that name, the first (in byte order) whose name differs only in
// letter case. False when there is none.
bool FindInputFile(const std::string& directory, const std::string& name, std::string& path);

// Hands every line of the file to the processor, then appends the collected
// log texts as one block. True when at least one line was read. identity is
// the file as it was opened. With a progress hook, the lines are counted
// first, the hook hears of each line as fileName, and a stop it asks for ends
// the file with SilentAbort before its block is written. With oneTransaction,
// every line runs in one transaction on that connection, committed after the
// last line and before the block is written; any failure rolls it all back.
// With setAside, lines that it sets aside are neither applied nor logged; in
// one transaction, each line is tried behind a savepoint, so that a refused
// line is undone alone.
class SetAsideFile;
bool ProcessInputFile(const std::string& path, const RecordProcessor& processor, const std::string& logDirectory,
                      FileIdentity& identity, CycleProgress* progress = nullptr, const std::string& fileName = {},
                      Connection* oneTransaction = nullptr, SetAsideFile* setAside = nullptr);

// With RECUSADAS=SEPARAR, the set-aside lines are tried again first when due,
// and refused lines are set aside instead of stopping the cycle.
// Every input file present when its turn comes, quiet for quietTime and not
// held open for writing by another program, in table order; each in one
// transaction of its own when the settings say TRANSACAO=ARQUIVO. True when at
// least one line was read; read lists the files read. A file applied by an
// earlier cycle that could not move it, and unchanged since, is listed
// without being read again (and counts as read).
bool ProcessPendingFiles(Integration& integration, ReadInputFiles& read);

// Moves each file of read that is still the very file that was read into the
// response directory as prefix + stamp + ".TXT" (a taken name gets "_2",
// "_3", ... before ".TXT"), never over an existing file. A file changed since
// it was read stays, to be read again. A file that cannot be moved raises an
// IoFailure naming it and the reason, once the others were moved, and is
// kept in appliedNotMoved and in the send directory's record of them.
void MoveProcessedFiles(Integration& integration, const ReadInputFiles& read);

}  // namespace ligamor
