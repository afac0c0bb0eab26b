#pragma once
// rce on Windows: the window's view of the integration log, a control of our
// own that draws only the lines on screen from the shared LogPane. A system
// edit or rich-edit control would hold the whole log as UTF-16 with its line
// layout, and lays out every line on each fill; a year's log would take
// seconds. The view is read-only (what it shows is always the log file);
// lines are selected with the mouse or Shift and the arrow keys, and Ctrl+C
// (or WM_COPY) copies them.
#include <windows.h>

#include <string_view>

#include "window/log_pane.h"

namespace ligamor {

class LogViewWindow : public LogPane {
public:
    LogViewWindow() = default;
    LogViewWindow(const LogViewWindow&) = delete;
    LogViewWindow& operator=(const LogViewWindow&) = delete;
    ~LogViewWindow() override;

    // A child of parent at the given place; its right click and the context
    // menu key reach parent as WM_CONTEXTMENU.
    HWND Create(HWND parent, int id, RECT place);
    HWND Handle() const { return window_; }

    // Puts the selected lines on the clipboard.
    void Copy() const;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    // firstChanged: the first line whose text changed; lines above it are
    // not drawn again unless the view scrolled.
    void Refilled(std::size_t firstChanged, std::size_t oldTop) override;
    void Resized();
    void UpdateScrollBars();
    void MoveTo(long long line, int left);
    int TextWidth() const;
    LRESULT GetText(WPARAM size, wchar_t* buffer) const;
    void Scrolled(int bar, int request);
    std::size_t LineAt(int y) const;
    void Selected(std::size_t line, bool extend);
    bool OnKey(WPARAM key);

    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    int lineHeight_ = 13;
    int charWidth_ = 5;
    int left_ = 0;  // pixels scrolled to the right
    // What the scroll bars were last given, and whether a fill changed
    // what they should show since.
    bool barsSet_ = false;
    bool barsStale_ = false;
    SCROLLINFO vertical_{};
    SCROLLINFO horizontal_{};
};

}  // namespace ligamor
