#include "win32/win32_timer.h"

namespace ligamor {

void Win32Timer::AttachTo(HWND window)
{
    window_ = window;
    if (interval_ > 0) SetTimer(window_, id_, static_cast<UINT>(interval_), nullptr);
}

void Win32Timer::SetInterval(int ms)
{
    if (ms < 0) ms = 0;
    if (ms == interval_) return;
    interval_ = ms;
    if (!window_) return;
    if (ms == 0) KillTimer(window_, id_);
    // SetTimer on a running timer starts its count afresh.
    else SetTimer(window_, id_, static_cast<UINT>(ms), nullptr);
}

}  // namespace ligamor
