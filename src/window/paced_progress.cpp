#include "window/paced_progress.h"

namespace ligamor {

void PacedProgress::LineApplied(const std::string& fileName, std::size_t done, std::size_t total)
{
    const Clock::time_point now = Clock::now();
    // A new file and a file's last line are always shown: the name changes,
    // and a short file would otherwise never reach its end on screen.
    if (done == 0 || done == total || now >= nextDisplay_) {
        Show(fileName, done, total);
        nextDisplay_ = now + intervals.display;
    }
    if (done == 0 || now >= nextEvents_) {
        LetEventsThrough();
        nextEvents_ = Clock::now() + intervals.events;
    }
}

}  // namespace ligamor
