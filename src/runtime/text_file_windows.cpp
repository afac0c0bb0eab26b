// Text files and the file system on Windows: the wide APIs on paths held in
// the ANSI code page.
#include "runtime/text_file.h"

#include <fcntl.h>
#include <io.h>
#include <stdlib.h>

#include <algorithm>

#include "runtime/failures.h"
#include "runtime/temporary_files.h"
#include "runtime/text1252.h"
#include "runtime/win32_support.h"

namespace ligamor {

using detail::HandleOwner;
using detail::Wide;

int OsErrorCode(int err)
{
    // Windows' own codes are those of the table already, but for these.
    switch (err) {
    case ERROR_HANDLE_EOF: return 100;
    case ERROR_DISK_FULL: case ERROR_HANDLE_DISK_FULL: return 101;
    default: return err;
    }
}

namespace {

[[noreturn]] void ThrowLastError()
{
    throw IoFailure(OsErrorCode(static_cast<int>(GetLastError())));
}

HANDLE OpenForReading(const std::string& path, DWORD share, DWORD flags)
{
    return CreateFileW(Wide(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, flags, nullptr);
}

}  // namespace

TextFileReader::TextFileReader(const std::string& path)
{
    // Others may read meanwhile, nobody may write: the opening fails while
    // another program holds the file open for writing, and once open the file
    // cannot change under the reader.
    HandleOwner handle(OpenForReading(path, FILE_SHARE_READ, FILE_FLAG_SEQUENTIAL_SCAN));
    // A folder is refused here with 5, "File access denied", as on Linux.
    if (!handle.valid()) ThrowLastError();
    if (!detail::IdentityOfHandle(handle.get(), identity_)) ThrowLastError();
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle.get()), _O_RDONLY | _O_BINARY);
    if (fd < 0) throw IoFailure(4);
    handle.release();
    file_ = _fdopen(fd, "rb");
    if (!file_) {
        _close(fd);
        throw IoFailure(4);
    }
}

TextFileReader::~TextFileReader()
{
    if (file_) std::fclose(file_);
}

int TextFileReader::NextByte()
{
    const int c = _getc_nolock(file_);
    // The C runtime keeps the system's own code apart from errno.
    if (c == EOF && std::ferror(file_)) throw IoFailure(OsErrorCode(static_cast<int>(_doserrno)));
    return c;
}

ReadOnlyFile::ReadOnlyFile(const std::string& path) : path_(path)
{
    // The log may be appended to, even renamed, while the view reads it.
    const HANDLE handle = OpenForReading(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         FILE_FLAG_BACKUP_SEMANTICS);
    if (handle == INVALID_HANDLE_VALUE) {
        error_ = static_cast<int>(GetLastError());
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(handle);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info) || !detail::IdentityOfHandle(handle, identity_)) {
        error_ = static_cast<int>(GetLastError());
        return;
    }
    regular_ = !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

ReadOnlyFile::~ReadOnlyFile()
{
    if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool ReadOnlyFile::Missing() const
{
    return error_ == ERROR_FILE_NOT_FOUND || error_ == ERROR_PATH_NOT_FOUND;
}

std::string ReadOnlyFile::OpenErrorText() const
{
    return detail::SystemErrorText(static_cast<DWORD>(error_));
}

std::string ReadOnlyFile::Read(long long offset, std::size_t count) const
{
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < count) {
        const std::uint64_t at = static_cast<std::uint64_t>(offset) + bytes.size();
        OVERLAPPED where{};
        where.Offset = static_cast<DWORD>(at);
        where.OffsetHigh = static_cast<DWORD>(at >> 32);
        DWORD n = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(sizeof buffer, count - bytes.size()));
        if (!ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, wanted, &n, &where)) {
            const DWORD err = GetLastError();
            if (err == ERROR_HANDLE_EOF) break;
            throw IoFailure(OsErrorCode(static_cast<int>(err)), "Cannot read file \"" + Cp1252FromLocal(path_) +
                                                                    "\". " + Cp1252FromLocal(detail::SystemErrorText(err)));
        }
        if (n == 0) break;
        bytes.append(buffer, n);
    }
    return bytes;
}

bool StatFile(const std::string& path, FileIdentity& out)
{
    // Attributes only: this opening never conflicts with a writer's share mode.
    HandleOwner handle(CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle.valid()) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle.get(), &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    return detail::IdentityOfHandle(handle.get(), out);
}

