// The spool file on Windows: a unique name nobody else may open, removed by
// the system when its handle is closed, also when the program dies.
#include "runtime/spool_file.h"

#include <algorithm>

#include "runtime/temporary_files.h"
#include "runtime/win32_support.h"

namespace ligamor {

namespace {

// One call moves at most this much: a DWORD's count.
constexpr std::size_t kChunk = std::size_t{1} << 30;

HANDLE HandleOf(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

OVERLAPPED At(std::uint64_t offset)
{
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

}  // namespace

SpoolFile::~SpoolFile()
{
    if (handle_ != -1) CloseHandle(HandleOf(handle_));
}

int SpoolFile::Create(const std::string& directory, SpoolNaming)
{
    // The access list of the settings file (the user, SYSTEM, Administrators):
    // only its creator ever opens it.
    detail::PrivateFileSecurity security;
    if (security.Error() != 0) return static_cast<int>(security.Error());
    std::string name;
    // Temporary: the system keeps it in its cache rather than hurrying it to disk.
    const HANDLE handle =
        detail::CreateUniqueFile(ScratchStemIn(directory), std::string(kScratchEnd), security.Attributes(), name,
                                 GENERIC_READ | GENERIC_WRITE, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE);
    if (handle == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
    if (handle_ != -1) CloseHandle(HandleOf(handle_));
    handle_ = reinterpret_cast<std::intptr_t>(handle);
    size_ = 0;
    return 0;
}

int SpoolFile::Write(const char* bytes, std::size_t count)
{
    while (count > 0) {
        // At its own offset: a read in between moves the handle's position.
        OVERLAPPED where = At(size_);
        DWORD written = 0;
        if (!WriteFile(HandleOf(handle_), bytes, static_cast<DWORD>(std::min(count, kChunk)), &written, &where))
            return static_cast<int>(GetLastError());
        size_ += written;
        bytes += written;
        count -= written;
    }
    return 0;
}

int SpoolFile::Read(std::uint64_t offset, char* buffer, std::size_t count, std::size_t& read) const
{
    read = 0;
    while (read < count) {
        OVERLAPPED where = At(offset + read);
        DWORD n = 0;
        if (!ReadFile(HandleOf(handle_), buffer + read, static_cast<DWORD>(std::min(count - read, kChunk)), &n,
                      &where)) {
            const DWORD err = GetLastError();
            if (err == ERROR_HANDLE_EOF) break;
            return static_cast<int>(err);
        }
        if (n == 0) break;
        read += n;
    }
    return 0;
}

}  // namespace ligamor
