#pragma once
// The files applied whole and not yet moved, kept in the send directory so
// that a later cycle, or a restart after a kill (of the window, of the
// service, of the computer), only moves them: their lines are already in the
// database and in the log. Each file is recorded as soon as it is applied,
// not only when its move fails.
#include <string>
#include <string_view>

#include "engine/cycle_state.h"

namespace ligamor {

// Beside the lock, in the send directory: it describes files of that
// directory, and only the integration holding the lock writes it.
inline constexpr const char* kAppliedNotMovedName = ".ligamor.aplicados";

// The files recorded for the send directory; none when there is no record.
// A record that is cut or damaged raises RecordFileFailure (record_file.h),
// one that cannot be read IoFailure: guessing "none" could apply a file twice.
ReadInputFiles LoadAppliedNotMoved(const std::string& sendDirectory);

// Replaces the record whole with files; an empty list removes it. Raises
// IoFailure when it cannot.
void SaveAppliedNotMoved(const std::string& sendDirectory, const ReadInputFiles& files);

// The record's bytes and back; path names the file in a failure.
std::string AppliedNotMovedText(const ReadInputFiles& files);
ReadInputFiles ParseAppliedNotMoved(std::string_view bytes, const std::string& path);

}  // namespace ligamor
