#pragma once
// What a front end learns between two lines of a cycle, and how it asks the
// cycle to stop there. A catalogue of 100,000 lines runs for minutes at one
// commit per line: the window must keep answering, and a service must stop
// between two lines when it is told to.
#include <cstddef>
#include <string>

namespace ligamor {

class CycleProgress {
public:
    virtual ~CycleProgress() = default;

    // Before a file's first line (done == 0) and after each of its lines.
    // fileName is the input file's name in the table ("PRODUTO.TXT"); total
    // is the number of lines the file held when the cycle counted them.
    virtual void LineApplied(const std::string& fileName, std::size_t done, std::size_t total) = 0;

    // Asked after each line. True ends the cycle there as a failed cycle ends
    // (SilentAbort): the file's log block is dropped, nothing is moved, the
    // timer stays stopped, and the next cycle reads the files again whole.
    virtual bool StopRequested() = 0;
};

}  // namespace ligamor
