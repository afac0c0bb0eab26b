#pragma once
// The window's side of a cycle, whichever toolkit draws it: between two lines
// it lets the window's events through, so that the window repaints and its
// menu opens while a catalogue of tens of thousands of lines is applied, and
// it shows which file is at which line. Both happen only now and then: a line
// costs about a millisecond, and neither may add a measurable share to it.
#include <chrono>
#include <cstddef>
#include <string>

#include "engine/cycle_progress.h"

namespace ligamor {

class PacedProgress : public CycleProgress {
public:
    struct Intervals {
        // Between two turns of the event loop: the menu opens within this
        // plus one line.
        std::chrono::milliseconds events{50};
        // Between two changes of the bar: a few a second are enough to read.
        std::chrono::milliseconds display{250};
    };

    void LineApplied(const std::string& fileName, std::size_t done, std::size_t total) final;
    bool StopRequested() final { return stopRequested_; }

    // The cycle that runs ends after its current line.
    void RequestStop() { stopRequested_ = true; }
    // Another integration's cycle, as its status file told it: shown as is.
    void ShowWatched(const std::string& fileName, std::size_t done, std::size_t total) { Show(fileName, done, total); }

    // Zero for both: every line is shown and lets the event loop run.
    Intervals intervals;

protected:
    // The bar shows fileName at line done of total.
    virtual void Show(const std::string& fileName, std::size_t done, std::size_t total) = 0;
    // The toolkit's queued events are handled, as its event loop would.
    virtual void LetEventsThrough() = 0;
    // Between cycles again: no stop pending.
    void ClearStop() { stopRequested_ = false; }

private:
    using Clock = std::chrono::steady_clock;
    bool stopRequested_ = false;
    Clock::time_point nextEvents_{};
    Clock::time_point nextDisplay_{};
};

}  // namespace ligamor
