#include "win32/status_bar_layout.h"

#include <commctrl.h>

#include <algorithm>

#include "window/status_bar_rule.h"
#include "window/window_appearance.h"

namespace ligamor {

namespace {

// The cycle's bar inside its part, this far from the part's ends.
constexpr int kBarMargin = 4;
// Around the banner's text: its leading tab's indent and the part's edges.
constexpr int kBannerPadding = 16;
// The sunken edge that the status bar draws round the health's part.
constexpr int kPartEdges = 2;

// The banner's part as set: the maker's banner with the tab that centres it,
// who integrates without one.
std::wstring BannerPart(HWND statusBar)
{
    const LRESULT length = SendMessageW(statusBar, SB_GETTEXTLENGTHW, 0, 0);
    std::wstring text(LOWORD(length) + 1, L'\0');
    SendMessageW(statusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(length));
    return text;
}

// The banner's text, without the tab that centres it.
std::wstring BannerText(HWND statusBar)
{
    std::wstring text = BannerPart(statusBar);
    text.erase(0, text.find_first_not_of(L'\t'));
    return text;
}

int Needed(HWND child)
{
    return child ? static_cast<int>(SendMessageW(child, kNeededWidthMessage, 0, 0)) : 0;
}

// window over the part's inside, less margin at each end.
void PlaceOver(HWND statusBar, int part, HWND window, int margin, int height)
{
    RECT place{};
    SendMessageW(statusBar, SB_GETRECT, part, reinterpret_cast<LPARAM>(&place));
    InflateRect(&place, -margin, -1);
    const int top = height > 0 ? place.top + (place.bottom - place.top - height) / 2 : place.top;
    MoveWindow(window, place.left, top, std::max<int>(place.right - place.left, 0),
               height > 0 ? height : place.bottom - place.top, TRUE);
}

}  // namespace

int TextWidth(HWND window, HFONT font, const std::wstring& text)
{
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size.cx;
}

void LayOutStatusBar(HWND statusBar)
{
    RECT all{};
    GetClientRect(statusBar, &all);
    int borders[3] = {};  // around the bar, above and below, between two parts
    SendMessageW(statusBar, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    const int gap = borders[2];
    HWND health = GetDlgItem(statusBar, kHealthPanelId);
    HWND bar = GetDlgItem(statusBar, kCycleBarId);
    // Its own flag: the bar shows in a window not yet on screen too.
    const bool cycle = bar && (GetWindowLongPtrW(bar, GWL_STYLE) & WS_VISIBLE);

    StatusBarNeeds needs;
    needs.width = all.right - all.left;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(statusBar, WM_GETFONT, 0, 0));
    needs.banner = TextWidth(statusBar, font, BannerText(statusBar)) + kBannerPadding + gap;
    const int healthText = Needed(health);
    needs.health = healthText > 0 ? healthText + kPartEdges + gap : 0;
    needs.progress = cycle ? Needed(bar) + 2 * kBarMargin + gap : 0;
    // The maker's banner is centred by a leading tab; who integrates is not.
    const std::wstring part = BannerPart(statusBar);
    needs.bannerSaysWho = !part.empty() && part[0] != L'\t';
    const StatusBarShares shares = ShareStatusBar(needs);

    // The banner keeps its whole text, which the status bar cuts to its part.
    const int bannerEnd = shares.banner.width;
    if (cycle) {
        int parts[] = {bannerEnd, bannerEnd + shares.health.width, -1};
        SendMessageW(statusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
        PlaceOver(statusBar, 2, bar, kBarMargin, kCycleBarHeight);
    } else {
        int parts[] = {bannerEnd, -1};
        SendMessageW(statusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    }
    if (health) {
        PlaceOver(statusBar, 1, health, 1, 0);
        ShowWindow(health, shares.health.width > 0 ? SW_SHOWNA : SW_HIDE);
    }
}

}  // namespace ligamor
