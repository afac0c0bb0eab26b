#pragma once
// Test doubles of the seams: they record what the core asked for, in order.
#include <string>
#include <vector>

#include "runtime/clock.h"
#include "runtime/messages.h"
#include "runtime/timer.h"

namespace ligamor::test {

struct Shown {
    enum Kind { Information, Error, Plain, Report } kind;
    std::string text;
    bool operator==(const Shown&) const = default;
};

class RecordingMessages : public Messages {
public:
    void InformationBox(const std::string& text) override { shown.push_back({Shown::Information, text}); }
    void ErrorBox(const std::string& text) override { shown.push_back({Shown::Error, text}); }
    void PlainMessage(const std::string& text) override { shown.push_back({Shown::Plain, text}); }
    void ErrorReport(const std::string& text) override { shown.push_back({Shown::Report, text}); }
    std::vector<Shown> shown;
};

class FakeTimer : public Timer {
public:
    void SetInterval(int ms) override
    {
        interval = ms;
        intervals.push_back(ms);
    }
    int Interval() const override { return interval; }
    int interval = 0;
    std::vector<int> intervals;
};

class FixedClock : public Clock {
public:
    explicit FixedClock(DateTime t = {2026, 12, 6, 14, 37, 1}) : now(t) {}
    DateTime Now() const override { return now; }
    DateTime now;
};

}  // namespace ligamor::test
