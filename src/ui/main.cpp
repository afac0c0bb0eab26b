// ligamor: start-up and end of the program.
#include <QApplication>

#include <cstdio>
#include <string>
#include <vector>

#include "config/command_line.h"
#include "runtime/service_events.h"
#include "ui/app_icon.h"
#include "ui/qt_messages.h"
#include "ui/qt_timer.h"
#include "ui/stop_requests.h"
#include "ui/untmain.h"
#include "window/window_start_up.h"

namespace {

std::vector<std::string> Arguments(int argc, char* argv[])
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace

int main(int argc, char* argv[])
{
    using namespace ligamor;
    // --help and --version answer without a display, before the toolkit
    // takes its own options out of argv.
    try {
        const CommandLine early = ParseCommandLine(Arguments(argc, argv), FrontEnd::Window, true);
        if (early.help || early.version) {
            std::fputs((early.help ? UsageText(FrontEnd::Window) : VersionText(FrontEnd::Window) + "\n").c_str(),
                       stdout);
            return 0;
        }
    } catch (const UsageError&) {
        // reported below, once the toolkit's options are known
    }

    // Before the toolkit and the database client start threads of their own:
    // those inherit the blocked stop signals, which only ours then takes.
    ServiceEvents stopRequests(ReloadRequests::LeftAlone);

    // No application title of our own: message boxes take the executable's name.
    QApplication application(argc, argv);
    QApplication::setWindowIcon(LigamorIcon());

    CommandLine commandLine;
    try {
        commandLine = ParseCommandLine(Arguments(argc, argv), FrontEnd::Window);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "ligamor: %s\n%s", e.what(), UsageText(FrontEnd::Window).c_str());
        return 2;
    }

    WindowStartUp<QtMessages, QtTimer> start(commandLine, true);
    Tfrmmain frmmain(start.parts.integration, start.timer);
    CloseOnStopRequest(frmmain, stopRequests);
    frmmain.show();  // activation runs before the window is drawn
    return application.exec();
}
