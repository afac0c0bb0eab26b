#pragma once
// The integration log LogIntegracaoPAF.txt: appended to by the cycle, shown
// in the main window's log view.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/log_view.h"

namespace ligamor {

inline constexpr const char* kIntegrationLogName = "LogIntegracaoPAF.txt";

// The log directory immediately followed by the file name.
std::string IntegrationLogPath(const std::string& logDirectory);
// Its size in bytes; 0 while there is none.
std::uint64_t IntegrationLogSize(const std::string& logDirectory);

// Creates the log when missing (also for an empty list), then appends each
// text and CR LF, opening the file anew for each text. Raises IoFailure with
// the code of the failure that stopped it; texts written before it stay.
void AppendToIntegrationLog(const std::string& logDirectory, const std::vector<std::string>& texts);

// Makes the view show the log file at path as it is on disk now (empty when
// there is none). A log that only grew since the last fill, and a view nobody
// typed into, get just the new bytes. A log that cannot be opened empties the
// view and raises "Cannot open file \"<path>\". <system description>".
void ReloadLogView(LogView& view, const std::string& path);

}  // namespace ligamor
