#pragma once
// The integration: the parts activation and the cycle act on, created once by
// the front end, and what they keep between calls.
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

#include "config/settings.h"
#include "db/dtmmain.h"
#include "engine/cycle_progress.h"
#include "engine/cycle_state.h"
#include "engine/health.h"
#include "engine/input_file_table.h"
#include "engine/set_aside_state.h"
#include "runtime/clock.h"
#include "runtime/messages.h"
#include "runtime/timer.h"

namespace ligamor {

struct RecordContext;

// Measured (bench_file_transaction --block): the engine's compile of a block
// costs more per statement the longer the block, so that on the embedded
// engine 16 to 50 lines do best and 200 a third worse; on a server, fewer
// than 25 lines pay for their round trips. An update takes two of the
// engine's 256 contexts of a request: 50 stays far below.
inline constexpr std::size_t kLinesPerBlock = 50;

// Built once for every front end by IntegrationParts (integration_parts.h).
struct Integration {
    SystemSettings& settings;
    DataModule& dtmain;
    Messages& messages;
    Timer& timer;
    const Clock& clock;
    // The regional settings in effect: given at start as the account's,
    // then at each activation the settings file's date rule (ShopDateRule).
    RegionalSettings regional;
    std::string settingsFile;  // ConfigLigamor.csi beside the executable, or the one named at start
    InputFileTable table;
    // A file changed more recently than this is still being written: left for
    // the next cycle.
    std::chrono::milliseconds quietTime{2000};
    // Told between lines; none: the cycle runs through without asking.
    CycleProgress* progress = nullptr;
    // Holds the boxes of a cycle until the health is noted, and those of a
    // line on trial (RECUSADAS=SEPARAR): the gate the record processors'
    // context shows its boxes through. None: never held.
    MessageGate* recordMessages = nullptr;
    // The record processors' context, which activation gives the date rule
    // too. None: its regional settings stay as they were made.
    RecordContext* records = nullptr;
    // The regional settings of the account that runs this program, as given
    // at start: what a settings file without a readable FORMATO_DATA gets.
    RegionalSettings accountRegional = regional;
    // Told each health that NoteHealth works out: the window's status bar
    // follows the status file, even while a box waits for someone.
    std::function<void(const Health&)> healthNoted{};
    // In a file's transaction (TRANSACAO=ARQUIVO), the lines whose statements
    // run together in one block; 0: each line's statements run alone, as
    // they do per line (what the benchmarks compare against).
    std::size_t linesPerBlock = kLinesPerBlock;
    // What the status file says holds the send directory.
    HolderKind holderKind = HolderKind::Janela;
    // Another integration holds the send directory: the window watches it
    // instead of saying so in a box and as its own failure.
    bool watchesAnotherHolder = false;
    CycleState state{};
    SetAsideState setAside{};
};

}  // namespace ligamor
