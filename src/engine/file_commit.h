#pragma once
// The commit of a file applied in one transaction (TRANSACAO=ARQUIVO), in two
// phases, so that a kill at any instant leaves the file applied once, with
// its log block once and its record as applied, or not applied at all:
//
//   1. .ligamor.confirmacao: the file, its transaction's number, the log's
//      size, "prepared";      2. the transaction prepared;
//   3. the log block appended;  4. the file's set-aside lines recorded;
//   5. .ligamor.confirmacao: "decided";   6. the commit;
//   7. the file recorded as applied (.ligamor.aplicados); 8. the journal gone.
//
// A prepared transaction outlives the process. What a kill left is finished
// first thing at the next start (and before every cycle): not decided, its
// transaction is rolled back and the log cut back to its size before the
// block (the file is read again whole); decided, its transaction is committed
// and the file recorded as applied. The journal names the transaction, so
// only ours is ever touched.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "db/dtmmain.h"
#include "db/file_transaction.h"
#include "engine/cycle_state.h"
#include "engine/log_block.h"

namespace ligamor {

inline constexpr const char* kFileCommitName = ".ligamor.confirmacao";

struct FileCommitRecord {
    ReadInputFile file;
    long long transaction = 0;
    std::uint64_t logSize = 0;  // the log's size before the file's block
    bool decided = false;
};

// The record of the send directory; none when no commit is under way. A cut
// or damaged record raises RecordFileFailure, as our other records do.
std::optional<FileCommitRecord> LoadFileCommit(const std::string& sendDirectory);
void SaveFileCommit(const std::string& sendDirectory, const FileCommitRecord& record);

// Commits the file's transaction by the steps above. beforeDecision records
// what the file set aside; recordApplied records it as applied.
void CommitFile(FileTransaction& transaction, LogBlock& block, const ReadInputFile& file,
                const std::string& sendDirectory, const std::string& logDirectory,
                const std::function<void()>& beforeDecision,
                const std::function<void(const ReadInputFile&)>& recordApplied);

// What a killed commit left, finished; the file's name and what became of it
// (UTF-8) for the one notice the start gives, or empty when there was nothing.
std::string FinishInterruptedCommit(Connection& connection, const std::string& sendDirectory,
                                    const std::string& logDirectory);

}  // namespace ligamor
