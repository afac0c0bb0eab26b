// Reading the pending input files and moving the ones that were read.
#include <algorithm>
#include <cctype>
#include <optional>

#include "db/file_transaction.h"
#include "engine/applied_not_moved.h"
#include "engine/file_stamp.h"
#include "engine/integration_log.h"
#include "engine/log_block.h"
#include "engine/set_aside.h"
#include "engine/input_files.h"
#include "engine/file_commit.h"
#include "engine/file_lines.h"
#include "engine/packed_lines.h"
#include "runtime/clock.h"
#include "runtime/failures.h"
#include "runtime/file_move.h"
#include "runtime/paths.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"

namespace ligamor {

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::toupper(x) == std::toupper(y);
           });
}

// A file changed within the quiet time may still be being written.
bool StillBeingWritten(const FileIdentity& id, std::chrono::milliseconds quietTime)
{
    const long long age = ElapsedNs(id.ctimeNs, WallClockNs());
    return age >= 0 && age < std::chrono::duration_cast<std::chrono::nanoseconds>(quietTime).count();
}

// The lines of a file that could not be moved are already in the database and
// in the log: the user must know it before polling runs again.
std::string MoveFailureMessage(const std::string& from, const MoveResult& failed)
{
    return Cp1252("Não foi possível mover o arquivo \"") + Cp1252FromLocal(from) + Cp1252("\" para \"") +
           Cp1252FromLocal(failed.movedTo) + "\": " + OsErrorReason(failed.osError) +
           Cp1252(". Código do erro: ") + std::to_string(failed.osError) +
           Cp1252(". As linhas do arquivo já foram integradas e não serão integradas de novo; a integração fica "
                  "parada até ser ativada de novo, e então o arquivo só será movido.");
}

// The file of this row that an earlier cycle (of this run or of an earlier
// one) applied whole but could not move, when it is still that very file.
const ReadInputFile* AppliedNotMoved(const ReadInputFiles& applied, std::size_t row, const std::string& path,
                                     const FileIdentity& now)
{
    for (const ReadInputFile& file : applied)
        if (file.Is(row, path, now)) return &file;
    return nullptr;
}

// The lines the reader will hand on, counted by the same rules.
std::size_t CountLines(const std::string& path)
{
    TextFileReader counter(path);
    std::size_t lines = 0;
    std::string line;
    while (counter.ReadLine(line)) ++lines;
    return lines;
}

// With a progress hook, the lines to come, counted by the same rules.
std::size_t StartProgress(const InputFileRun& run)
{
    if (!run.progress) return 0;
    const std::size_t total = CountLines(run.path);
    run.progress->LineApplied(run.fileName, 0, total);
    return total;
}

// The hook hears of each line read, and may ask for a stop: the file's
// block is then never written, and its transaction rolls back.
void TellProgress(const InputFileRun& run, std::size_t number, std::size_t total)
{
    if (!run.progress) return;
    run.progress->LineApplied(run.fileName, number, std::max(total, number));
    if (run.progress->StopRequested()) throw SilentAbort{};
}

}  // namespace

bool FindInputFile(const std::string& directory, const std::string& name, std::string& path)
{
    const std::string exact = directory + name;
    if (FileExists(exact)) {
        path = exact;
        return true;
    }
    // The directory value is a prefix: what stands after its last separator
    // is part of the file's name.
    const std::size_t slash = exact.rfind(kPathSeparator);
    const std::string folder = slash == std::string::npos ? "." : exact.substr(0, slash + 1);
    const std::string wanted = slash == std::string::npos ? exact : exact.substr(slash + 1);
    std::vector<std::string> entries;
    if (!ListDirectory(folder, entries)) return false;
    std::vector<std::string> matches;
    for (const std::string& entry : entries)
        if (SameIgnoringCase(entry, wanted)) matches.push_back(entry);
    std::sort(matches.begin(), matches.end());
    const std::string prefix = slash == std::string::npos ? "" : folder;
    for (const std::string& match : matches) {
        if (FileExists(prefix + match)) {
            path = prefix + match;
            return true;
        }
    }
    return false;
}

