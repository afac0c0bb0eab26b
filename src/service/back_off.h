#pragma once
// How long the service waits before it activates again after a failure:
// the first wait, doubled after each failure in a row, never more than the
// most; a clean cycle or a reload starts again from the first.
#include <algorithm>
#include <chrono>

namespace ligamor {

class BackOff {
public:
    BackOff(std::chrono::milliseconds first, std::chrono::milliseconds most) : first_(first), most_(most), next_(first) {}

    std::chrono::milliseconds Next()
    {
        const std::chrono::milliseconds wait = next_;
        next_ = std::min(next_ * 2, most_);
        return wait;
    }
    void Reset() { next_ = first_; }

private:
    std::chrono::milliseconds first_;
    std::chrono::milliseconds most_;
    std::chrono::milliseconds next_;
};

}  // namespace ligamor
