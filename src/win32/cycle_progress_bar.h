#pragma once
// The window's side of a cycle on Windows, as WindowProgress is on Linux: the
// bar in the status bar, and the window's messages let through between two
// lines, both paced by PacedProgress.
#include <windows.h>

#include <cstddef>
#include <string>

#include "window/paced_progress.h"

namespace ligamor {

// Lets the queued messages of the thread through, as the message loop would;
// a WM_QUIT met there is posted again for the loop.
void PumpMessages();

class CycleProgressBar : public PacedProgress {
public:
    // A hidden child of the status bar, whose layout gives it its place
    // when it shows (status_bar_layout.h).
    HWND Create(HWND statusBar);
    HWND Handle() const { return bar_; }

    // Between cycles: bar hidden, no stop pending.
    void CycleEnded();

protected:
    void Show(const std::string& fileName, std::size_t done, std::size_t total) override;
    void LetEventsThrough() override { PumpMessages(); }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    HWND bar_ = nullptr;
    HFONT font_ = nullptr;
    std::size_t done_ = 0;
    std::size_t total_ = 0;
    std::wstring widest_;  // the running file's widest text, for its part's width
};

}  // namespace ligamor