bool ProcessInputFile(const InputFileRun& run, const LinePolicy& policy, FileIdentity& identity)
{
    LogBlock texts(run.logDirectory);
    TextFileReader reader(run.path);
    identity = reader.OpenedIdentity();
    const std::size_t total = StartProgress(run);
    FileOnTrial* setAside = policy.setAside;
    if (setAside) setAside->BeginReading(identity);
    // The one place a file's unit of work is picked: each statement committed
    // on its own, or the file's transaction, handed to the record processors
    // for the whole file (a block hands its own while it is gathered). Left
    // by a failure or a stop, the file's transaction rolls it back: the next
    // cycle reads the file again whole. Started at the first line, so that an
    // empty file asks no more of the database than it does per line.
    std::optional<FileTransaction> transaction;
    std::optional<FileTransactionWork> inTransaction;
    std::optional<HandedWork> handed;
    std::optional<FileLines> lines;
    std::optional<PackedLines> packed;
    const auto start = [&] {
        if (policy.fileTransaction) {
            transaction.emplace(*policy.fileTransaction);
            inTransaction.emplace(*transaction);
            if (policy.records) handed.emplace(*policy.records, *inTransaction);
        }
        lines.emplace(FileLines{run.processor, transaction ? &*transaction : nullptr, setAside, policy.boxes, texts,
                                run.applied, policy.journal, policy.resume ? &policy.resume->applied : nullptr});
        if (policy.journal) {
            policy.journal->Begin({run.row, run.path, identity, {}},
                                  policy.resume ? policy.resume->logSize : IntegrationLogSize(run.logDirectory),
                                  policy.resume != nullptr);
        }
        if (transaction && policy.linesPerBlock > 0 && policy.boxes && policy.records)
            packed.emplace(
                PackedFile{*lines, run.questions, run.row, *policy.boxes, policy.linesPerBlock, *policy.records});
    };
    std::size_t number = 0;
    std::string line;
    while (reader.ReadLine(line)) {
        ++number;
        if (!lines) start();
        if (packed) packed->Add(number, std::move(line));
        else RunLineAlone(*lines, number, line);
        TellProgress(run, number, total);
    }
    if (packed) packed->Finish();
    if (transaction && policy.commit) {
        const FileCommitPlace& place = *policy.commit;
        const ReadInputFile file{run.row, run.path, identity, setAside ? setAside->Target() : std::string()};
        CommitFile(*transaction, texts, file, place.sendDirectory, place.logDirectory, place.beforeDecision,
                   place.recordApplied);
    } else {
        if (transaction) transaction->Commit();
        texts.AppendToLog();
    }
    if (setAside) setAside->FinishReading();
    return number > 0;
}

namespace {

// One pending file of the table's row, by the settings' line policy. The lines
// applied are counted once the file's block is in the log: a line refused,
// set aside or rolled back with its file is no line applied.
bool ReadPendingFile(Integration& integration, std::size_t row, const std::string& path, FileOnTrial* setAside,
                     SetAsideCycle* cycle, const std::function<void(const ReadInputFile&)>& recordApplied,
                     const LineJournalRecord* resume, FileIdentity& opened)
{
    const InputFileRow& entry = integration.table[row];
    const SystemSettings& settings = integration.settings;
    // A file a killed run began line by line is finished line by line.
    const bool perFile = settings.Transaction == TransactionMode::Arquivo && !resume;
    LineJournal journal(settings.SendDirectory);
    const FileCommitPlace commit{settings.SendDirectory, settings.LogDirectory,
                                 [setAside, cycle] {
                                     if (!setAside) return;
                                     setAside->FinishReading();
                                     cycle->KeepClaims();
                                 },
                                 recordApplied};
    const LinePolicy policy{perFile ? &integration.dtmain.conmain : nullptr,
                            setAside,
                            integration.linesPerBlock,
                            integration.recordMessages,
                            entry.records,
                            perFile ? &commit : nullptr,
                            perFile ? nullptr : &journal,
                            resume};
    long long applied = 0;
    const bool any = ProcessInputFile({path, entry.processor, settings.LogDirectory, integration.progress,
                                       entry.fileName, row, &entry.questions, &applied},
                                      policy, opened);
    integration.state.health.linesApplied += applied;
    return any;
}

}  // namespace

namespace {

// What a run killed in the middle of a per-line file left: the file recorded
// as applied already (its journal only remains), the file still there and
// unchanged (the log cut back to before its block; its reading then skips the
// lines the journal names), or the file gone or changed (its lines' texts go
// to the log now).
std::optional<LineJournalRecord> ResumeLineJournal(Integration& integration)
{
    const std::string& send = integration.settings.SendDirectory;
    std::optional<LineJournalRecord> journal = LoadLineJournal(send);
    if (!journal) {
        RemoveLineJournal(send);  // none, or one whose very header a kill cut
        return std::nullopt;
    }
    const ReadInputFile& file = journal->file;
    for (const ReadInputFile& done : LoadAppliedNotMoved(send))
        if (done.Is(file.row, file.path, file.identity)) {
            RemoveLineJournal(send);
            return std::nullopt;
        }
    const std::string log = IntegrationLogPath(integration.settings.LogDirectory);
    CutFileTo(log, journal->logSize);
    FileIdentity now;
    if (StatFile(file.path, now) && now == file.identity) return journal;
    std::vector<std::string> texts;
    for (const auto& [number, text] : journal->applied) texts.push_back(text);
    AppendToIntegrationLog(integration.settings.LogDirectory, texts);
    RemoveLineJournal(send);
    return std::nullopt;
}

}  // namespace

void FinishInterruptedCycle(Integration& integration)
{
    const std::string done = FinishInterruptedCommit(integration.dtmain.conmain, integration.settings.SendDirectory,
                                                     integration.settings.LogDirectory);
    if (!done.empty()) integration.messages.PlainMessage(Cp1252("retomando o ciclo interrompido: " + done + "."));
}

