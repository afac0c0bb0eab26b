#include "win32/log_view_window.h"

#include <windowsx.h>

#include <algorithm>

#include "win32/wide_text.h"

namespace ligamor {

namespace {

constexpr wchar_t kClassName[] = L"LigamorLogView";
constexpr int kMargin = 2;  // pixels between the frame and the text

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
    UpdateScrollBars();
    return window_;
}

LRESULT CALLBACK LogViewWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* view = reinterpret_cast<LogViewWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!view) return DefWindowProcW(window, message, wParam, lParam);
    return view->OnMessage(message, wParam, lParam);
}

void LogViewWindow::Clear()
{
    if (!cleared_) {
        cleared_ = true;
        atEndBeforeClear_ = AtEnd();
        topBeforeClear_ = top_;
    }
    lines_.Clear();
    Filled(false);
}

void LogViewWindow::SetWhole(std::string_view bytes)
{
    bool followEnd = AtEnd();
    if (cleared_) {
        followEnd = atEndBeforeClear_;
        top_ = topBeforeClear_;
        cleared_ = false;
    }
    lines_.SetWhole(bytes);
    Filled(followEnd);
}

void LogViewWindow::AppendTail(std::string_view bytes)
{
    cleared_ = false;
    const bool followEnd = AtEnd();
    const std::size_t openLine = lines_.Count() - 1;
    lines_.Append(bytes);
    Filled(followEnd, openLine);
}

void LogViewWindow::Filled(bool followEnd, std::size_t firstChanged)
{
    // A reader at the end keeps following the log; anyone else keeps the line
    // they were reading.
    const std::size_t oldTop = top_;
    if (followEnd) top_ = MaxTop();
    if (!cleared_) top_ = std::min(top_, MaxTop());
    UpdateScrollBars();
    if (!window_) return;
    if (top_ != oldTop || firstChanged <= top_) {
        InvalidateRect(window_, nullptr, TRUE);
        return;
    }
    // Lines added below the screen cost no drawing.
    const std::size_t row = firstChanged - top_;
    if (row > static_cast<std::size_t>(VisibleLines())) return;
    RECT client{};
    GetClientRect(window_, &client);
    client.top = static_cast<LONG>(row) * lineHeight_;
    InvalidateRect(window_, &client, TRUE);
}

int LogViewWindow::VisibleLines() const
{
    RECT client{};
    if (window_) GetClientRect(window_, &client);
    return std::max(1, static_cast<int>(client.bottom - client.top) / lineHeight_);
}

std::size_t LogViewWindow::MaxTop() const
{
    const std::size_t visible = static_cast<std::size_t>(VisibleLines());
    return lines_.Count() > visible ? lines_.Count() - visible : 0;
}

bool LogViewWindow::AtEnd() const
{
    return top_ > 0 && top_ == MaxTop();
}

int LogViewWindow::TextWidth() const
{
    const std::size_t longest = lines_.Longest();
    const std::string_view line = lines_.Line(longest);
    if (longest == measuredLine_ && line.size() == measuredBytes_) return measuredWidth_;
    measuredLine_ = longest;
    measuredBytes_ = line.size();
    measuredWidth_ = static_cast<int>(line.size()) * charWidth_;
    if (window_) {
        HDC dc = GetDC(window_);
        HGDIOBJ old = SelectObject(dc, font_);
        const std::wstring text = WideFromCp1252(line);
        SIZE size{};
        if (GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size)) measuredWidth_ = size.cx;
        SelectObject(dc, old);
        ReleaseDC(window_, dc);
    }
    return measuredWidth_;
}

