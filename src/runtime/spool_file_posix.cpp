// The spool file on Linux: made without a name where the file system can
// (O_TMPFILE), else under a unique name removed at once.
#include "runtime/spool_file.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "runtime/temporary_files.h"

namespace ligamor {

namespace {

// Nobody but its creator ever opens it: 0600, stricter than the log's 0660.
constexpr mode_t kMode = 0600;
// One call moves at most this much: Linux stops a single write short of 2 GiB.
constexpr std::size_t kChunk = std::size_t{1} << 30;

// The kernel or the directory's file system has no O_TMPFILE.
bool NoTmpfile(int err)
{
    return err == EOPNOTSUPP || err == EISDIR || err == EINVAL;
}

int CreateNamed(const std::string& directory, int& fd)
{
    // The six letters are unique among every program on the directory.
    std::string name = ScratchStemIn(directory) + "XXXXXX" + std::string(kScratchEnd);
    fd = ::mkostemps(name.data(), static_cast<int>(kScratchEnd.size()), O_CLOEXEC);
    if (fd < 0) return errno;
    if (::unlink(name.c_str()) == 0) return 0;
    const int err = errno;
    ::close(fd);
    fd = -1;
    return err;
}

}  // namespace

SpoolFile::~SpoolFile()
{
    if (handle_ != -1) ::close(static_cast<int>(handle_));
}

int SpoolFile::Create(const std::string& directory, [[maybe_unused]] SpoolNaming naming)
{
    int fd = -1;
    int err = 0;
#ifdef O_TMPFILE
    if (naming == SpoolNaming::Nameless) {
        fd = ::open(directory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, kMode);
        if (fd < 0) err = errno;
    }
#endif
    // err stays 0 when O_TMPFILE was not tried.
    if (fd < 0 && (err == 0 || NoTmpfile(err))) err = CreateNamed(directory, fd);
    if (fd < 0) return err;
    if (handle_ != -1) ::close(static_cast<int>(handle_));
    handle_ = fd;
    size_ = 0;
    return 0;
}

int SpoolFile::Write(const char* bytes, std::size_t count)
{
    while (count > 0) {
        const ssize_t n = ::pwrite(static_cast<int>(handle_), bytes, std::min(count, kChunk), static_cast<off_t>(size_));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        size_ += static_cast<std::uint64_t>(n);
        bytes += n;
        count -= static_cast<std::size_t>(n);
    }
    return 0;
}

int SpoolFile::Read(std::uint64_t offset, char* buffer, std::size_t count, std::size_t& read) const
{
    read = 0;
    while (read < count) {
        const ssize_t n = ::pread(static_cast<int>(handle_), buffer + read, std::min(count - read, kChunk),
                                  static_cast<off_t>(offset + read));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) break;
        read += static_cast<std::size_t>(n);
    }
    return 0;
}

}  // namespace ligamor
