#pragma once
// TRANSACAO=LINHA: each line of a file commits on its own, and its log text
// waits for the file's block. So that a kill in the middle of a file does not
// make the next start apply its committed lines again, each line applied is
// written here right after its commit, with its log text:
//
//   .ligamor.progresso in the send directory: a header naming the file (its
//   row, identity, path) and the log's size before its block, then one line
//   per line applied (its number and log text), each with its checksum.
//
// Appended, never flushed line by line (a kill leaves what was written; a
// power cut may lose the last lines, which are then applied again). Removed
// once the file is recorded as applied. At the next start, a journal of a
// file still in the send directory, unchanged, makes its reading skip the
// lines it names and take their texts from here; a journal of a file gone or
// changed gives its texts to the log. What remains open: a kill between a
// line's commit and its entry applies that one line again.
#include <cstddef>
#include <map>
#include <optional>
#include <string>

#include "engine/cycle_state.h"

namespace ligamor {

inline constexpr const char* kLineJournalName = ".ligamor.progresso";

struct LineJournalRecord {
    ReadInputFile file;
    std::uint64_t logSize = 0;
    std::map<std::size_t, std::string> applied;  // line number: its log text
};

// The journal left in the send directory, its last line ignored when a kill
// cut it; none when there is none or its header cannot be read.
std::optional<LineJournalRecord> LoadLineJournal(const std::string& sendDirectory);
void RemoveLineJournal(const std::string& sendDirectory);

class LineJournal {
public:
    explicit LineJournal(const std::string& sendDirectory) : path_(sendDirectory + kLineJournalName) {}
    // Starts the journal of a file, written at its first line applied; an
    // existing one of the same file goes on.
    void Begin(const ReadInputFile& file, std::uint64_t logSize, bool goOn);
    // A line applied and committed, with its log text.
    void Applied(std::size_t number, const std::string& text);

private:
    std::string path_;
    std::string header_;  // still to write; empty once written
};

}  // namespace ligamor
