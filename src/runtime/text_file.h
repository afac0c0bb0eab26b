#pragma once
// Text files as the shop's programs write them: read line by line, bytes kept.
#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/types.h>
#include <vector>

namespace ligamor {

// Maps the system's error code (errno, GetLastError) to the codes of the
// failure table ("File not found" for 2, ...).
int OsErrorCode(int err);

// A file's identity and times as seen when it was opened; a file is "the same"
// only when all of them are unchanged.
struct FileIdentity {
    // Fixed widths: the platforms' own types differ (MinGW's ino_t has 16 bits).
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    long long mtimeNs = 0;  // nanoseconds since 1970, the scale of WallClockNs
    long long ctimeNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

class TextFileReader {
public:
    // Opens for reading; raises IoFailure when it cannot.
    explicit TextFileReader(const std::string& path);
    ~TextFileReader();
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    // The next line without its terminator. LF and CR LF end a line, a lone
    // CR is dropped, a last line without terminator counts, and a Ctrl-Z ends
    // the line it stands in and the file. False at the end of the file.
    bool ReadLine(std::string& line);

    FileIdentity OpenedIdentity() const { return identity_; }

private:
    // The next byte, EOF at the end; raises IoFailure when reading fails.
    int NextByte();

    std::FILE* file_ = nullptr;
    FileIdentity identity_;
    bool atEnd_ = false;
};

// A file read at any offset while its writer may still append to it.
class ReadOnlyFile {
public:
    // Never raises: OpenError tells whether it opened.
    explicit ReadOnlyFile(const std::string& path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // 0 when open; otherwise the system's error number.
    int OpenError() const { return error_; }
    // The name or a folder on its way does not exist.
    bool Missing() const;
    // The system's description of OpenError().
    std::string OpenErrorText() const;
    bool IsRegular() const { return regular_; }
    const FileIdentity& Identity() const { return identity_; }
    // Up to count bytes from offset, fewer at the end of the file as it is
    // while reading. Raises IoFailure "Cannot read file \"<path>\". <text>".
    std::string Read(long long offset, std::size_t count) const;

private:
    std::string path_;
    std::intptr_t handle_ = -1;  // a file descriptor, or a Windows HANDLE
    int error_ = 0;
    bool regular_ = false;
    FileIdentity identity_;
};

// The identity of the file at path now; false when it does not exist.
bool StatFile(const std::string& path, FileIdentity& out);

// True when another program holds the file open for writing, so that reading
// it now would fail or see it half written. Windows tells through its share
// modes; Linux has none (the quiet time and the identity check stand in there)
// and says false.
bool HeldOpenForWriting(const std::string& path);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// Who may read and write a file that ReplaceWholeFile writes.
enum class FileAccess {
    // Its owner alone (0600). On Windows an access list of its user, SYSTEM
    // (the account the service runs as) and Administrators, nothing inherited
    // from the folder.
    Owner,
    // Its owner and the folder's group (0660, given the folder's group): the
    // users of an installed window and the service's user share the file this
    // way. On Windows as Owner.
    OwnerAndFolderGroup,
    // Shop data a technician edits, such as the refused lines: on Linux as
    // OwnerAndFolderGroup, on Windows the access the folder gives the files
    // made in it (the service runs as SYSTEM, the technician as themselves).
    FolderDefault,
    // Nothing secret, for whoever may read the folder: on Linux 0644, whatever
    // the folder's group (a user outside it who may write there still may);
    // on Windows as FolderDefault.
    Readable,
};

// Gives the file the bytes as its whole content, never half: they go to a new
// temporary file of the same directory, no other user able to read it from its
// creation, given its access, flushed to disk and renamed over the file, and
// the directory is flushed. A failure raises IoFailure and leaves the old file
// as it was.
void ReplaceWholeFile(const std::string& path, const std::string& bytes, FileAccess access);

// Flushes the directory's entries to disk; 0 or the OS error code.
int SyncDirectory(const std::string& directory);

// Removes the file; 0 when it is gone or was never there, or the OS error code.
int RemoveFileIfPresent(const std::string& path);

// Appends the bytes at the file's end, creating it when missing: on Linux
// 0660 with the folder's group (0600 where that group cannot be given),
// whatever the umask; on Windows with the access the folder gives its files.
// An existing file keeps its mode.
void AppendToFile(const std::string& path, const std::string& bytes);

// Cuts the file back to size bytes when it is longer (what an interrupted
// append left after them goes); a shorter or missing file stays as it is.
// Raises IoFailure when it cannot.
void CutFileTo(const std::string& path, std::uint64_t size);

// The names in a folder ("." and ".." included); false when it cannot be read.
bool ListDirectory(const std::string& folder, std::vector<std::string>& names);

// Creates one directory; returns 0 or the OS error code.
int MakeDirectory(const std::string& path);

// The directory of the running executable, ending with the path separator.
std::string ExecutableDirectory();

}  // namespace ligamor
