#include "win32/cycle_progress_bar.h"

#include <algorithm>
#include <utility>

#include "win32/status_bar_layout.h"
#include "win32/wide_text.h"
#include "window/window_appearance.h"

namespace ligamor {

namespace {

constexpr wchar_t kClassName[] = L"LigamorCycleProgress";
// Between the text and the bar's ends, its sunken edge included.
constexpr int kTextMargin = 4;

}  // namespace

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        // The settings dialog is modal and never open during a cycle: no
        // dialog message needs IsDialogMessage here.
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

HWND CycleProgressBar::Create(HWND statusBar)
{
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &CycleProgressBar::Procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    bar_ = CreateWindowExW(0, kClassName, L"", WS_CHILD, 0, 0, 0, 0, statusBar,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCycleBarId)), GetModuleHandleW(nullptr),
                           nullptr);
    SetWindowLongPtrW(bar_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    font_ = reinterpret_cast<HFONT>(SendMessageW(statusBar, WM_GETFONT, 0, 0));
    return bar_;
}

LRESULT CALLBACK CycleProgressBar::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CycleProgressBar*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_PAINT) {
        self->Paint();
        return 0;
    }
    if (self && message == kNeededWidthMessage)
        return self->widest_.empty() ? 0 : TextWidth(window, self->font_, self->widest_) + 2 * kTextMargin;
    if (message == WM_ERASEBKGND) return 1;
    return DefWindowProcW(window, message, wParam, lParam);
}

void CycleProgressBar::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(bar_, &ps);
    RECT all{};
    GetClientRect(bar_, &all);
    DrawEdge(dc, &all, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    const long width = all.right - all.left;
    const long filled = total_ == 0 ? 0 : static_cast<long>(static_cast<double>(width) * static_cast<double>(std::min(done_, total_)) / static_cast<double>(total_));
    RECT done = all;
    done.right = all.left + filled;
    RECT rest = all;
    rest.left = done.right;
    wchar_t text[256];
    const int length = GetWindowTextW(bar_, text, 256);
    HGDIOBJ old = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    // The text centred over both parts, in the colour that reads on each.
    FillRect(dc, &done, GetSysColorBrush(COLOR_HIGHLIGHT));
    FillRect(dc, &rest, GetSysColorBrush(COLOR_BTNFACE));
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    SaveDC(dc);
    IntersectClipRect(dc, done.left, done.top, done.right, done.bottom);
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    DrawTextW(dc, text, length, &all, format);
    RestoreDC(dc, -1);
    IntersectClipRect(dc, rest.left, rest.top, rest.right, rest.bottom);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(dc, text, length, &all, format);
    SelectObject(dc, old);
    EndPaint(bar_, &ps);
}

void CycleProgressBar::Show(const std::string& fileName, std::size_t done, std::size_t total)
{
    if (!bar_) return;
    done_ = done;
    total_ = total;
    SetWindowTextW(bar_, WideFromCp1252(ProgressText(fileName, done, total)).c_str());
    // The parts are shared again when the bar shows and when a file of
    // another length begins, not as its count grows.
    std::wstring widest = WideFromCp1252(ProgressText(fileName, std::max(done, total), total));
    const bool hidden = !(GetWindowLongPtrW(bar_, GWL_STYLE) & WS_VISIBLE);
    if (hidden || widest != widest_) {
        widest_ = std::move(widest);
        if (hidden) ShowWindow(bar_, SW_SHOWNA);
        LayOutStatusBar(GetParent(bar_));
    }
    InvalidateRect(bar_, nullptr, FALSE);
}

void CycleProgressBar::CycleEnded()
{
    // A window that watches another integration says so at each of its
    // ticks: the parts are shared again only when the bar goes.
    if (bar_ && (GetWindowLongPtrW(bar_, GWL_STYLE) & WS_VISIBLE)) {
        ShowWindow(bar_, SW_HIDE);
        SetWindowTextW(bar_, L"");
        widest_.clear();
        LayOutStatusBar(GetParent(bar_));
    }
    done_ = total_ = 0;
    ClearStop();
}

}  // namespace ligamor
