#pragma once
// The lines of input files not yet moved that were set aside: kept in the
// send directory until their file has moved, so that reading such a file
// again (after a crash, or because it changed before its move) does not set
// its lines aside twice, and so that a crash while the folder of refused
// lines was being written is finished at the next start.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/refused_files.h"
#include "runtime/text_file.h"

namespace ligamor {

inline constexpr const char* kSetAsideClaimsName = ".ligamor.separadas";

struct SetAsideClaim {
    std::size_t row = 0;         // index into the input file table
    std::string path;            // the input file the line was read from
    FileIdentity input;          // that file's device and inode: a new file of the same name is another
    RefusedLine line;            // lineNumber: its number in that file
    bool inFolder = false;       // already written to the folder of refused lines
    FileIdentity folderBefore;   // that folder's file before the write adding it
    bool operator==(const SetAsideClaim&) const = default;
};

// The claims recorded for the send directory; none when there is no record.
// A record that is cut or damaged raises RecordFileFailure (record_file.h),
// one that cannot be read IoFailure: guessing "none" could set lines aside
// twice, or lose them.
std::vector<SetAsideClaim> LoadSetAsideClaims(const std::string& sendDirectory);

// Replaces the record whole; no claims removes it. Raises IoFailure.
void SaveSetAsideClaims(const std::string& sendDirectory, const std::vector<SetAsideClaim>& claims);

// The record's bytes and back; path names the file in a failure.
std::string SetAsideClaimsText(const std::vector<SetAsideClaim>& claims);
std::vector<SetAsideClaim> ParseSetAsideClaims(std::string_view bytes, const std::string& path);

}  // namespace ligamor