bool HeldOpenForWriting(const std::string& path)
{
    // The reader's own share mode: refused exactly when a writer has it open.
    HandleOwner handle(OpenForReading(path, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL));
    return !handle.valid() && GetLastError() == ERROR_SHARING_VIOLATION;
}

bool DirectoryExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// Writes the bytes; 0 or the system's code.
DWORD WriteAll(HANDLE handle, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data() + done, chunk, &written, nullptr)) return GetLastError();
        done += written;
    }
    return 0;
}

void ThrowIfFailed(DWORD err)
{
    if (err != 0) throw IoFailure(OsErrorCode(static_cast<int>(err)));
}

}  // namespace

int SyncDirectory(const std::string&)
{
    // Windows flushes no directory through a handle; the renames that matter
    // are made with MOVEFILE_WRITE_THROUGH, which returns once they are on disk.
    return 0;
}

void ReplaceWholeFile(const std::string& path, const std::string& bytes, FileAccess access)
{
    using detail::ReachedReplaceStep;
    // The access list is the temporary file's from its creation, and the
    // rename keeps it: no other user ever sees the content readable. Both
    // private kinds of access are one list here: the service runs as SYSTEM.
    detail::PrivateFileSecurity security;
    ThrowIfFailed(security.Error());
    const bool inherited = access == FileAccess::FolderDefault || access == FileAccess::Readable;
    SECURITY_ATTRIBUTES* attributes = inherited ? nullptr : security.Attributes();
    std::string temporary;
    HandleOwner handle(detail::CreateUniqueFile(ReplacementStemOf(path), "", attributes, temporary));
    if (!handle.valid()) ThrowLastError();
    // A failure removes the temporary file here; only a killed process leaves
    // it, for the next start's sweep.
    ReachedReplaceStep(ReplaceStep::Created);
    DWORD err = WriteAll(handle.get(), bytes);
    if (err == 0) {
        ReachedReplaceStep(ReplaceStep::Written);
        if (!FlushFileBuffers(handle.get())) err = GetLastError();
    }
    if (err == 0) ReachedReplaceStep(ReplaceStep::Flushed);
    if (!CloseHandle(handle.release()) && err == 0) err = GetLastError();
    if (err == 0 && !MoveFileExW(Wide(temporary).c_str(), Wide(path).c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        err = GetLastError();
    if (err != 0) DeleteFileW(Wide(temporary).c_str());
    ThrowIfFailed(err);
    // The move was written through: the name is on disk with it.
    ReachedReplaceStep(ReplaceStep::Renamed);
    ReachedReplaceStep(ReplaceStep::DirectoryFlushed);
}

void AppendToFile(const std::string& path, const std::string& bytes)
{
    // Append access alone: every write lands at the end of the file.
    HandleOwner handle(CreateFileW(Wide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid()) ThrowLastError();
    DWORD err = WriteAll(handle.get(), bytes);
    if (!CloseHandle(handle.release()) && err == 0) err = GetLastError();
    ThrowIfFailed(err);
}

void CutFileTo(const std::string& path, std::uint64_t size)
{
    FileIdentity now;
    if (!StatFile(path, now) || static_cast<std::uint64_t>(now.size) <= size) return;
    HandleOwner handle(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid()) ThrowLastError();
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFilePointerEx(handle.get(), at, nullptr, FILE_BEGIN) || !SetEndOfFile(handle.get()) ||
        !FlushFileBuffers(handle.get()))
        ThrowLastError();
}

bool ListDirectory(const std::string& folder, std::vector<std::string>& names)
{
    std::string pattern = folder;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/' && pattern.back() != ':')
        pattern += '\\';
    WIN32_FIND_DATAW entry{};
    const HANDLE find = FindFirstFileW(Wide(pattern + "*").c_str(), &entry);
    // An empty drive root has not even "." and "..".
    if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do names.push_back(detail::Narrow(entry.cFileName));
    while (FindNextFileW(find, &entry));
    FindClose(find);
    return true;
}

int MakeDirectory(const std::string& path)
{
    if (CreateDirectoryW(Wide(path).c_str(), nullptr)) return 0;
    return static_cast<int>(GetLastError());
}

std::string ExecutableDirectory()
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return ".\\";
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    return detail::Narrow(buffer.substr(0, buffer.rfind(L'\\') + 1));
}

}  // namespace ligamor
