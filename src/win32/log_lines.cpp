#include "win32/log_lines.h"

#include <algorithm>

namespace ligamor {

void LogLines::Clear()
{
    bytes_.clear();
    bytes_.shrink_to_fit();
    starts_.assign(1, 0);
    longest_ = 0;
}

void LogLines::SetWhole(std::string_view bytes)
{
    Clear();
    // Room for the lines a day adds: the first append after a fill must not
    // copy the whole log into a larger buffer.
    bytes_.reserve(bytes.size() + std::max<std::size_t>(bytes.size() / 32, 1 << 20));
    bytes_.assign(bytes);
    starts_.clear();
    // About a hundred bytes a line: one allocation instead of twenty doublings.
    starts_.reserve(bytes_.size() / 64 + 1);
    IndexFrom(0);
}

void LogLines::Append(std::string_view bytes)
{
    if (bytes.empty()) return;
    const std::size_t old = bytes_.size();
    bytes_.append(bytes);
    // The last line is open: it may grow, and a CR that ended the old bytes
    // may find its LF now.
    std::size_t from = starts_.back();
    if (from == old && old > 0 && bytes_[old - 1] == '\r' && bytes.front() == '\n') {
        starts_.back() = old + 1;
        from = old + 1;
    }
    starts_.pop_back();
    IndexFrom(from);
}

void LogLines::IndexFrom(std::size_t lineStart)
{
    starts_.push_back(lineStart);
    const std::size_t n = bytes_.size();
    const char* data = bytes_.data();
    for (std::size_t i = lineStart; i < n; ++i) {
        const char c = data[i];
        if (c != '\n' && c != '\r') continue;
        if (c == '\r' && i + 1 < n && data[i + 1] == '\n') ++i;
        starts_.push_back(i + 1);
    }
    // Only the lines just indexed can be longer than the longest so far.
    for (std::size_t line = starts_.size(); line-- > 0;) {
        if (Line(line).size() > Line(longest_).size()) longest_ = line;
        if (starts_[line] <= lineStart) break;
    }
}

std::string_view LogLines::Line(std::size_t i) const
{
    const std::size_t begin = starts_[i];
    std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] : bytes_.size();
    while (end > begin && (bytes_[end - 1] == '\n' || bytes_[end - 1] == '\r')) --end;
    return std::string_view(bytes_).substr(begin, end - begin);
}

}  // namespace ligamor
