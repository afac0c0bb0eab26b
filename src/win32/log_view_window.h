#pragma once
// rce on Windows: the window's view of the integration log, a control of our
// own that draws only the lines on screen from LogLines. A system edit or
// rich-edit control would hold the whole log as UTF-16 with its line layout,
// and lays out every line on each fill; a year's log would take seconds.
// The view is read-only: what it shows is always the log file.
#include <windows.h>

#include <string_view>

#include "engine/log_view.h"
#include "win32/log_lines.h"

namespace ligamor {

class LogViewWindow : public LogView {
public:
    LogViewWindow() = default;
    LogViewWindow(const LogViewWindow&) = delete;
    LogViewWindow& operator=(const LogViewWindow&) = delete;
    ~LogViewWindow() override;

    // A child of parent at the given place; its right click and the context
    // menu key reach parent as WM_CONTEXTMENU.
    HWND Create(HWND parent, int id, RECT place);
    HWND Handle() const { return window_; }

    void Clear() override;
    void SetWhole(std::string_view bytes) override;
    void AppendTail(std::string_view bytes) override;
    bool EditedSinceFill() const override { return false; }

    const LogLines& Lines() const { return lines_; }
    std::size_t TopLine() const { return top_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    // firstChanged: the first line whose text changed; lines above it are
    // not drawn again unless the view scrolled.
    void Filled(bool followEnd, std::size_t firstChanged = 0);
    void UpdateScrollBars();
    void ScrollTo(long long line, int left);
    int VisibleLines() const;
    std::size_t MaxTop() const;
    int TextWidth() const;
    bool AtEnd() const;
    LRESULT GetText(WPARAM size, wchar_t* buffer) const;
    void Scrolled(int bar, int request);

    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    int lineHeight_ = 13;
    int charWidth_ = 5;
    LogLines lines_;
    std::size_t top_ = 0;  // first line on screen
    int left_ = 0;         // pixels scrolled to the right
    // A refill empties the view first; where the reader was is taken then.
    bool cleared_ = false;
    bool atEndBeforeClear_ = false;
    std::size_t topBeforeClear_ = 0;
    // The width of the longest line, measured once per longest line.
    mutable std::size_t measuredLine_ = static_cast<std::size_t>(-1);
    mutable std::size_t measuredBytes_ = 0;
    mutable int measuredWidth_ = 0;
    // What the scroll bars were last given.
    bool barsSet_ = false;
    SCROLLINFO vertical_{};
    SCROLLINFO horizontal_{};
};

}  // namespace ligamor
