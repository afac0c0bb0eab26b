#include "win32/log_view_window.h"

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <vector>

namespace ligamor {

namespace {

constexpr wchar_t kClassName[] = L"LigamorLogView";
constexpr int kMargin = 2;  // pixels between the frame and the text
constexpr UINT kUpdateBars = WM_APP + 1;

// Windows' wide characters are UTF-16 units.
static_assert(sizeof(wchar_t) == sizeof(char16_t));
const wchar_t* Wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

void RegisterOnce()
{
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = DefWindowProcW;  // replaced per window at WM_NCCREATE
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

}  // namespace

LogViewWindow::~LogViewWindow()
{
    if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    if (font_) DeleteObject(font_);
}

HWND LogViewWindow::Create(HWND parent, int id, RECT place)
{
    RegisterOnce();
    HDC screen = GetDC(nullptr);
    // Arial, 8 points, ANSI character set.
    font_ = CreateFontW(-MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_SWISS, L"Arial");
    HGDIOBJ old = SelectObject(screen, font_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    lineHeight_ = std::max(1, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading));
    charWidth_ = std::max(1, static_cast<int>(metrics.tmAveCharWidth));

    window_ = CreateWindowExW(WS_EX_CLIENTEDGE, kClassName, L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL, place.left, place.top,
                              place.right - place.left, place.bottom - place.top, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!window_) return nullptr;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LogViewWindow::Procedure));
    Resized();
    return window_;
}

LRESULT CALLBACK LogViewWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* view = reinterpret_cast<LogViewWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!view) return DefWindowProcW(window, message, wParam, lParam);
    return view->OnMessage(message, wParam, lParam);
}

void LogViewWindow::Refilled(std::size_t firstChanged, std::size_t oldTop)
{
    if (!window_) return;
    // The bars follow once the fill is over: a year's log comes in a hundred
    // pieces, and drawing the bars for each cost more than reading the log.
    if (!barsStale_) {
        barsStale_ = true;
        PostMessageW(window_, kUpdateBars, 0, 0);
    }
    const std::size_t top = TopLine();
    if (top != oldTop || firstChanged <= top) {
        InvalidateRect(window_, nullptr, TRUE);
        return;
    }
    // Lines added below the screen cost no drawing.
    const std::size_t row = firstChanged - top;
    if (row > Rows()) return;
    RECT client{};
    GetClientRect(window_, &client);
    client.top = static_cast<LONG>(row) * lineHeight_;
    InvalidateRect(window_, &client, TRUE);
}

