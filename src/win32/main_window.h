#pragma once
// frmmain on Windows: the one main window, drawn from the system's controls.
// It shows the integration log in rce, the maker's banner and the
// integration's health in the status bar and owns the context menu that switches polling on and off. What the
// window does, and when, is the toolkit-free WindowController's.
#include <windows.h>

#include <string>

#include "engine/untfuncoes.h"
#include "win32/cycle_progress_bar.h"
#include "win32/health_panel.h"
#include "win32/log_view_window.h"
#include "win32/win32_timer.h"
#include "window/window_controller.h"

namespace ligamor {

class MainWindow : private WindowSurface {
public:
    // temporizador must be the timer that integration drives. The window
    // becomes integration's progress hook.
    MainWindow(Integration& integration, Win32Timer& temporizador);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window, hidden, centred on the screen.
    bool Create();
    // FormShow (activation, so that its message comes first), then the
    // window on screen.
    void Show(int how);
    HWND Handle() const { return window_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateChildren();
    void PopupMenu(LPARAM at);
    void Command(int id);

    void ShowChecks(bool ativar, bool desativar) override;
    void CloseWindow() override;
    void BringToFront() override;
    void RunConfigurationDialog() override;
    void StopCycleAfterLine() override { progress_.RequestStop(); }
    void CycleOver() override { progress_.CycleEnded(); }
    void ShowHealth(HealthState state, const std::string& utf8Line) override { lblEstado_.Show(state, utf8Line); }
    void ShowHolder(const std::string& utf8Text) override;
    void ShowHolderProgress(const std::string& fileName, std::size_t done, std::size_t total) override
    {
        progress_.ShowWatched(fileName, done, total);
    }

    Integration& integration_;
    Win32Timer& temporizador_;
    LogViewWindow rce_;
    CycleProgressBar progress_;
    HealthPanel lblEstado_;  // the health beside the banner
    Win32Timer listen_{kListenTimerId};  // the controller's Listen, twice a second
    WindowController controller_;
    HWND window_ = nullptr;
    HWND stbmain_ = nullptr;
    HMENU menu_ = nullptr;        // the menu resource
    HMENU PopupMenu1_ = nullptr;  // its popup, whose items are counted from 0
    HFONT font_ = nullptr;
    std::wstring banner_;  // the banner's part as last set
};

}  // namespace ligamor
