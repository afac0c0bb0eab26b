// The steps of a move on Linux: renameat2 with RENAME_NOREPLACE (or link and
// unlink where a file system lacks it), and a flushed copy with mkostemps.
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/file_move.h"
#include "runtime/file_move_platform.h"
#include "runtime/temporary_files.h"
#include "runtime/text1252.h"

namespace ligamor {

namespace detail {

// One name on one file system: 0, EEXIST when the name is taken, or the error.
int RenameNoReplace(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return errno;
    // File systems without RENAME_NOREPLACE (NFS): link refuses an existing target.
    if (::link(from.c_str(), to.c_str()) != 0) return errno;
    if (::unlink(from.c_str()) != 0) {
        const int err = errno;
        ::unlink(to.c_str());
        return err;
    }
    return 0;
}

bool NameTaken(int osError)
{
    return osError == EEXIST;
}

bool OtherVolume(int osError)
{
    return osError == EXDEV;
}

namespace {

int CopyBytes(int in, int out)
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0) return 0;
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buffer + done, static_cast<std::size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            done += w;
        }
    }
}

}  // namespace

// With the original's mode and times.
int CopyToTemporary(const std::string& from, const std::string& directory, std::string& temporary)
{
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return errno;
    struct stat st {};
    std::string name = ScratchStemIn(directory) + "XXXXXX" + std::string(kScratchEnd);
    const int out = ::fstat(in, &st) == 0 ? ::mkostemps(name.data(), static_cast<int>(kScratchEnd.size()), O_CLOEXEC) : -1;
    if (out < 0) {
        const int err = errno;
        ::close(in);
        return err;
    }
    int err = CopyBytes(in, out);
    ::close(in);
    if (err == 0 && ::fchmod(out, st.st_mode & 0777) != 0) err = errno;
    if (err == 0) {
        const timespec times[2] = {st.st_atim, st.st_mtim};
        (void)::futimens(out, times);  // the times are a courtesy, not the data
        if (::fsync(out) != 0) err = errno;
    }
    if (::close(out) != 0 && err == 0) err = errno;
    if (err != 0) ::unlink(name.c_str());
    else temporary = name;
    return err;
}

int RemoveFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

}  // namespace detail

std::string OsErrorReason(int osError)
{
    switch (osError) {
    case EACCES: case EPERM: return Cp1252("permissão negada");
    case ENOENT: return Cp1252("arquivo ou diretório inexistente");
    case ENOTDIR: return Cp1252("o caminho não é um diretório");
    case ENOSPC: return Cp1252("disco cheio");
    case EDQUOT: return Cp1252("cota de disco esgotada");
    case EROFS: return Cp1252("sistema de arquivos somente para leitura");
    case EIO: return Cp1252("erro de entrada e saída no disco");
    case EEXIST: return Cp1252("nome já existente");
    case ENAMETOOLONG: return Cp1252("nome longo demais");
    case EBUSY: case ETXTBSY: return Cp1252("arquivo em uso");
    default: {
        const char* text = ::strerrordesc_np(osError);
        return text ? text : Cp1252("erro do sistema");
    }
    }
}

}  // namespace ligamor
