// Text files and the file system on Linux.
#include "runtime/text_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "runtime/clock.h"
#include "runtime/failures.h"
#include "runtime/paths.h"
#include "runtime/temporary_files.h"
#include "runtime/text1252.h"

namespace ligamor {

int OsErrorCode(int err)
{
    switch (err) {
    case ENOENT: return 2;
    case ENOTDIR: case ENAMETOOLONG: return 3;
    case EMFILE: case ENFILE: return 4;
    case EACCES: case EPERM: case EISDIR: case EROFS: return 5;
    case ENOSPC: case EDQUOT: return 101;
    default: return err;
    }
}

namespace {

FileIdentity IdentityOf(const struct stat& st)
{
    FileIdentity id;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    id.size = st.st_size;
    id.mtimeNs = NsSince1970(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    id.ctimeNs = NsSince1970(st.st_ctim.tv_sec, st.st_ctim.tv_nsec);
    return id;
}

[[noreturn]] void ThrowErrno()
{
    throw IoFailure(OsErrorCode(errno));
}

}  // namespace

TextFileReader::TextFileReader(const std::string& path)
{
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) ThrowErrno();
    struct stat st {};
    if (fstat(fileno(file_), &st) != 0) {
        int err = errno;
        std::fclose(file_);
        throw IoFailure(OsErrorCode(err));
    }
    if (S_ISDIR(st.st_mode)) {
        std::fclose(file_);
        throw IoFailure(5);
    }
    identity_ = IdentityOf(st);
}

TextFileReader::~TextFileReader()
{
    if (file_) std::fclose(file_);
}

int TextFileReader::NextByte()
{
    const int c = getc_unlocked(file_);
    if (c == EOF && std::ferror(file_)) ThrowErrno();
    return c;
}

ReadOnlyFile::ReadOnlyFile(const std::string& path)
    : path_(path), handle_(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
{
    struct stat st {};
    if (handle_ < 0 || ::fstat(static_cast<int>(handle_), &st) != 0) {
        error_ = errno;
        return;
    }
    regular_ = S_ISREG(st.st_mode);
    identity_ = IdentityOf(st);
}

ReadOnlyFile::~ReadOnlyFile()
{
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

bool ReadOnlyFile::Missing() const
{
    return error_ == ENOENT || error_ == ENOTDIR;
}

std::string ReadOnlyFile::OpenErrorText() const
{
    return std::strerror(error_);
}

std::string ReadOnlyFile::Read(long long offset, std::size_t count) const
{
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < count) {
        ssize_t n = ::pread(static_cast<int>(handle_), buffer, std::min(sizeof buffer, count - bytes.size()),
                            static_cast<off_t>(offset) + static_cast<off_t>(bytes.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int err = errno;
            throw IoFailure(OsErrorCode(err),
                            "Cannot read file \"" + Cp1252FromLocal(path_) + "\". " + Cp1252FromLocal(std::strerror(err)));
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

bool StatFile(const std::string& path, FileIdentity& out)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    out = IdentityOf(st);
    return true;
}

bool HeldOpenForWriting(const std::string&)
{
    return false;
}

bool DirectoryExists(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

namespace {

// Writes the bytes; 0 or the system's error number.
int WriteBytes(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

// Writes the bytes and closes fd on every path.
void WriteAll(int fd, const std::string& bytes)
{
    const int err = WriteBytes(fd, bytes);
    if (::close(fd) != 0 && err == 0) ThrowErrno();
    if (err != 0) throw IoFailure(OsErrorCode(err));
}

// Closes the descriptor however its scope is left.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // 0 or the system's error number.
    int Close() { return ::close(std::exchange(fd_, -1)) == 0 ? 0 : errno; }

private:
    int fd_;
};

// A temporary file readable by its owner alone (0600), by the folder's group
// too (0660), or by everyone (0644); 0 or the system's error number.
int GiveAccess(int fd, const std::string& directory, FileAccess access)
{
    if (access == FileAccess::Owner) return ::fchmod(fd, 0600) == 0 ? 0 : errno;
    if (access == FileAccess::Readable) return ::fchmod(fd, 0644) == 0 ? 0 : errno;
    // The folder's group explicitly, not only through a setgid folder: a user
    // outside that group is refused here, before anything is replaced.
    struct stat folder {};
    if (::stat(directory.c_str(), &folder) != 0 || ::fchown(fd, static_cast<uid_t>(-1), folder.st_gid) != 0)
        return errno;
    return ::fchmod(fd, 0660) == 0 ? 0 : errno;
}

}  // namespace

int SyncDirectory(const std::string& directory)
{
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int err = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    // Some file systems cannot flush a directory; their names are then as
    // durable as they get.
    return err == EINVAL ? 0 : err;
}

void ReplaceWholeFile(const std::string& path, const std::string& bytes, FileAccess access)
{
    using detail::ReachedReplaceStep;
    const std::string directory = DirectoryOf(path);
    std::string temporary = ReplacementStemOf(path) + "XXXXXX";
    // mkostemp creates the file with mode 0600: no other user ever sees it
    // readable before its group and mode are set.
    Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0) ThrowErrno();
    // A failure removes the temporary file here; only a killed process leaves
    // it, for the next start's sweep.
    int err = GiveAccess(file.get(), directory, access);
    if (err == 0) {
        ReachedReplaceStep(ReplaceStep::Created);
        err = WriteBytes(file.get(), bytes);
    }
    if (err == 0) {
        ReachedReplaceStep(ReplaceStep::Written);
        if (::fsync(file.get()) != 0) err = errno;
    }
    if (err == 0) {
        ReachedReplaceStep(ReplaceStep::Flushed);
        err = file.Close();
    }
    if (err == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) err = errno;
    if (err != 0) {
        ::unlink(temporary.c_str());
        throw IoFailure(OsErrorCode(err));
    }
    ReachedReplaceStep(ReplaceStep::Renamed);
    // The new content is in place already; this only hastens its name to disk.
    (void)SyncDirectory(directory);
    ReachedReplaceStep(ReplaceStep::DirectoryFlushed);
}

namespace {

// A new file for appending: the log holds customers' personal data, so it is
// born readable by its owner alone and then opened to the folder's group
// (0660), whatever the umask; where the group cannot be given it stays 0600.
int CreateForAppending(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return fd;
    struct stat folder {};
    if (::stat(DirectoryOf(path).c_str(), &folder) == 0 && ::fchown(fd, static_cast<uid_t>(-1), folder.st_gid) == 0)
        (void)::fchmod(fd, 0660);
    return fd;
}

}  // namespace

void AppendToFile(const std::string& path, const std::string& bytes)
{
    // An existing file keeps the mode and group it has.
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = CreateForAppending(path);
        if (fd < 0 && errno == EEXIST) fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    }
    if (fd < 0) ThrowErrno();
    WriteAll(fd, bytes);
}

void CutFileTo(const std::string& path, std::uint64_t size)
{
    FileIdentity now;
    if (!StatFile(path, now) || static_cast<std::uint64_t>(now.size) <= size) return;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) ThrowErrno();
    const int cut = ::ftruncate(fd, static_cast<off_t>(size)) == 0 && ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    if (cut != 0) {
        errno = cut;
        ThrowErrno();
    }
}

bool ListDirectory(const std::string& folder, std::vector<std::string>& names)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return false;
    while (const dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
    ::closedir(dir);
    return true;
}

int MakeDirectory(const std::string& path)
{
    if (::mkdir(path.c_str(), 0755) == 0) return 0;
    return errno;
}

std::string ExecutableDirectory()
{
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "./";
    std::string path(buf, static_cast<std::size_t>(n));
    return path.substr(0, path.rfind('/') + 1);
}

}  // namespace ligamor
