#pragma once
// The log view seam: what ReloadLogView needs of the window's view rce.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ligamor {

// What the view was last filled from, so that a log that only grew is
// refilled with its new bytes instead of read whole at every tick.
struct LogFillState {
    bool filled = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::size_t size = 0;  // bytes of the file the view holds
    std::string tail;      // the last (up to 4 KB) of those bytes
};

class LogView {
public:
    virtual ~LogView() = default;
    virtual void Clear() = 0;
    // Replaces the whole content with the log's bytes (Windows-1252).
    virtual void SetWhole(std::string_view bytes) = 0;
    // Appends bytes that the log file gained since the last fill.
    virtual void AppendTail(std::string_view bytes) = 0;
    // True when the user typed into the view since the last fill.
    virtual bool EditedSinceFill() const = 0;

    // Kept by ReloadLogView; implementations leave it alone.
    LogFillState& FillState() { return fillState_; }

private:
    LogFillState fillState_;
};

// For a front end that shows no log (the service, a benchmark): the log file
// is what counts.
class NoLogView : public LogView {
public:
    void Clear() override {}
    void SetWhole(std::string_view) override {}
    void AppendTail(std::string_view) override {}
    bool EditedSinceFill() const override { return false; }
};

}  // namespace ligamor
