#pragma once
// The log the system keeps of its services' messages, beside standard error.
#include <string>

namespace ligamor {

enum class SystemLogLevel { Information, Warning, Error };

// Writes one message there. On Windows: the Application event log under the
// event source "ligamor", which the installer registers with the message
// table of ligamor-service.exe, so that the Event Viewer shows the text as
// it is. On Linux nothing: the journal already reads standard error.
void WriteSystemLog(SystemLogLevel level, const std::string& utf8Text);

}  // namespace ligamor