void LogViewWindow::Resized()
{
    RECT client{};
    if (window_) GetClientRect(window_, &client);
    SetRows(static_cast<std::size_t>(std::max(1, static_cast<int>(client.bottom - client.top) / lineHeight_)));
    UpdateScrollBars();
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

int LogViewWindow::TextWidth() const
{
    return LongestWidth([this](const std::u16string& text) {
        int width = static_cast<int>(text.size()) * charWidth_;
        if (!window_) return width;
        HDC dc = GetDC(window_);
        HGDIOBJ old = SelectObject(dc, font_);
        SIZE size{};
        if (GetTextExtentPoint32W(dc, Wide(text), static_cast<int>(text.size()), &size)) width = size.cx;
        SelectObject(dc, old);
        ReleaseDC(window_, dc);
        return width;
    });
}

void LogViewWindow::UpdateScrollBars()
{
    barsStale_ = false;
    if (!window_) return;
    RECT client{};
    GetClientRect(window_, &client);
    // Both bars are always shown, disabled while everything fits. A bar is
    // set, and drawn, only when it changed: drawing a bar costs more than
    // appending a hundred lines.
    SCROLLINFO v{sizeof v, SIF_ALL | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
    v.nMax = static_cast<int>(std::max<std::size_t>(Lines().Count(), 1) - 1);
    v.nPage = static_cast<UINT>(Rows());
    v.nPos = static_cast<int>(TopLine());
    SCROLLINFO h{sizeof h, SIF_ALL | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
    h.nMax = TextWidth() + 2 * kMargin;
    h.nPage = static_cast<UINT>(client.right - client.left);
    left_ = std::clamp(left_, 0, std::max(0, h.nMax - static_cast<int>(h.nPage) + 1));
    h.nPos = left_;
    const auto changed = [](const SCROLLINFO& a, const SCROLLINFO& b) {
        return a.nMax != b.nMax || a.nPage != b.nPage || a.nPos != b.nPos;
    };
    if (!barsSet_ || changed(v, vertical_)) SetScrollInfo(window_, SB_VERT, &v, TRUE);
    if (!barsSet_ || changed(h, horizontal_)) SetScrollInfo(window_, SB_HORZ, &h, TRUE);
    vertical_ = v;
    horizontal_ = h;
    barsSet_ = true;
}

void LogViewWindow::MoveTo(long long line, int left)
{
    RECT client{};
    GetClientRect(window_, &client);
    const int maxLeft = std::max(0, TextWidth() + 2 * kMargin - static_cast<int>(client.right - client.left) + 1);
    left = std::clamp(left, 0, maxLeft);
    const bool moved = ScrollTo(line);
    if (!moved && left == left_) return;
    left_ = left;
    UpdateScrollBars();
    InvalidateRect(window_, nullptr, TRUE);
}

void LogViewWindow::Scrolled(int bar, int request)
{
    if (barsStale_) UpdateScrollBars();
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(window_, bar, &info);
    const int page = static_cast<int>(info.nPage);
    const int step = bar == SB_VERT ? 1 : charWidth_ * 4;
    long long pos = info.nPos;
    switch (request) {
    case SB_LINEUP: pos -= step; break;
    case SB_LINEDOWN: pos += step; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = info.nMax; break;
    // The 32-bit track position: a log of more than 65,535 lines.
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    default: return;
    }
    const auto top = static_cast<long long>(TopLine());
    if (bar == SB_VERT) MoveTo(pos, left_);
    else MoveTo(top, static_cast<int>(std::clamp<long long>(pos, 0, info.nMax)));
}

std::size_t LogViewWindow::LineAt(int y) const
{
    const auto row = static_cast<std::size_t>(std::max(0, y) / lineHeight_);
    return std::min(TopLine() + row, Lines().Count() - 1);
}

void LogViewWindow::Selected(std::size_t line, bool extend)
{
    Select(line, extend);
    InvalidateRect(window_, nullptr, TRUE);
}

void LogViewWindow::Copy() const
{
    if (!HasSelection() || !OpenClipboard(window_)) return;
    const std::u16string text = SelectedText(u"\r\n");
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        auto* target = static_cast<wchar_t*>(GlobalLock(memory));
        std::copy(text.begin(), text.end(), target);
        target[text.size()] = L'\0';
        GlobalUnlock(memory);
        // The clipboard owns the memory once it took it.
        if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
}

void LogViewWindow::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    HGDIOBJ old = SelectObject(dc, font_);
    RECT client{};
    GetClientRect(window_, &client);
    const int firstRow = std::max(0, static_cast<int>(ps.rcPaint.top)) / lineHeight_;
    const int lastRow = std::max(0, static_cast<int>(ps.rcPaint.bottom) - 1) / lineHeight_;
    const std::size_t top = TopLine();
    const std::vector<std::u16string> lines =
        Lines().Shown(top + static_cast<std::size_t>(firstRow), static_cast<std::size_t>(lastRow - firstRow + 1));
    for (int row = firstRow; row <= lastRow; ++row) {
        const std::size_t line = top + static_cast<std::size_t>(row);
        const auto index = static_cast<std::size_t>(row - firstRow);
        const bool selected = IsSelected(line);
        SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_INFOBK));
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_INFOTEXT));
        RECT band{client.left, row * lineHeight_, client.right, (row + 1) * lineHeight_};
        const std::u16string empty;
        const std::u16string& text = index < lines.size() ? lines[index] : empty;
        // Opaque, so that the band's background and its text are one draw.
        ExtTextOutW(dc, kMargin - left_, band.top, ETO_OPAQUE | ETO_CLIPPED, &band, Wide(text),
                    static_cast<UINT>(text.size()), nullptr);
    }
    SelectObject(dc, old);
    EndPaint(window_, &ps);
}

