#pragma once
// frmConfiguracao on Windows: the dialog of ligamor.rc that edits the
// settings file, picks the database file and tests a connection with the
// values on screen.
#include <windows.h>

#include <string>

#include "db/dtmmain.h"
#include "runtime/messages.h"
#include "runtime/timer.h"

namespace ligamor {

// What the dialog works with; the main window hands over its own.
struct SettingsDialogServices {
    std::string settingsPath;
    Messages& messages;
    Timer& timer;
    DataModule& dtmain;
};

// Shows the dialog modally over owner; on OK writes the settings file and
// gives true. Cancelar, Escape and the close box write nothing.
bool ShowConfigurationDialog(HWND owner, SettingsDialogServices& services);

// True when the character typed into the interval field may reach it: a
// digit, or a control character (Backspace, Enter, Ctrl+V; Tab and Escape
// belong to the dialog).
bool IntervalKeyAccepted(wchar_t typed);

// What pasting text into the interval field inserts: its digits alone.
std::wstring IntervalDigits(const std::wstring& pasted);

}  // namespace ligamor
