#pragma once
// RECUSADAS=SEPARAR: a line refused for its own data, and every line that
// depends on it, goes to the folder of refused lines instead of stopping the
// cycle; the set-aside lines are tried again, in the file order, before new
// files. At every moment a line is in its input file (still to be moved), in
// that folder, or applied.
#include <cstddef>
#include <exception>
#include <set>
#include <unordered_set>
#include <string>
#include <vector>

#include "engine/cycle_state.h"
#include "engine/integration.h"
#include "engine/set_aside_claims.h"
#include "runtime/messages.h"

namespace ligamor {

class SetAsideCycle;

// The lines of one input file on trial, handed to ProcessInputFile.
class FileOnTrial {
public:
    FileOnTrial(SetAsideCycle& cycle, std::size_t row, const std::string& path);

    // The file, as opened, is read from its first line.
    void BeginReading(const FileIdentity& opened);
    // True when the line is set aside without being tried: it already was
    // (the file is being read again), or a record it needs is set aside.
    bool SetAsideBeforeTrial(std::size_t number, const std::string& line);
    // Whether SetAsideBeforeTrial would, as things stand; nothing is claimed.
    bool WouldSetAsideBeforeTrial(std::size_t number, const std::string& line) const;
    // For the trial of a line: its boxes wait until its outcome is known,
    // dropped when it is set aside, shown on every other path.
    HeldMessages HoldBoxes();
    // The line was refused for its own data, for this reason.
    void SetAside(std::size_t number, const std::string& line, const std::string& reason);
    // The file was read to its end: its set-aside lines join the cycle's.
    void FinishReading();
    // The name the file will be moved under when lines of it were set aside;
    // empty otherwise.
    const std::string& Target() const { return target_; }

private:
    void Claim(std::size_t number, const std::string& line, const std::string& reason);
    SetAsideCycle& cycle_;
    std::size_t row_;
    std::string path_;
    FileIdentity opened_;
    std::string target_;
    std::vector<SetAsideClaim> claims_;
};

// A cycle with RECUSADAS=SEPARAR: Recover, Retry, the input files each as a
// FileOnTrial, then Finish.
class SetAsideCycle {
public:
    explicit SetAsideCycle(Integration& integration);

    // Finishes what a crash left unwritten in the folder of refused lines and
    // forgets the records of files that have moved.
    void Recover();
    // Tries the set-aside lines again when due. A failure that is not a
    // line's own propagates, with the lines applied so far logged and out of
    // the folder.
    void Retry();

    // Records the claims of the files read so far, before a file is recorded
    // as applied: a crash after it finishes them at the next start.
    void KeepClaims();
    // Writes the lines set aside by this cycle's files to the folder: the
    // claims first, so that a crash at any point is finished at the next start.
    void Finish();

    // The name a file with lines set aside will be moved under.
    std::string TargetFor(std::size_t row) const;

private:
    friend class FileOnTrial;
    struct RetriedFile;
    bool RetryDue();
    void RetryFile(std::size_t row, bool due);
    void RetryLine(std::size_t row, RefusedLine& line, bool due, RetriedFile& file);
    void SaveRetried(std::size_t row, const RetriedFile& file);
    void AddToFolder(std::size_t row, const std::vector<RefusedLine>& lines);
    std::string Blocker(const std::string& line, std::size_t row) const;
    std::string Now() const;

    Integration& integration_;
    std::string folder_;
    std::vector<SetAsideClaim> claims_;     // recorded, of files not yet moved
    std::unordered_set<std::string> recorded_;  // claims_ as FileOnTrial looks them up
    std::vector<SetAsideClaim> newClaims_;  // this cycle's
    std::size_t keptClaims_ = 0;            // of newClaims_, recorded by KeepClaims
    std::set<std::string> keys_;            // the records whose lines are set aside
};

// Drops the claims of the files that moved (their lines are in the folder).
void ForgetMovedFiles(const std::string& sendDirectory, const ReadInputFiles& moved);

// How many lines are set aside, and the entry of the oldest, UTF-8.
struct SetAsideSummary {
    long long lines = 0;
    std::string oldest;
};
SetAsideSummary SummariseSetAside(const std::string& responseDirectory, const InputFileTable& table);

}  // namespace ligamor
