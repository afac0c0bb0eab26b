#pragma once
// A process killed at a step of ReplaceWholeFile, for the tests: while one of
// these lives, every replacement counts its steps, and from the chosen step on
// each raises Killed, leaving the files as the kill would.
#include "runtime/temporary_files.h"

namespace ligamor::test {

struct Killed {};

class ReplaceKill {
public:
    ReplaceKill() { SetReplaceStepHook(Step); }
    ~ReplaceKill() { SetReplaceStepHook(nullptr); }
    ReplaceKill(const ReplaceKill&) = delete;
    ReplaceKill& operator=(const ReplaceKill&) = delete;

    // Counts from 0 again; 0 lets every step pass.
    void KillAt(int step)
    {
        reached_ = 0;
        killAt_ = step;
    }
    int StepsReached() const { return reached_; }

private:
    static void Step(ReplaceStep)
    {
        ++reached_;
        if (killAt_ != 0 && reached_ >= killAt_) throw Killed{};
    }
    static inline int reached_ = 0;
    static inline int killAt_ = 0;
};

}  // namespace ligamor::test
