#pragma once
// The log as both windows' views show it: where its lines are, and the text
// of the lines asked for. A year's log is a hundred megabytes and a million
// lines; the index keeps a mark every 64 lines (sooner after long lines) and
// the log's last 64 KB, and reads any other line back from the log file, so
// that what it holds hardly grows with the log and a fill is one pass over
// the bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/log_view.h"

namespace ligamor {

class LogIndex {
public:
    // Longer lines are shown cut there; copying gives them whole. A log the
    // program writes has lines of a few hundred bytes; a file left half
    // written by a power cut can hold megabytes of zeros without a line end.
    static constexpr std::size_t kShownBytes = 16384;

    void Clear();
    // The log starts over with these bytes, its first; lines no longer kept
    // are read back from the file that fill names, as long as it is the same
    // file (the next fill follows a replaced one).
    void SetWhole(const LogFillState& fill, std::string_view bytes);
    // Bytes that the log gained. CR LF, LF and a lone CR end a line; a CR LF
    // split between two appends ends one line, not two.
    void Append(std::string_view bytes);

    // The text ends with an empty line after its last line end, as an editor
    // shows it; an empty text is one empty line.
    std::size_t Count() const { return lines_; }
    // The line of the most bytes: the widest, near enough, in a log whose
    // lines are all the same kind of text.
    std::size_t Longest() const;
    std::size_t LongestBytes() const;
    // The bytes indexed.
    std::size_t Size() const { return size_; }

    // Lines first .. first + count - 1, as far as there are, decoded and each
    // cut at kShownBytes. A line that cannot be read back is empty.
    std::vector<std::u16string> Shown(std::size_t first, std::size_t count) const;
    // Lines first .. last, whole and decoded, lineEnd between them; at most
    // limit units.
    std::u16string Text(std::size_t first, std::size_t last, std::u16string_view lineEnd,
                        std::size_t limit = std::u16string::npos) const;

private:
    struct Mark {
        std::size_t line;
        std::size_t offset;
    };
    class Reader;
    template <class Each>
    void Scan(std::size_t first, std::size_t last, bool cut, Each&& each) const;
    std::size_t NextLineStart(std::size_t line) const;
    void Index(std::string_view bytes);
    void Keep(std::string_view bytes);

    std::string path_;
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
    std::size_t size_ = 0;
    std::size_t lines_ = 1;
    std::size_t openStart_ = 0;  // where the last line, still open, starts
    bool endsWithCr_ = false;
    std::vector<Mark> marks_{{0, 0}};
    std::size_t longest_ = 0;
    std::size_t longestBytes_ = 0;
    // Bytes at hand: the log's end, where a reader following it stands, and
    // the part last read back.
    std::string kept_;
    std::size_t keptAt_ = 0;
    mutable std::string readBack_;
    mutable std::size_t readBackAt_ = 0;
};

}  // namespace ligamor
