#include "win32/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "runtime/run_handler.h"
#include "win32/resource_ids.h"
#include "win32/settings_dialog.h"
#include "win32/status_bar_layout.h"
#include "win32/wide_text.h"
#include "window/window_appearance.h"

namespace ligamor {

namespace {

constexpr wchar_t kClassName[] = L"Tfrmmain";
constexpr int kViewId = 10;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

}  // namespace

MainWindow::MainWindow(Integration& integration, Win32Timer& temporizador)
    : integration_(integration), temporizador_(temporizador), controller_(integration, rce_, *this, listen_)
{
}

MainWindow::~MainWindow()
{
    if (integration_.progress == &progress_) integration_.progress = nullptr;
    if (window_) DestroyWindow(window_);
    if (menu_) DestroyMenu(menu_);
    if (font_) DeleteObject(font_);
}

bool MainWindow::Create()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &MainWindow::Procedure;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_LIGAMOR));
    wc.hIconSm = wc.hIcon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);

    RECT frame{0, 0, kWindowWidth, kWindowHeight};
    AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    // Centred on the screen's work area when first shown.
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const int left = area.left + (area.right - area.left - width) / 2;
    const int top = area.top + (area.bottom - area.top - height) / 2;
    window_ = CreateWindowExW(0, kClassName, WideFromUtf8(kWindowCaption).c_str(),
                              kStyle, left, top, width, height, nullptr, nullptr, instance, this);
    if (!window_) return false;
    temporizador_.AttachTo(window_);
    listen_.AttachTo(window_);
    integration_.progress = &progress_;
    return true;
}

void MainWindow::CreateChildren()
{
    HDC screen = GetDC(nullptr);
    // MS Sans Serif, 8 points: the status bar's banner and progress text.
    font_ = CreateFontW(-MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
    ReleaseDC(nullptr, screen);
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);

    rce_.Create(window_, kViewId, RECT{0, 0, kWindowWidth, kLogViewHeight});

    // The banner's part first; a leading tab centres its text. No size grip:
    // the window keeps its size.
    stbmain_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE,
                               0, kLogViewHeight, kWindowWidth, kStatusBarHeight, window_, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    SendMessageW(stbmain_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    // The health beside it; the cycle's bar at the right end while a cycle runs.
    lblEstado_.Create(stbmain_, kHealthPanelId);
    progress_.Create(stbmain_);
    ShowHolder({});

    menu_ = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_POPUPMENU1));
    PopupMenu1_ = GetSubMenu(menu_, 0);
}

void MainWindow::Show(int how)
{
    controller_.Shown();
    ShowWindow(window_, how);
    UpdateWindow(window_);
    SetFocus(rce_.Handle());
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    return self->OnMessage(message, wParam, lParam);
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: CreateChildren(); return 0;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == rce_.Handle()) {
            PopupMenu(lParam);
            return 0;
        }
        break;
    case WM_COMMAND:
        if (lParam == 0) {
            Command(LOWORD(wParam));
            return 0;
        }
        break;
    case WM_TIMER:
        if (wParam == kPollingTimerId) {
            controller_.Tick();
            return 0;
        }
        if (wParam == kListenTimerId) {
            controller_.Listen();
            return 0;
        }
        break;
    case WM_SETFOCUS: SetFocus(rce_.Handle()); return 0;
    case WM_CLOSE:
        // The close box acts as "&Fechar".
        if (controller_.CloseRequested()) CloseWindow();
        return 0;
    // The session ending closes the window as "&Fechar" does: a running cycle
    // ends after its current line, and the window then closes.
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
        if (wParam && controller_.CloseRequested()) CloseWindow();
        return 0;
    case WM_DESTROY:
        KillTimer(window_, kPollingTimerId);
        KillTimer(window_, kListenTimerId);
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        HWND self = window_;
        window_ = nullptr;
        SetWindowLongPtrW(self, GWLP_USERDATA, 0);
        return DefWindowProcW(self, message, wParam, lParam);
    }
    default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void MainWindow::PopupMenu(LPARAM at)
{
    POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (point.x == -1 && point.y == -1) {
        // The context-menu key: the menu opens at the view's top left.
        point = POINT{4, 4};
        ClientToScreen(rce_.Handle(), &point);
    }
    TrackPopupMenu(PopupMenu1_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, window_,
                   nullptr);
}

void MainWindow::Command(int id)
{
    switch (id) {
    case IDM_ATIVAR1: controller_.Ativar(); break;
    case IDM_DESATIVAR1: controller_.Desativar(); break;
    case IDM_VISUALIZARLOGS1: controller_.VisualizarLogs(); break;
    case IDM_CONFIGURAES1: controller_.Configuracoes(); break;
    case IDM_FECHAR1: controller_.Fechar(); break;
    default: break;
    }
}

void MainWindow::ShowHolder(const std::string& utf8Text)
{
    // The maker's banner centred (a leading tab), who integrates from the
    // left: beside the health it seldom fits, and its start says who.
    std::wstring banner = utf8Text.empty() ? L"\t" + WideFromUtf8(MakerBanner()) : WideFromUtf8(utf8Text);
    // A watching window tells it twice a second: the parts are shared again
    // only when the text changed, so that the status bar does not flicker.
    if (banner == banner_) return;
    banner_ = std::move(banner);
    SendMessageW(stbmain_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(banner_.c_str()));
    LayOutStatusBar(stbmain_);
}

void MainWindow::ShowChecks(bool ativar, bool desativar)
{
    // The first and second items, as the handlers address them.
    CheckMenuItem(PopupMenu1_, 0, MF_BYPOSITION | (ativar ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(PopupMenu1_, 1, MF_BYPOSITION | (desativar ? MF_CHECKED : MF_UNCHECKED));
}

void MainWindow::CloseWindow()
{
    // The message loop ends once the handler that closed the window has
    // returned.
    if (window_) DestroyWindow(window_);
}

void MainWindow::BringToFront()
{
    if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetFocus(rce_.Handle());
}

void MainWindow::RunConfigurationDialog()
{
    SettingsFormServices services{integration_.settingsFile, integration_.messages, integration_.timer,
                                    integration_.dtmain};
    ShowConfigurationDialog(window_, services);
}

}  // namespace ligamor
