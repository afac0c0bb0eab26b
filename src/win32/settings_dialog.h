#pragma once
// frmConfiguracao on Windows: the dialog of ligamor.rc that edits the
// settings file, picks the database file and tests a connection with the
// values on screen. What it does is the toolkit-free SettingsForm's: this
// file draws it.
#include <windows.h>

#include "window/settings_form.h"

namespace ligamor {

// Shows the dialog modally over owner; on OK writes the settings file and
// gives true. Cancelar, Escape and the close box write nothing.
bool ShowConfigurationDialog(HWND owner, SettingsFormServices& services);

}  // namespace ligamor