bool ProcessPendingFiles(Integration& integration, ReadInputFiles& read)
{
    FinishInterruptedCycle(integration);
    const std::optional<LineJournalRecord> resume = ResumeLineJournal(integration);
    bool result = false;
    std::optional<SetAsideCycle> setAside;
    if (integration.settings.RefusedLines == RefusedLinesMode::Separar) {
        setAside.emplace(integration);
        setAside->Recover();
        setAside->Retry();
    }
    ReadInputFiles notMoved = integration.state.appliedNotMoved;
    ReadInputFiles recordedBefore = LoadAppliedNotMoved(integration.settings.SendDirectory);
    // A file that moved (the process killed before its record went) or that
    // the point of sale replaced is no longer one to move.
    const std::size_t count = recordedBefore.size();
    std::erase_if(recordedBefore, [](const ReadInputFile& file) {
        FileIdentity now;
        return !StatFile(file.path, now) || !(now == file.identity);
    });
    if (recordedBefore.size() != count) SaveAppliedNotMoved(integration.settings.SendDirectory, recordedBefore);
    for (const ReadInputFile& file : recordedBefore) notMoved.push_back(file);
    ReadInputFiles applied;  // as recorded in the send directory
    for (std::size_t row = 0; row < integration.table.size(); ++row) {
        const InputFileRow& entry = integration.table[row];
        std::string path;
        if (!FindInputFile(integration.settings.SendDirectory, entry.fileName, path)) continue;
        FileIdentity now;
        // A file still being written, or still held open for writing (Windows
        // would refuse to open it), is left for a later cycle: reading it now
        // would fail the cycle or apply half of it.
        if (!StatFile(path, now)) continue;
        if (const ReadInputFile* earlier = AppliedNotMoved(notMoved, row, path, now)) {
            read.push_back(*earlier);
            applied.push_back(*earlier);
            result = true;
            continue;
        }
        if (StillBeingWritten(now, integration.quietTime) || HeldOpenForWriting(path)) continue;
        std::optional<FileOnTrial> lines;
        if (setAside) lines.emplace(*setAside, row, path);
        // Applied whole: recorded at once, its set-aside lines first, so that
        // neither a failure later in the cycle nor a kill before the move
        // makes a later cycle apply it again. Files an earlier run recorded
        // and this cycle has not reached keep their record.
        bool recordedNow = false;
        const auto record = [&](const ReadInputFile& file) {
            ReadInputFiles recorded = applied;
            recorded.push_back(file);
            for (const ReadInputFile& later : notMoved)
                if (later.row > row) recorded.push_back(later);
            SaveAppliedNotMoved(integration.settings.SendDirectory, recorded);
            recordedNow = true;
        };
        FileIdentity opened;
        const LineJournalRecord* resumed =
            resume && resume->file.Is(row, path, now)
                ? &*resume
                : nullptr;
        const bool any = ReadPendingFile(integration, row, path, lines ? &*lines : nullptr,
                                         setAside ? &*setAside : nullptr, record, resumed, opened);
        read.push_back({row, path, opened, lines ? lines->Target() : std::string()});
        if (!any) continue;
        result = true;
        if (!recordedNow) {
            if (setAside) setAside->KeepClaims();
            record(read.back());
        }
        RemoveLineJournal(integration.settings.SendDirectory);
        applied.push_back(read.back());
    }
    if (setAside) setAside->Finish();
    return result;
}

void MoveProcessedFiles(Integration& integration, const ReadInputFiles& read)
{
    integration.state.appliedNotMoved.clear();
    ReadInputFiles movedFiles;
    std::string failures;
    int firstCode = 0;
    for (const ReadInputFile& file : read) {
        // Lines written after the file was opened would be lost with a move:
        // such a file stays and is read again, whole, next cycle.
        FileIdentity now;
        if (!StatFile(file.path, now) || !(now == file.identity)) continue;
        const std::string target = !file.target.empty()
                                       ? file.target
                                       : integration.settings.ResponseDirectory +
                                             integration.table[file.row].movedPrefix +
                                             FileStamp(integration.clock, integration.regional) + ".TXT";
        const MoveResult moved = MoveFileNoReplace(file.path, target);
        if (moved.osError == 0) {
            movedFiles.push_back(file);
            continue;
        }
        // A file left in place would be applied again at every tick: the
        // cycle fails, after the other files had their chance to move.
        if (!failures.empty()) failures += "\r\n";
        else firstCode = OsErrorCode(moved.osError);
        failures += MoveFailureMessage(file.path, moved);
        integration.state.appliedNotMoved.push_back(file);
    }
    // Remembered in memory first: a record that cannot be written still keeps
    // this run from applying the file again.
    try {
        SaveAppliedNotMoved(integration.settings.SendDirectory, integration.state.appliedNotMoved);
        ForgetMovedFiles(integration.settings.SendDirectory, movedFiles);
    } catch (const IoFailure& f) {
        if (failures.empty()) throw;
        failures += "\r\n" + f.Message();
    }
    if (!failures.empty()) throw IoFailure(firstCode, failures);
}

}  // namespace ligamor
