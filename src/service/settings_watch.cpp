#include "service/settings_watch.h"

#include "runtime/clock.h"

namespace ligamor {

void SettingsWatch::Reading()
{
    read_ = {};
    existed_ = StatFile(path_, read_);
}

bool SettingsWatch::Changed(std::chrono::milliseconds quiet) const
{
    FileIdentity now;
    const bool exists = StatFile(path_, now);
    if (exists != existed_) return true;  // a removal is noticed at once: there is nothing left to wait for
    if (!exists || now == read_) return false;
    return now.ctimeNs + std::chrono::nanoseconds(quiet).count() <= WallClockNs();
}

}  // namespace ligamor
