#pragma once
// The window's side of a cycle on Windows, as WindowProgress is on Linux:
// between two lines it lets the window's messages through, so that the window
// repaints and its menu opens while a catalogue of tens of thousands of lines
// is applied, and a bar in the status bar shows which file is at which line.
// Both happen only now and then: a line costs about a millisecond.
#include <windows.h>

#include <chrono>
#include <cstddef>
#include <string>

#include "engine/cycle_progress.h"

namespace ligamor {

class CycleProgressBar : public CycleProgress {
public:
    struct Intervals {
        std::chrono::milliseconds events{50};
        std::chrono::milliseconds display{250};
    };

    // A hidden child of parent (the status bar) at the given place.
    HWND Create(HWND parent, RECT place);
    HWND Handle() const { return bar_; }

    void LineApplied(const std::string& fileName, std::size_t done, std::size_t total) override;
    bool StopRequested() override { return stopRequested_; }

    void RequestStop() { stopRequested_ = true; }
    // Between cycles: bar hidden, no stop pending.
    void CycleEnded();

    Intervals intervals;

private:
    using Clock = std::chrono::steady_clock;
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void Show(const std::string& fileName, std::size_t done, std::size_t total);

    HWND bar_ = nullptr;
    HFONT font_ = nullptr;
    std::size_t done_ = 0;
    std::size_t total_ = 0;
    bool stopRequested_ = false;
    Clock::time_point nextEvents_{};
    Clock::time_point nextDisplay_{};
};

// Lets the queued messages of the thread through, as the message loop would;
// a WM_QUIT met there is posted again for the loop.
void PumpMessages();

}  // namespace ligamor
