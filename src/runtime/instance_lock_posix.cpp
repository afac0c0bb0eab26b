// The instance lock on POSIX systems: flock on the lock file.
#include "runtime/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace ligamor {

namespace {

bool SameFile(int a, int b)
{
    struct stat sa{}, sb{};
    return fstat(a, &sa) == 0 && fstat(b, &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace

void InstanceLock::Release()
{
    if (handle_ != -1) close(static_cast<int>(handle_));  // closing the last descriptor ends the flock
    handle_ = -1;
}

InstanceLock::Outcome InstanceLock::Acquire(const std::string& path)
{
    // The window's user and the service's user may differ: whoever comes
    // second may only read the file the first made, and flock works on a
    // descriptor opened for reading as well.
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) detail::ThrowLockFailure(detail::LockStep::Open, path, errno);
    // flock belongs to the open file: a second descriptor of the file this
    // process already holds would be refused by our own lock.
    if (handle_ != -1 && SameFile(fd, static_cast<int>(handle_))) {
        close(fd);
        return Outcome::Held;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        close(fd);
        if (err == EWOULDBLOCK) return Outcome::TakenByAnother;
        detail::ThrowLockFailure(detail::LockStep::Lock, path, err);
    }
    // flock cannot be asked about without taking it; a shared record lock on
    // the same open file can (HeldByAnyone). Shared, so that a descriptor
    // opened for reading takes it too; the flock alone decides who integrates.
    struct flock shown{};
    shown.l_type = F_RDLCK;
    shown.l_whence = SEEK_SET;
    fcntl(fd, F_OFD_SETLK, &shown);  // without it only asking goes blind
    Release();
    handle_ = fd;
    return Outcome::Held;
}

bool InstanceLock::HeldByAnyone(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct flock asked{};
    asked.l_type = F_WRLCK;
    asked.l_whence = SEEK_SET;
    if (fcntl(fd, F_OFD_GETLK, &asked) != 0) {
        asked = {};
        asked.l_type = F_WRLCK;
        asked.l_whence = SEEK_SET;
        if (fcntl(fd, F_GETLK, &asked) != 0) asked.l_type = F_UNLCK;
    }
    close(fd);
    return asked.l_type != F_UNLCK;
}

}  // namespace ligamor
