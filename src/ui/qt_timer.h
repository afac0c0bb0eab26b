#pragma once
// The polling timer seam over QTimer; the main window connects to Ticks().
#include <QTimer>

#include "runtime/timer.h"

namespace ligamor {

class QtTimer : public Timer {
public:
    QtTimer();
    // 0 (or a negative value) stops; a new positive value restarts the count;
    // the value it already has changes nothing.
    void SetInterval(int ms) override;
    int Interval() const override { return interval_; }
    bool Running() const { return timer_.isActive(); }
    QTimer& Ticks() { return timer_; }

private:
    QTimer timer_;
    int interval_ = 0;
};

}  // namespace ligamor
