// The steps of a move on Windows: MoveFileExW without MOVEFILE_REPLACE_EXISTING,
// and a flushed copy of the handles' bytes.
#include "runtime/file_move.h"
#include "runtime/file_move_platform.h"
#include "runtime/temporary_files.h"
#include "runtime/text1252.h"
#include "runtime/win32_support.h"

namespace ligamor {

namespace detail {

int RenameNoReplace(const std::string& from, const std::string& to)
{
    // No MOVEFILE_COPY_ALLOWED: to another volume the move fails, and the
    // portable part copies with the same guarantees as on Linux.
    // WRITE_THROUGH: it returns once the new name is on disk.
    if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_WRITE_THROUGH)) return 0;
    return static_cast<int>(GetLastError());
}

bool NameTaken(int osError)
{
    return osError == ERROR_ALREADY_EXISTS || osError == ERROR_FILE_EXISTS;
}

bool OtherVolume(int osError)
{
    return osError == ERROR_NOT_SAME_DEVICE;
}

namespace {

DWORD CopyBytes(HANDLE in, HANDLE out)
{
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(in, buffer, sizeof buffer, &n, nullptr)) return GetLastError();
        if (n == 0) return 0;
        for (DWORD done = 0; done < n;) {
            DWORD written = 0;
            if (!WriteFile(out, buffer + done, n - done, &written, nullptr)) return GetLastError();
            done += written;
        }
    }
}

}  // namespace

// With the original's times.
int CopyToTemporary(const std::string& from, const std::string& directory, std::string& temporary)
{
    // Nobody may write the original while it is copied.
    HandleOwner in(CreateFileW(Wide(from).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in.valid()) return static_cast<int>(GetLastError());
    std::string name;
    HandleOwner out(CreateUniqueFile(ScratchStemIn(directory), std::string(kScratchEnd), nullptr, name));
    if (!out.valid()) return static_cast<int>(GetLastError());
    DWORD err = CopyBytes(in.get(), out.get());
    if (err == 0) {
        FILETIME created{}, accessed{}, written{};
        // The times are a courtesy, not the data.
        if (GetFileTime(in.get(), &created, &accessed, &written)) SetFileTime(out.get(), nullptr, &accessed, &written);
        if (!FlushFileBuffers(out.get())) err = GetLastError();
    }
    if (!CloseHandle(out.release()) && err == 0) err = GetLastError();
    if (err != 0) DeleteFileW(Wide(name).c_str());
    else temporary = name;
    return static_cast<int>(err);
}

int RemoveFile(const std::string& path)
{
    return DeleteFileW(Wide(path).c_str()) ? 0 : static_cast<int>(GetLastError());
}

}  // namespace detail

std::string OsErrorReason(int osError)
{
    switch (osError) {
    case ERROR_ACCESS_DENIED: return Cp1252("permissão negada");
    case ERROR_FILE_NOT_FOUND: case ERROR_PATH_NOT_FOUND: return Cp1252("arquivo ou diretório inexistente");
    case ERROR_DIRECTORY: return Cp1252("o caminho não é um diretório");
    case ERROR_DISK_FULL: case ERROR_HANDLE_DISK_FULL: return Cp1252("disco cheio");
    case ERROR_WRITE_PROTECT: return Cp1252("sistema de arquivos somente para leitura");
    case ERROR_CRC: case ERROR_READ_FAULT: case ERROR_WRITE_FAULT: return Cp1252("erro de entrada e saída no disco");
    case ERROR_ALREADY_EXISTS: case ERROR_FILE_EXISTS: return Cp1252("nome já existente");
    case ERROR_FILENAME_EXCED_RANGE: return Cp1252("nome longo demais");
    case ERROR_SHARING_VIOLATION: case ERROR_LOCK_VIOLATION: return Cp1252("arquivo em uso");
    default: return Cp1252FromLocal(detail::SystemErrorText(static_cast<DWORD>(osError)));
    }
}

}  // namespace ligamor
