#pragma once
// The integration's health in the status bar, beside the banner: a child of
// the status bar over its health part, as lblEstado is in the Linux window.
// As much of the line as fits, all of it as the tool tip and as the window's
// text (what a screen reader or a test reads); a failure in white on red,
// bold, a late integration in black on amber, so that both are seen from
// across the room.
#include <windows.h>

#include <string>

#include "engine/health.h"

namespace ligamor {

class HealthPanel {
public:
    HealthPanel() = default;
    HealthPanel(const HealthPanel&) = delete;
    HealthPanel& operator=(const HealthPanel&) = delete;
    ~HealthPanel();

    // A child of the status bar with the given id, empty until the first
    // Show; the status bar's layout gives it its place, again whenever its
    // line changes.
    HWND Create(HWND statusBar, int id);
    HWND Handle() const { return panel_; }

    void Show(HealthState state, const std::string& utf8Line);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    // The state's font: bold for a failure.
    HFONT Font() const;
    // The whole line's width, margins included (kNeededWidthMessage).
    int NeededWidth() const;

    HWND panel_ = nullptr;
    HWND tip_ = nullptr;
    HFONT font_ = nullptr;  // the status bar's, not ours
    HFONT bold_ = nullptr;
    HealthState state_ = HealthState::Normal;
    std::wstring line_;
};

}  // namespace ligamor