LRESULT LogViewWindow::GetText(WPARAM size, wchar_t* buffer) const
{
    // The whole log, as an edit control answers: the first size - 1
    // characters, lines ended by CR LF.
    if (size == 0 || !buffer) return 0;
    const std::u16string text = Lines().Text(0, Lines().Count() - 1, u"\r\n", size - 1);
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = L'\0';
    return static_cast<LRESULT>(text.size());
}

bool LogViewWindow::OnKey(WPARAM key)
{
    const long long top = static_cast<long long>(TopLine());
    const long long page = static_cast<long long>(Rows());
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (shift && (key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT)) {
        MoveCaret(key == VK_UP ? -1 : key == VK_DOWN ? 1 : key == VK_PRIOR ? -page : page);
        UpdateScrollBars();
        InvalidateRect(window_, nullptr, TRUE);
        return true;
    }
    switch (key) {
    case VK_UP: MoveTo(top - 1, left_); return true;
    case VK_DOWN: MoveTo(top + 1, left_); return true;
    case VK_PRIOR: MoveTo(top - page, left_); return true;
    case VK_NEXT: MoveTo(top + page, left_); return true;
    case VK_HOME: MoveTo(control ? 0 : top, 0); return true;
    case VK_END: MoveTo(control ? static_cast<long long>(MaxTop()) : top, control ? 0 : TextWidth()); return true;
    case VK_LEFT: MoveTo(top, left_ - charWidth_ * 4); return true;
    case VK_RIGHT: MoveTo(top, left_ + charWidth_ * 4); return true;
    default: return false;
    }
}

LRESULT LogViewWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        if (barsStale_) UpdateScrollBars();
        Paint();
        return 0;
    case kUpdateBars:
        if (barsStale_) UpdateScrollBars();
        return 0;
    case WM_ERASEBKGND: return 1;  // every band is painted opaque
    case WM_SIZE: Resized(); return 0;
    case WM_VSCROLL: Scrolled(SB_VERT, LOWORD(wParam)); return 0;
    case WM_HSCROLL: Scrolled(SB_HORZ, LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL: {
        UINT lines = 3;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        MoveTo(static_cast<long long>(TopLine()) - static_cast<long long>(notches) * lines, left_);
        return 0;
    }
    case WM_LBUTTONDOWN:
        SetFocus(window_);
        SetCapture(window_);
        Selected(LineAt(GET_Y_LPARAM(lParam)), (wParam & MK_SHIFT) != 0);
        return 0;
    case WM_MOUSEMOVE:
        if ((wParam & MK_LBUTTON) && GetCapture() == window_) {
            // Dragging past an edge scrolls a line at a time.
            const int y = GET_Y_LPARAM(lParam);
            const auto top = static_cast<long long>(TopLine());
            if (y < 0) MoveTo(top - 1, left_);
            else if (y >= static_cast<int>(Rows()) * lineHeight_) MoveTo(top + 1, left_);
            Selected(LineAt(y), true);
        }
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == window_) ReleaseCapture();
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
        if (OnKey(wParam)) return 0;
        break;
    // Ctrl+C and Ctrl+A as an edit control takes them; nothing typed
    // reaches the view.
    case WM_CHAR:
        if (wParam == 0x03) Copy();
        if (wParam == 0x01) {
            SelectAll();
            InvalidateRect(window_, nullptr, TRUE);
        }
        return 0;
    case WM_COPY: Copy(); return 0;
    case WM_GETTEXTLENGTH:
        // At most: a line end may become CR LF.
        return static_cast<LRESULT>(Lines().Size() + Lines().Count());
    case WM_GETTEXT: return GetText(wParam, reinterpret_cast<wchar_t*>(lParam));
    case WM_SETTEXT:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR: return FALSE;  // read-only: the log file decides what it shows
    case WM_NCDESTROY: {
        HWND self = window_;
        SetWindowLongPtrW(self, GWLP_USERDATA, 0);
        window_ = nullptr;
        return DefWindowProcW(self, message, wParam, lParam);
    }
    default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace ligamor
