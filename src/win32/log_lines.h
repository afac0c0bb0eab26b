#pragma once
// The log view's text: the log's Windows-1252 bytes as they are and where
// each line starts. A year's log is a hundred megabytes; only the lines on
// screen are ever decoded, so holding the bytes costs half of UTF-16 and a
// refill that added lines indexes only those.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ligamor {

class LogLines {
public:
    void Clear();
    void SetWhole(std::string_view bytes);
    // Bytes that the log gained. CR LF, LF and a lone CR end a line; a CR LF
    // split between two appends ends one line, not two.
    void Append(std::string_view bytes);

    // The text ends with an empty line after its last line end, as an editor
    // shows it; an empty text is one empty line.
    std::size_t Count() const { return starts_.size(); }
    // Line i without its line end.
    std::string_view Line(std::size_t i) const;
    // The line of the most bytes: the widest, near enough, in a log whose
    // lines are all the same kind of text.
    std::size_t Longest() const { return longest_; }
    const std::string& Bytes() const { return bytes_; }

private:
    void IndexFrom(std::size_t lineStart);

    std::string bytes_;
    std::vector<std::size_t> starts_{0};
    std::size_t longest_ = 0;
};

}  // namespace ligamor
