#include "ui/qt_timer.h"

namespace ligamor {

QtTimer::QtTimer()
{
    timer_.setTimerType(Qt::PreciseTimer);
}

void QtTimer::SetInterval(int ms)
{
    if (ms == interval_) return;
    interval_ = ms;
    if (ms <= 0) {
        timer_.stop();
        return;
    }
    timer_.start(ms);
}

}  // namespace ligamor
