#pragma once
// Reading the pending input files and moving the ones that were read.
#include <cstddef>
#include <functional>
#include <string>

#include "db/dtmmain.h"
#include "engine/cycle_progress.h"
#include "engine/cycle_state.h"
#include "engine/input_file_table.h"
#include "engine/integration.h"
#include "engine/line_journal.h"
#include "engine/set_aside.h"
#include "runtime/text_file.h"
#include "transactions/record_context.h"

namespace ligamor {

// The path of an input file: directory followed by name, or, when no file has
// exactly that name, the first (in byte order) whose name differs only in
// letter case. False when there is none.
bool FindInputFile(const std::string& directory, const std::string& name, std::string& path);

// Where a file's two-phase commit keeps its journal, and what it records
// before its decision (the lines set aside) and after its commit (the file
// applied).
struct FileCommitPlace {
    std::string sendDirectory;
    std::string logDirectory;
    std::function<void()> beforeDecision;
    std::function<void(const ReadInputFile&)> recordApplied;
};

// What happens to one line of an input file: applied and committed on its own
// (no transaction), or inside the file's one transaction; and, when refused for
// its own data, either stopping the file (no set-aside) or set aside.
struct LinePolicy {
    Connection* fileTransaction = nullptr;  // TRANSACAO=ARQUIVO: the file's lines in one transaction on it
    FileOnTrial* setAside = nullptr;        // RECUSADAS=SEPARAR: refused lines set aside
    // In the file's transaction, the lines whose statements run together,
    // their boxes held on the gate while they are gathered. 0, or no gate:
    // each line's statements run alone.
    std::size_t linesPerBlock = 0;
    MessageGate* boxes = nullptr;
    // The processors' context, handed the file's unit of work; none: their
    // statements commit each on its own.
    RecordContext* records = nullptr;
    // In the file's transaction: its commit in two phases (file_commit.h);
    // none: a plain commit, then the log block.
    const FileCommitPlace* commit = nullptr;
    // Per line: where each line applied is written at once (line_journal.h),
    // and what a killed run's journal says of this very file.
    LineJournal* journal = nullptr;
    const LineJournalRecord* resume = nullptr;
};

// One input file to read: where, by which processor, and whom to tell.
struct InputFileRun {
    const std::string& path;
    const RecordProcessor& processor;
    const std::string& logDirectory;
    CycleProgress* progress = nullptr;
    std::string fileName{};  // as the progress hook hears of it
    std::size_t row = 0;     // the record kind's row: what its lines' records are
    const BlockQuestions* questions = nullptr;  // asked for a block of lines at once
    long long* applied = nullptr;  // counts the lines that went in (logged)
};

// Hands every line of the file to the processor, then appends the lines' log
// texts as one block (spooled beside the log meanwhile). True when at least
// one line was read. identity is the file as it was opened. With a progress
// hook, the lines are counted first, the hook hears of each line, and a stop
// it asks for ends the file with SilentAbort before its block is written.
// With a file transaction, every line runs in it, committed after the last
// line and before the block is written; any failure rolls it all back; with
// linesPerBlock, the lines' statements run a block at a time (packed_lines.h).
// Setting aside, lines set aside are neither applied nor logged; in one
// transaction, each line tried alone is tried behind a savepoint, so that a
// refused line is undone alone.
bool ProcessInputFile(const InputFileRun& run, const LinePolicy& policy, FileIdentity& identity);

// Finishes what a killed file commit left (file_commit.h), first thing at a
// start and before every cycle, and says so once.
void FinishInterruptedCycle(Integration& integration);

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
