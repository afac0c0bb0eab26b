#include "win32/health_panel.h"

#include <commctrl.h>

#include <cstdint>
#include <optional>
#include <utility>

#include "win32/status_bar_layout.h"
#include "win32/wide_text.h"
#include "window/window_appearance.h"

namespace ligamor {

namespace {

constexpr wchar_t kClassName[] = L"LigamorHealth";
// A failure's reason may be long: the tip wraps it instead of running off the screen.
constexpr int kTipWidth = 420;
// Between the text and the panel's ends.
constexpr int kTextMargin = 4;

COLORREF ColourRef(std::uint32_t rgb)
{
    return RGB((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff);
}

}  // namespace

HealthPanel::~HealthPanel()
{
    // The tip is owned by the main window, which may have destroyed it already.
    if (tip_ && IsWindow(tip_)) DestroyWindow(tip_);
    if (bold_) DeleteObject(bold_);
}

HWND HealthPanel::Create(HWND statusBar, int id)
{
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &HealthPanel::Procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    panel_ = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, statusBar,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (!panel_) return nullptr;
    SetWindowLongPtrW(panel_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    font_ = reinterpret_cast<HFONT>(SendMessageW(statusBar, WM_GETFONT, 0, 0));
    LOGFONTW bold{};
    if (font_ && GetObjectW(font_, sizeof bold, &bold)) {
        bold.lfWeight = FW_BOLD;
        bold_ = CreateFontIndirectW(&bold);
    }
    // The tip shows even while another window is active: a technician points
    // at the panel of a window that runs in the background.
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetAncestor(statusBar, GA_ROOT),
                           nullptr, instance, nullptr);
    if (tip_) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = statusBar;
        tool.uId = reinterpret_cast<UINT_PTR>(panel_);
        tool.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
    }
    return panel_;
}

void HealthPanel::Show(HealthState state, const std::string& utf8Line)
{
    if (!panel_) return;
    std::wstring line = WideFromUtf8(utf8Line);
    if (state == state_ && line == line_) return;
    state_ = state;
    line_ = std::move(line);
    SetWindowTextW(panel_, line_.c_str());
    if (tip_) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = GetParent(panel_);
        tool.uId = reinterpret_cast<UINT_PTR>(panel_);
        tool.lpszText = line_.data();
        SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    LayOutStatusBar(GetParent(panel_));
    InvalidateRect(panel_, nullptr, FALSE);
}

HFONT HealthPanel::Font() const
{
    const std::optional<HealthColours> colours = HealthColoursOf(state_);
    return colours && colours->bold && bold_ ? bold_ : font_;
}

int HealthPanel::NeededWidth() const
{
    return line_.empty() ? 0 : TextWidth(panel_, Font(), line_) + 2 * kTextMargin;
}

LRESULT CALLBACK HealthPanel::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<HealthPanel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_PAINT) {
        self->Paint();
        return 0;
    }
    if (self && message == kNeededWidthMessage) return self->NeededWidth();
    if (message == WM_ERASEBKGND) return 1;
    return DefWindowProcW(window, message, wParam, lParam);
}

void HealthPanel::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(panel_, &ps);
    RECT all{};
    GetClientRect(panel_, &all);
    COLORREF back = GetSysColor(COLOR_BTNFACE);
    COLORREF text = GetSysColor(COLOR_BTNTEXT);
    if (const std::optional<HealthColours> colours = HealthColoursOf(state_)) {
        back = ColourRef(colours->background);
        text = ColourRef(colours->text);
    }
    const HFONT font = Font();
    const HBRUSH brush = CreateSolidBrush(back);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    RECT place = all;
    InflateRect(&place, -kTextMargin, 0);
    DrawTextW(dc, line_.c_str(), static_cast<int>(line_.size()), &place,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, old);
    EndPaint(panel_, &ps);
}

}  // namespace ligamor
