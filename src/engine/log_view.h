#pragma once
// The log view seam: what ReloadLogView needs of the window's view rce.
#include <string>
#include <string_view>

namespace ligamor {

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
};

}  // namespace ligamor
