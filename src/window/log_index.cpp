#include "window/log_index.h"

#include <algorithm>
#include <memory>

#include "runtime/failures.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"

namespace ligamor {

namespace {

constexpr std::size_t kLinesPerMark = 64;
// A mark also follows every line that ends this far from the last one, so
// that no line before the one wanted costs more than this to skip, and a line
// longer than kShownBytes always has a mark where the next line starts.
constexpr std::size_t kBytesPerMark = LogIndex::kShownBytes;
static_assert(kBytesPerMark <= LogIndex::kShownBytes);
// What is kept of the log's end, and what is read back at once.
constexpr std::size_t kKeptBytes = 65536;

bool EndsLine(char c)
{
    return c == '\n' || c == '\r';
}

}  // namespace

// The log file while one call reads lines back: opened at the first read,
// and only when it is still the file that was indexed.
class LogIndex::Reader {
public:
    explicit Reader(const LogIndex& index) : index_(index) {}

    std::string Read(std::size_t offset, std::size_t count)
    {
        if (!file_ && !failed_) {
            file_ = std::make_unique<ReadOnlyFile>(index_.path_);
            const FileIdentity& id = file_->Identity();
            failed_ = index_.path_.empty() || file_->OpenError() != 0 || id.device != index_.device_ ||
                      id.inode != index_.inode_;
        }
        if (failed_) return {};
        try {
            return file_->Read(static_cast<long long>(offset), count);
        } catch (const Failure&) {
            // Drawing goes on; the next refill reports what is wrong with the log.
            failed_ = true;
            return {};
        }
    }

private:
    const LogIndex& index_;
    std::unique_ptr<ReadOnlyFile> file_;
    bool failed_ = false;
};

void LogIndex::Clear()
{
    *this = LogIndex();
}

void LogIndex::SetWhole(const LogFillState& fill, std::string_view bytes)
{
    Clear();
    path_ = fill.path;
    device_ = fill.device;
    inode_ = fill.inode;
    Append(bytes);
}

void LogIndex::Append(std::string_view bytes)
{
    if (bytes.empty()) return;
    Keep(bytes);
    Index(bytes);
}

void LogIndex::Keep(std::string_view bytes)
{
    if (keptAt_ + kept_.size() != size_ || bytes.size() >= kKeptBytes) {
        keptAt_ = size_ + bytes.size();
        if (bytes.size() > kKeptBytes) bytes.remove_prefix(bytes.size() - kKeptBytes);
        keptAt_ -= bytes.size();
        kept_.assign(bytes);
        return;
    }
    kept_.append(bytes);
    if (kept_.size() > kKeptBytes) {
        const std::size_t drop = kept_.size() - kKeptBytes;
        kept_.erase(0, drop);
        keptAt_ += drop;
    }
}

void LogIndex::Index(std::string_view bytes)
{
    const std::size_t base = size_;
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    // The LF of a CR LF whose CR ended the last bytes: that CR already ended
    // the line.
    if (endsWithCr_ && bytes.front() == '\n' && openStart_ == base) {
        openStart_ = base + 1;
        if (marks_.back().line == lines_ - 1) marks_.back().offset = openStart_;
        i = 1;
    }
    const char* data = bytes.data();
    for (; i < n; ++i) {
        const char c = data[i];
        // Nearly every byte is past CR: one comparison for them.
        if (c > '\r' || !EndsLine(c)) continue;
        const std::size_t end = base + i;
        if (c == '\r' && i + 1 < n && data[i + 1] == '\n') ++i;
        const std::size_t next = base + i + 1;
        if (end - openStart_ > longestBytes_) {
            longest_ = lines_ - 1;
            longestBytes_ = end - openStart_;
        }
        ++lines_;
        openStart_ = next;
        const Mark& last = marks_.back();
        if (lines_ - 1 - last.line >= kLinesPerMark || next - last.offset >= kBytesPerMark)
            marks_.push_back({lines_ - 1, next});
    }
    size_ = base + n;
    endsWithCr_ = bytes.back() == '\r';
}

std::size_t LogIndex::Longest() const
{
    return size_ - openStart_ > longestBytes_ ? lines_ - 1 : longest_;
}

std::size_t LogIndex::LongestBytes() const
{
    return std::max(size_ - openStart_, longestBytes_);
}

std::size_t LogIndex::NextLineStart(std::size_t line) const
{
    const auto mark = std::lower_bound(marks_.begin(), marks_.end(), line + 1,
                                       [](const Mark& m, std::size_t l) { return m.line < l; });
    return mark != marks_.end() && mark->line == line + 1 ? mark->offset : std::string::npos;
}

// Calls each(line, bytes) for lines first .. last in order; bytes cut at
// kShownBytes when cut. each returns false to stop.
template <class Each>
void LogIndex::Scan(std::size_t first, std::size_t last, bool cut, Each&& each) const
{
    if (first >= lines_) return;
    last = std::min(last, lines_ - 1);
    Reader reader(*this);
    // The bytes from offset on that are at hand, read back when they are not.
    const auto at = [&](std::size_t offset) -> std::string_view {
        if (offset >= size_) return {};
        const std::string* bytes = &kept_;
        std::size_t from = keptAt_;
        if (offset < keptAt_) {
            if (offset < readBackAt_ || offset >= readBackAt_ + readBack_.size()) {
                readBack_ = reader.Read(offset, std::min(kKeptBytes, keptAt_ - offset));
                readBackAt_ = offset;
            }
            bytes = &readBack_;
            from = readBackAt_;
        }
        const std::size_t skip = offset - from;
        if (skip >= bytes->size()) return {};
        return std::string_view(*bytes).substr(skip, std::min(bytes->size() - skip, size_ - offset));
    };

    const auto mark = std::upper_bound(marks_.begin(), marks_.end(), first,
                                       [](std::size_t l, const Mark& m) { return l < m.line; }) - 1;
    std::size_t line = mark->line;
    std::size_t pos = mark->offset;
    std::string bytes;
    for (; line <= last; ++line) {
        const bool wanted = line >= first;
        const bool open = line == lines_ - 1;
        if (open) pos = openStart_;
        bytes.clear();
        std::size_t scanned = 0;
        for (;;) {
            const std::string_view piece = at(pos);
            if (piece.empty()) break;  // the end of what is indexed, or unreadable
            std::size_t take = piece.size();
            std::size_t end = std::string_view::npos;
            if (!open) {
                end = static_cast<std::size_t>(std::find_if(piece.begin(), piece.end(), EndsLine) - piece.begin());
                if (end < piece.size()) take = end;
                else end = std::string_view::npos;
            }
            if (wanted) bytes.append(piece.substr(0, cut ? std::min(take, kShownBytes - bytes.size()) : take));
            scanned += take;
            if (end != std::string_view::npos) {
                const bool cr = piece[end] == '\r';
                pos += end + 1;
                if (cr) {
                    const std::string_view after = at(pos);
                    if (!after.empty() && after.front() == '\n') ++pos;
                }
                break;
            }
            pos += take;
            if (open && (!wanted || (cut && bytes.size() >= kShownBytes))) break;
            // A long line: the rest of it is not needed, and a mark says
            // where the next line starts.
            if (scanned >= kShownBytes && (!wanted || cut)) {
                const std::size_t next = NextLineStart(line);
                if (next != std::string::npos) {
                    pos = next;
                    break;
                }
            }
        }
        if (wanted && !each(line, bytes)) return;
    }
}

std::vector<std::u16string> LogIndex::Shown(std::size_t first, std::size_t count) const
{
    std::vector<std::u16string> shown;
    if (count == 0) return shown;
    Scan(first, first + count - 1, true, [&](std::size_t, const std::string& bytes) {
        shown.push_back(Utf16FromCp1252(bytes));
        return true;
    });
    return shown;
}

std::u16string LogIndex::Text(std::size_t first, std::size_t last, std::u16string_view lineEnd,
                              std::size_t limit) const
{
    std::u16string text;
    Scan(first, last, false, [&](std::size_t line, const std::string& bytes) {
        if (line > first) text += lineEnd;
        text += Utf16FromCp1252(bytes);
        if (text.size() < limit) return true;
        text.resize(limit);
        return false;
    });
    return text;
}

}  // namespace ligamor
