#include "engine/set_aside.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

#include "engine/directories.h"
#include "engine/file_stamp.h"
#include "engine/integration_log.h"
#include "engine/line_keys.h"
#include "engine/line_trial.h"
#include "runtime/file_move.h"
#include "runtime/messages.h"

namespace ligamor {

namespace {

std::string BaseName(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

FileIdentity IdentityOf(const std::string& path)
{
    FileIdentity id{};
    if (!StatFile(path, id)) id = FileIdentity{};
    return id;
}

bool SameFile(const FileIdentity& a, const FileIdentity& b)
{
    return a.device == b.device && a.inode == b.inode;
}

// A recorded line of an input file, as the file it was set aside from (the
// same file, not only the same name) and its number and bytes there.
std::string RecordedKey(std::size_t row, const std::string& path, const FileIdentity& input, long long number,
                        const std::string& bytes)
{
    return std::to_string(row) + '\n' + std::to_string(input.device) + '\n' + std::to_string(input.inode) + '\n' +
           std::to_string(number) + '\n' + path + '\n' + bytes;
}

// "07/12/2026 15:30:12" as "20261207153012", so that entries compare by age.
std::string Sortable(const std::string& since)
{
    if (since.size() != 19) return "99999999999999";
    return since.substr(6, 4) + since.substr(3, 2) + since.substr(0, 2) + since.substr(11, 2) + since.substr(14, 2) +
           since.substr(17, 2);
}

}  // namespace

FileOnTrial::FileOnTrial(SetAsideCycle& cycle, std::size_t row, const std::string& path)
    : cycle_(cycle), row_(row), path_(path)
{
}

void FileOnTrial::BeginReading(const FileIdentity& opened)
{
    opened_ = opened;
}

void FileOnTrial::Claim(std::size_t number, const std::string& line, const std::string& reason)
{
    if (target_.empty()) target_ = cycle_.TargetFor(row_);
    SetAsideClaim claim;
    claim.row = row_;
    claim.path = path_;
    claim.input = opened_;
    claim.line = RefusedLine{line, BaseName(target_), static_cast<long long>(number), cycle_.Now(), reason};
    claims_.push_back(claim);
    const std::string own = KeysOfLine(row_, line).own;
    if (!own.empty()) cycle_.keys_.insert(own);
}

bool FileOnTrial::SetAsideBeforeTrial(std::size_t number, const std::string& line)
{
    if (cycle_.recorded_.count(RecordedKey(row_, path_, opened_, static_cast<long long>(number), line))) {
        const std::string own = KeysOfLine(row_, line).own;
        if (!own.empty()) cycle_.keys_.insert(own);
        return true;
    }
    if (const std::string blocker = cycle_.Blocker(line, row_); !blocker.empty()) {
        Claim(number, line, WaitingFor(blocker));
        return true;
    }
    return false;
}

bool FileOnTrial::WouldSetAsideBeforeTrial(std::size_t number, const std::string& line) const
{
    return cycle_.recorded_.count(RecordedKey(row_, path_, opened_, static_cast<long long>(number), line)) > 0 ||
           !cycle_.Blocker(line, row_).empty();
}

HeldMessages FileOnTrial::HoldBoxes()
{
    return HeldMessages(cycle_.integration_.recordMessages);
}

void FileOnTrial::SetAside(std::size_t number, const std::string& line, const std::string& reason)
{
    Claim(number, line, reason);
}

void FileOnTrial::FinishReading()
{
    cycle_.newClaims_.insert(cycle_.newClaims_.end(), std::make_move_iterator(claims_.begin()),
                             std::make_move_iterator(claims_.end()));
    claims_.clear();
}

SetAsideCycle::SetAsideCycle(Integration& integration)
    : integration_(integration), folder_(RefusedFolder(integration.settings.ResponseDirectory))
{
}

std::string SetAsideCycle::Now() const
{
    const DateTime t = integration_.clock.Now();
    return FormatDate(t, '/') + " " + FormatTime(t, ':');
}

std::string SetAsideCycle::TargetFor(std::size_t row) const
{
    const std::string base = integration_.settings.ResponseDirectory + integration_.table[row].movedPrefix +
                             FileStamp(integration_.clock, integration_.regional) + ".TXT";
    std::string target = base;
    for (int n = 2; FileExists(target); ++n) target = SuffixedName(base, n);
    return target;
}

std::string SetAsideCycle::Blocker(const std::string& line, std::size_t row) const
{
    const LineKeys keys = KeysOfLine(row, line);
    if (!keys.own.empty() && keys_.count(keys.own)) return keys.own;
    for (const std::string& need : keys.needs)
        if (keys_.count(need)) return need;
    return {};
}

void SetAsideCycle::AddToFolder(std::size_t row, const std::vector<RefusedLine>& lines)
{
    const std::string& name = integration_.table[row].fileName;
    ForceDirectoryPath(folder_);
    AddRefusedLines(folder_, name, lines);
    integration_.setAside.seen[row] = IdentityOf(folder_ + name);
}

void SetAsideCycle::Recover()
{
    const std::string& send = integration_.settings.SendDirectory;
    claims_ = LoadSetAsideClaims(send);
    const std::size_t recorded = claims_.size();
    // A file that moved, or was replaced by a new one of its name, has all
    // its lines applied or in the folder.
    std::erase_if(claims_, [](const SetAsideClaim& c) {
        FileIdentity now;
        return !StatFile(c.path, now) || !SameFile(now, c.input);
    });
    bool changed = claims_.size() != recorded;
    for (std::size_t row = 0; row < integration_.table.size(); ++row) {
        std::vector<SetAsideClaim*> pending;
        for (SetAsideClaim& c : claims_)
            if (c.row == row && !c.inFolder) pending.push_back(&c);
        if (pending.empty()) continue;
        // Written when the folder's file was replaced since and ends with them.
        const std::string& name = integration_.table[row].fileName;
        const FileIdentity now = IdentityOf(folder_ + name);
        bool written = false;
        if (!(now == FileIdentity{}) && !(now == pending.front()->folderBefore)) {
            std::vector<RefusedLine> inFolder = LoadRefusedLines(folder_, name);
            const auto tail = inFolder.end() - static_cast<long>(std::min(pending.size(), inFolder.size()));
            written = inFolder.size() >= pending.size() &&
                      std::equal(pending.begin(), pending.end(), tail,
                                 [](const SetAsideClaim* c, const RefusedLine& l) { return c->line.bytes == l.bytes; });
            // An earlier version wrote the lines before their reasons, and a
            // kill between left lines of no origin: the claims still know it.
            if (written && std::any_of(tail, inFolder.end(), [](const RefusedLine& l) { return l.since.empty(); })) {
                for (std::size_t i = 0; i < pending.size(); ++i)
                    if (tail[static_cast<long>(i)].since.empty()) tail[static_cast<long>(i)] = pending[i]->line;
                SaveRefusedLines(folder_, name, inFolder);
            }
        }
        if (!written) {
            std::vector<RefusedLine> lines;
            for (const SetAsideClaim* c : pending) lines.push_back(c->line);
            AddToFolder(row, lines);
        }
        for (SetAsideClaim* c : pending) c->inFolder = true;
        changed = true;
    }
    if (changed) SaveSetAsideClaims(send, claims_);
    // Looked up once per line of a file read again: thousands of refused
    // lines must not make that quadratic.
    recorded_.clear();
    for (const SetAsideClaim& c : claims_)
        recorded_.insert(RecordedKey(c.row, c.path, c.input, c.line.lineNumber, c.line.bytes));
}

// What the retry of one folder file leaves: the lines still set aside, the
// log texts of those that went in.
struct SetAsideCycle::RetriedFile {
    std::vector<RefusedLine> remaining;
    std::vector<std::string> texts;
    bool changed = false;
};

// The first cycle of a run, one after a cycle that read lines (what the lines
// wait for may have come), or a technician's edit of the folder.
bool SetAsideCycle::RetryDue()
{
    SetAsideState& state = integration_.setAside;
    bool due = std::exchange(state.retryDue, false);
    for (std::size_t row = 0; row < integration_.table.size(); ++row)
        if (!(IdentityOf(folder_ + integration_.table[row].fileName) == state.seen[row])) due = true;
    return due;
}

void SetAsideCycle::Retry()
{
    const bool due = RetryDue();
    keys_.clear();
    for (std::size_t row = 0; row < integration_.table.size(); ++row) RetryFile(row, due);
}

void SetAsideCycle::RetryFile(std::size_t row, bool due)
{
    bool staleReasons = false;
    std::vector<RefusedLine> lines = LoadRefusedLines(folder_, integration_.table[row].fileName, &staleReasons);
    RetriedFile file;
    // The reasons of lines a technician deleted go with them.
    file.changed = staleReasons;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        try {
            RetryLine(row, lines[i], due, file);
        } catch (...) {
            // Not the line's own failure: it and the lines after it stay as
            // they were, and what went in before it is written.
            file.remaining.insert(file.remaining.end(), lines.begin() + static_cast<long>(i), lines.end());
            SaveRetried(row, file);
            throw;
        }
    }
    SaveRetried(row, file);
    if (!file.changed) integration_.setAside.seen[row] = IdentityOf(folder_ + integration_.table[row].fileName);
}

// The line goes in, or stays set aside with the reason that holds now.
void SetAsideCycle::RetryLine(std::size_t row, RefusedLine& line, bool due, RetriedFile& file)
{
    std::string reason;
    if (const std::string blocker = Blocker(line.bytes, row); !blocker.empty()) {
        reason = WaitingFor(blocker);
    } else if (due) {
        // Before any file's transaction: nothing handed, each statement
        // commits on its own.
        HeldMessages boxes(integration_.recordMessages);
        LineTried tried = TryLine(boxes, integration_.table[row].processor, nullptr, line.bytes);
        if (tried.text) {
            file.texts.push_back(std::move(*tried.text));
            file.changed = true;
            return;
        }
        reason = tried.reason;
    } else {
        reason = line.reason;
    }
    if (reason != line.reason || line.since.empty()) file.changed = file.changed || due;
    line.reason = reason;
    if (line.since.empty()) line.since = Now();
    file.remaining.push_back(line);
    if (const std::string own = KeysOfLine(row, line.bytes).own; !own.empty()) keys_.insert(own);
}

void SetAsideCycle::SaveRetried(std::size_t row, const RetriedFile& file)
{
    if (!file.changed) return;
    // The log first: a crash before the folder is written tries the lines
    // again, which only stores them again; never the reverse.
    const std::string& name = integration_.table[row].fileName;
    AppendToIntegrationLog(integration_.settings.LogDirectory, file.texts);
    SaveRefusedLines(folder_, name, file.remaining);
    integration_.setAside.seen[row] = IdentityOf(folder_ + name);
}

void SetAsideCycle::KeepClaims()
{
    if (newClaims_.size() == keptClaims_) return;
    keptClaims_ = newClaims_.size();
    for (SetAsideClaim& c : newClaims_) c.folderBefore = IdentityOf(folder_ + integration_.table[c.row].fileName);
    std::vector<SetAsideClaim> all = claims_;
    all.insert(all.end(), newClaims_.begin(), newClaims_.end());
    SaveSetAsideClaims(integration_.settings.SendDirectory, all);
}

void SetAsideCycle::Finish()
{
    if (newClaims_.empty()) return;
    for (SetAsideClaim& c : newClaims_) c.folderBefore = IdentityOf(folder_ + integration_.table[c.row].fileName);
    const std::size_t first = claims_.size();
    claims_.insert(claims_.end(), std::make_move_iterator(newClaims_.begin()),
                   std::make_move_iterator(newClaims_.end()));
    newClaims_.clear();
    const std::string& send = integration_.settings.SendDirectory;
    SaveSetAsideClaims(send, claims_);
    for (std::size_t row = 0; row < integration_.table.size(); ++row) {
        std::vector<RefusedLine> lines;
        for (std::size_t i = first; i < claims_.size(); ++i)
            if (claims_[i].row == row) lines.push_back(claims_[i].line);
        if (!lines.empty()) AddToFolder(row, lines);
    }
    for (std::size_t i = first; i < claims_.size(); ++i) claims_[i].inFolder = true;
    SaveSetAsideClaims(send, claims_);
}

void ForgetMovedFiles(const std::string& sendDirectory, const ReadInputFiles& moved)
{
    if (moved.empty() || !FileExists(sendDirectory + kSetAsideClaimsName)) return;
    std::vector<SetAsideClaim> claims = LoadSetAsideClaims(sendDirectory);
    const std::size_t before = claims.size();
    std::erase_if(claims, [&](const SetAsideClaim& c) {
        return std::any_of(moved.begin(), moved.end(), [&](const ReadInputFile& f) {
            return f.row == c.row && f.path == c.path && SameFile(f.identity, c.input);
        });
    });
    if (claims.size() != before) SaveSetAsideClaims(sendDirectory, claims);
}

SetAsideSummary SummariseSetAside(const std::string& responseDirectory, const InputFileTable& table)
{
    SetAsideSummary summary;
    if (responseDirectory.empty()) return summary;
    const std::string folder = RefusedFolder(responseDirectory);
    std::string oldestKey;
    for (const InputFileRow& row : table) {
        for (const RefusedLine& line : LoadRefusedLines(folder, row.fileName)) {
            ++summary.lines;
            const std::string key = Sortable(line.since);
            if (summary.oldest.empty() || key < oldestKey) {
                oldestKey = key;
                summary.oldest = row.fileName + ": " + RefusedLineEntry(line);
            }
        }
    }
    return summary;
}

}  // namespace ligamor
