#pragma once
// The program's own icon, for the main window and the settings dialog.
#include <QIcon>

namespace ligamor {

QIcon LigamorIcon();

}  // namespace ligamor
