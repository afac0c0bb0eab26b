#include "ui/app_icon.h"

#include <QtCore/qglobal.h>

// The resource lives in a static library: nothing would pull its initialiser
// into the program unless it is called by name.
static void InitLigamorResource()
{
    Q_INIT_RESOURCE(ligamor);
}

namespace ligamor {

QIcon LigamorIcon()
{
    static const bool initialised = (InitLigamorResource(), true);
    (void)initialised;
    return QIcon(QStringLiteral(":/ligamor.png"));
}

}  // namespace ligamor
