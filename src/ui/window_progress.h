#pragma once
// The window's side of a cycle: between two lines it lets the event loop run,
// so that the window repaints and its menu opens while a catalogue of tens of
// thousands of lines is applied, and it shows which file is at which line.
// Both happen only now and then: a line costs about a millisecond, and neither
// may add a measurable share to it.
#include <QProgressBar>
#include <QString>
#include <chrono>
#include <cstddef>
#include <string>

#include "engine/cycle_progress.h"

namespace ligamor {

// "PRODUTO.TXT: 4.500 de 20.000 linhas"
QString ProgressText(const std::string& fileName, std::size_t done, std::size_t total);

class WindowProgress : public CycleProgress {
public:
    struct Intervals {
        // Between two turns of the event loop: the menu opens within this
        // plus one line.
        std::chrono::milliseconds events{50};
        // Between two changes of the bar: a few a second are enough to read.
        std::chrono::milliseconds display{250};
    };

    // bar stays hidden outside cycles.
    explicit WindowProgress(QProgressBar& bar);

    void LineApplied(const std::string& fileName, std::size_t done, std::size_t total) override;
    bool StopRequested() override { return stopRequested_; }

    // The cycle that runs ends after its current line.
    void RequestStop() { stopRequested_ = true; }
    // The window as it is between cycles: bar hidden, no stop pending.
    void CycleEnded();

    // Zero for both: every line is shown and lets the event loop run.
    Intervals intervals;

private:
    using Clock = std::chrono::steady_clock;
    void Show(const std::string& fileName, std::size_t done, std::size_t total);

    QProgressBar& bar_;
    bool stopRequested_ = false;
    Clock::time_point nextEvents_{};
    Clock::time_point nextDisplay_{};
};

}  // namespace ligamor
