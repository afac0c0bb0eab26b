#include "engine/file_commit.h"

#include <algorithm>
#include <exception>

#include "db/limbo.h"
#include "engine/applied_not_moved.h"
#include "engine/integration_log.h"
#include "engine/record_file.h"
#include "engine/record_kinds.h"
#include "runtime/text_file.h"

namespace ligamor {

namespace {

std::string JournalPath(const std::string& sendDirectory)
{
    return sendDirectory + kFileCommitName;
}

std::string BaseName(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::optional<FileCommitRecord> LoadFileCommit(const std::string& sendDirectory)
{
    const std::string path = JournalPath(sendDirectory);
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return std::nullopt;
    std::optional<FileCommitRecord> record;
    ParseRecordFile(bytes, path, kFileCommitName, 0, [&record](RecordFields& fields) {
        if (record) throw BadField{"mais de um registro"};
        FileCommitRecord r;
        r.transaction = fields.Signed(1);
        r.logSize = fields.Unsigned();
        r.decided = fields.Flag();
        ReadInputFile& file = r.file;
        file.row = fields.Unsigned(kRecordKindCount - 1);
        file.identity.device = fields.Unsigned();
        file.identity.inode = fields.Unsigned();
        file.identity.size = fields.Signed(0);
        file.identity.mtimeNs = fields.Signed();
        file.identity.ctimeNs = fields.Signed();
        file.path = fields.Text();
        file.target = fields.Text();
        record = r;
    });
    return record;
}

void SaveFileCommit(const std::string& sendDirectory, const FileCommitRecord& r)
{
    RecordFileWriter writer(kFileCommitName);
    const FileIdentity& id = r.file.identity;
    writer.Signed(r.transaction).Unsigned(r.logSize).Flag(r.decided).Unsigned(r.file.row);
    writer.Unsigned(id.device).Unsigned(id.inode).Signed(id.size).Signed(id.mtimeNs).Signed(id.ctimeNs);
    writer.Text(r.file.path).Text(r.file.target).EndRecord();
    SaveRecordFile(JournalPath(sendDirectory), writer);
}

void CommitFile(FileTransaction& transaction, LogBlock& block, const ReadInputFile& file,
                const std::string& sendDirectory, const std::string& logDirectory,
                const std::function<void()>& beforeDecision,
                const std::function<void(const ReadInputFile&)>& recordApplied)
{
    FileCommitRecord record{file, transaction.Number(), IntegrationLogSize(logDirectory), false};
    SaveFileCommit(sendDirectory, record);
    transaction.Prepare();
    block.AppendToLog();
    beforeDecision();
    record.decided = true;
    std::exception_ptr failed;
    try {
        SaveFileCommit(sendDirectory, record);
    } catch (...) {
        // The record may have been written before the failure (a directory
        // that would not flush after the rename): what is on disk decides,
        // since that is what the next start will follow.
        failed = std::current_exception();
        std::optional<FileCommitRecord> onDisk;
        try {
            onDisk = LoadFileCommit(sendDirectory);
        } catch (...) {
        }
        if (!onDisk || !onDisk->decided || onDisk->transaction != record.transaction) throw;
    }
    // Decided: a failure of the commit leaves the transaction in limbo for
    // the next start to commit, never rolled back.
    transaction.CommitDecided();
    recordApplied(file);
    RemoveFileIfPresent(JournalPath(sendDirectory));
    if (failed) std::rethrow_exception(failed);
}

std::string FinishInterruptedCommit(Connection& connection, const std::string& sendDirectory,
                                    const std::string& logDirectory)
{
    const std::optional<FileCommitRecord> record = LoadFileCommit(sendDirectory);
    if (!record) return {};
    const std::vector<long long> limbo = LimboTransactions(connection);
    const bool waiting = std::find(limbo.begin(), limbo.end(), record->transaction) != limbo.end();
    if (waiting) EndLimboTransaction(connection, record->transaction, record->decided);
    std::string outcome;
    if (record->decided) {
        ReadInputFiles applied = LoadAppliedNotMoved(sendDirectory);
        const ReadInputFile& file = record->file;
        const bool known = std::any_of(applied.begin(), applied.end(),
                                       [&](const ReadInputFile& f) { return f.Is(file.row, file.path, file.identity); });
        if (!known) applied.push_back(record->file);
        SaveAppliedNotMoved(sendDirectory, applied);
        outcome = BaseName(record->file.path) + " aplicado por inteiro";
    } else {
        CutFileTo(IntegrationLogPath(logDirectory), record->logSize);
        outcome = BaseName(record->file.path) + " desfeito, a ser lido de novo";
    }
    RemoveFileIfPresent(JournalPath(sendDirectory));
    return outcome;
}

}  // namespace ligamor