void LogViewWindow::UpdateScrollBars()
{
    if (!window_) return;
    RECT client{};
    GetClientRect(window_, &client);
    // Both bars are always shown, disabled while everything fits. A bar is
    // set, and drawn, only when it changed: drawing a bar costs more than
    // appending a hundred lines.
    SCROLLINFO v{sizeof v, SIF_ALL | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
    v.nMax = static_cast<int>(std::max<std::size_t>(lines_.Count(), 1) - 1);
    v.nPage = static_cast<UINT>(VisibleLines());
    v.nPos = static_cast<int>(top_);
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

void LogViewWindow::ScrollTo(long long line, int left)
{
    const long long top = std::clamp<long long>(line, 0, static_cast<long long>(MaxTop()));
    RECT client{};
    GetClientRect(window_, &client);
    const int maxLeft = std::max(0, TextWidth() + 2 * kMargin - static_cast<int>(client.right - client.left) + 1);
    left = std::clamp(left, 0, maxLeft);
    if (static_cast<std::size_t>(top) == top_ && left == left_) return;
    top_ = static_cast<std::size_t>(top);
    left_ = left;
    UpdateScrollBars();
    InvalidateRect(window_, nullptr, TRUE);
}

void LogViewWindow::Scrolled(int bar, int request)
{
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
    if (bar == SB_VERT) ScrollTo(pos, left_);
    else ScrollTo(static_cast<long long>(top_), static_cast<int>(std::clamp<long long>(pos, 0, info.nMax)));
}

void LogViewWindow::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    HGDIOBJ old = SelectObject(dc, font_);
    SetBkColor(dc, GetSysColor(COLOR_INFOBK));
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    RECT client{};
    GetClientRect(window_, &client);
    const int visible = VisibleLines() + 1;
    for (int row = 0; row < visible; ++row) {
        const std::size_t line = top_ + static_cast<std::size_t>(row);
        RECT band{client.left, row * lineHeight_, client.right, (row + 1) * lineHeight_};
        if (band.top >= ps.rcPaint.bottom) break;
        if (band.bottom <= ps.rcPaint.top) continue;
        const std::wstring text = line < lines_.Count() ? WideFromCp1252(lines_.Line(line)) : std::wstring();
        // Opaque, so that the band's background and its text are one draw.
        ExtTextOutW(dc, kMargin - left_, band.top, ETO_OPAQUE | ETO_CLIPPED, &band, text.c_str(),
                    static_cast<UINT>(text.size()), nullptr);
    }
    SelectObject(dc, old);
    EndPaint(window_, &ps);
}

LRESULT LogViewWindow::GetText(WPARAM size, wchar_t* buffer) const
{
    // The whole log, as an edit control answers: the first size - 1
    // characters, each byte one character.
    if (size == 0 || !buffer) return 0;
    const std::string& bytes = lines_.Bytes();
    const std::size_t n = std::min<std::size_t>(bytes.size(), size - 1);
    const std::wstring text = WideFromCp1252(std::string_view(bytes).substr(0, n));
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = L'\0';
    return static_cast<LRESULT>(text.size());
}

LRESULT LogViewWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;  // every band is painted opaque
    case WM_SIZE: Filled(false); return 0;
    case WM_VSCROLL: Scrolled(SB_VERT, LOWORD(wParam)); return 0;
    case WM_HSCROLL: Scrolled(SB_HORZ, LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL: {
        UINT lines = 3;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        ScrollTo(static_cast<long long>(top_) - static_cast<long long>(notches) * lines, left_);
        return 0;
    }
    case WM_LBUTTONDOWN: SetFocus(window_); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_KEYDOWN: {
        const long long top = static_cast<long long>(top_);
        const long long page = VisibleLines();
        const bool control = GetKeyState(VK_CONTROL) < 0;
        switch (wParam) {
        case VK_UP: ScrollTo(top - 1, left_); return 0;
        case VK_DOWN: ScrollTo(top + 1, left_); return 0;
        case VK_PRIOR: ScrollTo(top - page, left_); return 0;
        case VK_NEXT: ScrollTo(top + page, left_); return 0;
        case VK_HOME: ScrollTo(control ? 0 : top, 0); return 0;
        case VK_END: ScrollTo(control ? static_cast<long long>(MaxTop()) : top, control ? 0 : TextWidth()); return 0;
        case VK_LEFT: ScrollTo(top, left_ - charWidth_ * 4); return 0;
        case VK_RIGHT: ScrollTo(top, left_ + charWidth_ * 4); return 0;
        default: break;
        }
        break;
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(lines_.Bytes().size());
    case WM_GETTEXT: return GetText(wParam, reinterpret_cast<wchar_t*>(lParam));
    case WM_SETTEXT: return FALSE;  // read-only: the log file decides what it shows
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
