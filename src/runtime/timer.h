#pragma once
// The polling timer seam. Interval 0 stops it; a new non-zero interval starts
// it afresh; setting the interval it already has changes nothing.
namespace ligamor {

class Timer {
public:
    virtual ~Timer() = default;
    virtual void SetInterval(int ms) = 0;
    virtual int Interval() const = 0;
};

}  // namespace ligamor
