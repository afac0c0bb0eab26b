#include "engine/integration_log.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/failures.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"

namespace ligamor {

std::string IntegrationLogPath(const std::string& logDirectory)
{
    return logDirectory + kIntegrationLogName;
}

void AppendToIntegrationLog(const std::string& logDirectory, const std::vector<std::string>& texts)
{
    const std::string path = IntegrationLogPath(logDirectory);
    if (texts.empty()) {
        AppendToFile(path, "");
        return;
    }
    // One open per text: every text is in the file before the next is written.
    for (const std::string& text : texts) AppendToFile(path, text + "\r\n");
}

namespace {

constexpr std::size_t kTailSize = 4096;

class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~ReadOnlyFile()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

[[noreturn]] void ThrowCannotOpen(const std::string& path, int err)
{
    throw Failure("Cannot open file \"" + Cp1252FromLocal(path) + "\". " + Cp1252FromLocal(std::strerror(err)));
}

// Up to count bytes from offset, fewer at the end of the file as it is while
// reading.
std::string ReadRange(int fd, off_t offset, std::size_t count, const std::string& path)
{
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < count) {
        ssize_t n = ::pread(fd, buffer, std::min(sizeof buffer, count - bytes.size()),
                            offset + static_cast<off_t>(bytes.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int err = errno;
            throw IoFailure(OsErrorCode(err), "Cannot read file \"" + Cp1252FromLocal(path) + "\". " +
                                                  Cp1252FromLocal(std::strerror(err)));
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

// From offset to the end of the file as it is while reading.
std::string ReadFrom(int fd, off_t offset, const std::string& path)
{
    return ReadRange(fd, offset, std::string::npos, path);
}

std::string LastBytes(const std::string& bytes)
{
    return bytes.size() <= kTailSize ? bytes : bytes.substr(bytes.size() - kTailSize);
}

}  // namespace

void ReloadLogView(LogView& view, const std::string& path)
{
    LogFillState& state = view.FillState();
    ReadOnlyFile file(path);
    struct stat st {};
    if (file.fd() < 0 || ::fstat(file.fd(), &st) != 0) {
        int err = errno;
        state = {};
        view.Clear();
        if (err == ENOENT || err == ENOTDIR) return;  // no log yet: an empty view
        ThrowCannotOpen(path, err);
    }
    if (!S_ISREG(st.st_mode)) {
        state = {};
        view.Clear();
        return;
    }

    // The log is append-only: when it is the same file, not shorter, and the
    // bytes before the old end are still those shown, only its end is new.
    const bool grown = state.filled && !view.EditedSinceFill() && st.st_dev == state.device &&
                       st.st_ino == state.inode && static_cast<std::size_t>(st.st_size) >= state.size &&
                       ReadRange(file.fd(), static_cast<off_t>(state.size - state.tail.size()), state.tail.size(),
                                 path) == state.tail;
    if (grown) {
        std::string added = ReadFrom(file.fd(), static_cast<off_t>(state.size), path);
        if (!added.empty()) {
            view.AppendTail(added);
            state.size += added.size();
            state.tail = LastBytes(state.tail + added);
        }
        return;
    }

    state = {};
    std::string whole = ReadFrom(file.fd(), 0, path);
    view.Clear();
    view.SetWhole(whole);
    state.filled = true;
    state.device = st.st_dev;
    state.inode = st.st_ino;
    state.size = whole.size();
    state.tail = LastBytes(whole);
}

}  // namespace ligamor
