// The standard error stream on POSIX systems.
#include "runtime/console.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace ligamor {

void WriteText(StandardStream stream, const std::string& bytes)
{
    const int fd = stream == StandardStream::Output ? STDOUT_FILENO : STDERR_FILENO;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;  // nowhere to tell it
        done += static_cast<std::size_t>(written);
    }
}

bool ErrorStreamIsJournal()
{
    // The journal names the stream it gave the service as "device:inode".
    const char* stream = std::getenv("JOURNAL_STREAM");
    if (!stream) return false;
    unsigned long long device = 0, inode = 0;
    if (std::sscanf(stream, "%llu:%llu", &device, &inode) != 2) return false;
    struct stat st{};
    return fstat(STDERR_FILENO, &st) == 0 && st.st_dev == device && st.st_ino == inode;
}

}  // namespace ligamor
