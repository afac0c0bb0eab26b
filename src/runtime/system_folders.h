#pragma once
// Where an installed program keeps what its window and its service share; one
// system_folders_<platform>.cpp each.
#include <string>

namespace ligamor {

// True for a folder that the system installs programs into and that its users
// do not write: /usr and below, /bin, /sbin on Linux; Program Files (either of
// them) and below on Windows.
bool IsSystemProgramFolder(const std::string& directory);

// The folder of the settings that an installed program's users and its
// service share, ending with the separator: /etc/ligamor/ on Linux (the
// package makes it), %ProgramData%\Ligamor\ on Windows (the installer does).
std::string SharedSettingsDirectory();

}  // namespace ligamor
