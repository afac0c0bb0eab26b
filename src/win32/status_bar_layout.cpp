#include "win32/status_bar_layout.h"

#include <commctrl.h>

namespace ligamor {

namespace {

// The cycle's bar, 260 by 15 as in the Linux window, 4 pixels from the right
// end, in a part of its own that starts 4 pixels before it.
constexpr int kBarWidth = 260;
constexpr int kBarHeight = 15;
constexpr int kBarMargin = 4;
// Between cycles the health has the width of the bar; during one it gives
// part of it up so that the banner keeps some room beside both.
constexpr int kHealthWidth = 260;
constexpr int kHealthWidthBesideBar = 196;

}  // namespace

void LayOutStatusBar(HWND statusBar, bool cycleBarShown)
{
    RECT all{};
    GetClientRect(statusBar, &all);
    const int width = all.right - all.left;
    const int barPart = width - kBarWidth - 2 * kBarMargin;
    if (cycleBarShown) {
        int parts[] = {barPart - kHealthWidthBesideBar, barPart, -1};
        SendMessageW(statusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    } else {
        int parts[] = {width - kHealthWidth, -1};
        SendMessageW(statusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    }
    if (HWND bar = GetDlgItem(statusBar, kCycleBarId))
        MoveWindow(bar, width - kBarWidth - kBarMargin, (all.bottom - kBarHeight) / 2, kBarWidth, kBarHeight, TRUE);
    if (HWND health = GetDlgItem(statusBar, kHealthPanelId)) {
        // Inside the part's sunken edge, which the status bar draws.
        RECT part{};
        SendMessageW(statusBar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
        InflateRect(&part, -1, -1);
        MoveWindow(health, part.left, part.top, part.right - part.left, part.bottom - part.top, TRUE);
    }
}

}  // namespace ligamor
