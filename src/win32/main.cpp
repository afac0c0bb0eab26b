// ligamor.exe: start-up and end of the Windows window.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "config/command_line.h"
#include "win32/main_window.h"
#include "win32/wide_text.h"
#include "win32/win32_messages.h"
#include "win32/win32_timer.h"
#include "window/window_start_up.h"

namespace {

// The arguments in the ANSI code page, as paths are held everywhere else.
std::vector<std::string> Arguments()
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) args.push_back(ligamor::LocalFromWide(wide[i]));
    LocalFree(wide);
    return args;
}

// A program without a console answers --help, --version and bad usage in a box.
void Tell(const std::string& utf8, UINT icon)
{
    MessageBoxW(nullptr, ligamor::WideFromUtf8(utf8).c_str(), ligamor::ApplicationTitle().c_str(), MB_OK | icon);
}

}  // namespace

int main()
{
    using namespace ligamor;
    CommandLine commandLine;
    try {
        commandLine = ParseCommandLine(Arguments(), FrontEnd::Window);
    } catch (const UsageError& e) {
        Tell(std::string("ligamor: ") + e.what() + "\n" + UsageText(FrontEnd::Window), MB_ICONERROR);
        return 2;
    }
    if (commandLine.help || commandLine.version) {
        Tell(commandLine.help ? UsageText(FrontEnd::Window) : VersionText(FrontEnd::Window), MB_ICONINFORMATION);
        return 0;
    }

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    WindowStartUp<Win32Messages, Win32Timer> start(commandLine, false);
    MainWindow frmmain(start.parts.integration, start.timer);
    if (!frmmain.Create()) return 1;
    frmmain.Show(SW_SHOWNORMAL);  // activation runs before the window is drawn

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
