#pragma once
// The polling timer seam over a window timer: its ticks arrive as WM_TIMER
// with kPollingTimerId in the window's queue, between the other messages.
#include <windows.h>

#include "runtime/timer.h"

namespace ligamor {

inline constexpr UINT_PTR kPollingTimerId = 1;
// The window's own cadence beside the polling: requests and the watched
// integration (WindowController::Listen).
inline constexpr UINT_PTR kListenTimerId = 2;

class Win32Timer : public Timer {
public:
    explicit Win32Timer(UINT_PTR id = kPollingTimerId) : id_(id) {}
    UINT_PTR Id() const { return id_; }
    // The window that receives the ticks; until it exists, the interval is
    // only kept and applies once it is given.
    void AttachTo(HWND window);
    // 0 (or a negative value) stops; a new positive value restarts the count;
    // the value it already has changes nothing.
    void SetInterval(int ms) override;
    int Interval() const override { return interval_; }

private:
    UINT_PTR id_;
    HWND window_ = nullptr;
    int interval_ = 0;
};

}  // namespace ligamor
