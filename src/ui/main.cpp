// ligamor: start-up and end of the program.
#include <QApplication>

#include "config/settings.h"
#include "db/dtmmain.h"
#include "transactions/record_context.h"
#include "engine/record_processors.h"
#include "engine/untfuncoes.h"
#include "runtime/clock.h"
#include "db/firebird/fb_client.h"
#include "runtime/text_file.h"
#include "ui/app_icon.h"
#include "ui/qt_messages.h"
#include "ui/qt_timer.h"
#include "ui/untmain.h"

int main(int argc, char* argv[])
{
    using namespace ligamor;
    // No application title of our own: message boxes take the executable's name.
    QApplication application(argc, argv);
    QApplication::setWindowIcon(LigamorIcon());

    QtMessages messages;
    FbClientLoader loader;
    DataModule dtmain(loader);  // nothing connects until activation

    SystemSettings settings;
    SystemClock clock;
    RegionalSettings regional = PlatformRegionalSettings();
    RecordContext records{dtmain, messages, clock, regional};
    QtTimer temporizador;
    Integration integration{settings, dtmain, messages, temporizador, clock, regional,
                            ExecutableDirectory(), StandardInputFileTable(records)};

    Tfrmmain frmmain(integration, temporizador);
    frmmain.show();  // activation runs before the window is drawn
    return application.exec();
}
