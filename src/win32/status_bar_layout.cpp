#include "win32/status_bar_layout.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "window/window_appearance.h"

namespace ligamor {

namespace {

// The cycle's bar 4 pixels from the right end, in a part of its own that
// starts 4 pixels before it.
constexpr int kBarWidth = kCycleBarWidth;
constexpr int kBarHeight = kCycleBarHeight;
constexpr int kBarMargin = 4;
// Between cycles the banner keeps the width of its text and the health has
// the rest, never less than this; during a cycle the health keeps the width
// beside the bar, and the banner shows what still fits of it.
constexpr int kHealthWidthLeast = 200;
constexpr int kHealthWidthBesideBar = 196;
constexpr int kBannerPadding = 16;

// The width of the banner's text in the status bar's font.
int BannerWidth(HWND statusBar)
{
    const LRESULT length = SendMessageW(statusBar, SB_GETTEXTLENGTHW, 0, 0);
    std::wstring text(LOWORD(length) + 1, L'\0');
    SendMessageW(statusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(length));
    text.erase(0, text.find_first_not_of(L'\t'));
    HDC dc = GetDC(statusBar);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(statusBar, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(statusBar, dc);
    return size.cx + kBannerPadding;
}

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
        int parts[] = {std::min(BannerWidth(statusBar), width - kHealthWidthLeast), -1};
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
