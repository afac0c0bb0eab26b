#pragma once
// The log view seam: what ReloadLogView needs of the window's view rce.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ligamor {

// What the view was last filled from, so that a log that only grew is
// refilled with its new bytes instead of read whole at every tick. The file is
// named from the start of a fill on: a view that draws only the lines on
// screen reads them back from there instead of holding the log.
struct LogFillState {
    bool filled = false;
    std::string path;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::size_t size = 0;  // bytes of the file the view holds
    std::string tail;      // the last (up to 4 KB) of those bytes
};

class LogView {
public:
    virtual ~LogView() = default;
    virtual void Clear() = 0;
    // Replaces the whole content with the log's bytes (Windows-1252). A large
    // log comes in pieces: its first piece here, the others by AppendTail, so
    // that neither the engine nor the view need hold it whole.
    virtual void SetWhole(std::string_view bytes) = 0;
    // Appends bytes that the log file gained since the last fill, or the next
    // piece of a log being filled.
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
