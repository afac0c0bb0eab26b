#pragma once
// The standard error stream of a front end without a window, where a service
// manager, a journal or a container's log collector reads it.
#include <string>

namespace ligamor {

// Writes the line and a line end in one write, so that lines never mix with
// another writer's, and with no buffer left behind if the process is killed.
void WriteErrorLine(const std::string& line);

// True when the standard error stream is connected to the system journal,
// which stamps the time itself and reads a "<N>" priority prefix.
bool ErrorStreamIsJournal();

}  // namespace ligamor
