#pragma once
// The log texts of one input file, kept out of memory until the file is
// committed: a file of a million lines must not cost its log block in memory.
// The block reaches the log only after the commit, and only once.
#include <string>

namespace ligamor {

class LogBlock {
public:
    // Nothing is written before the first text.
    explicit LogBlock(const std::string& logDirectory);
    ~LogBlock();
    LogBlock(const LogBlock&) = delete;
    LogBlock& operator=(const LogBlock&) = delete;

    // One line's text, in the order of the lines.
    void Add(const std::string& text);
    // After the commit: the texts, each followed by CR LF, appended to the
    // integration log; with none, the log is still created when missing.
    // Once only: a second call appends nothing.
    void AppendToLog();

private:
    struct Spool;
    std::string logDirectory_;
    Spool* spool_ = nullptr;
};

}  // namespace ligamor
