#pragma once
// A file for bytes that must leave memory for a while: made in the directory
// of the data it stands for (so it shares that directory's protection and
// volume, never the system's temporary folder), opened by its owner alone, and
// gone with its handle, also when the program dies: it can never be left
// behind, nor read by a later run. Each platform has its own
// spool_file_<platform>.cpp.
#include <cstddef>
#include <cstdint>
#include <string>

namespace ligamor {

// How the file comes to have no name.
enum class SpoolNaming {
    // Linux: made without a name (O_TMPFILE), or by Named where the directory's
    // file system cannot. Windows: as Named.
    Nameless,
    // Made under a unique name, ".ligamor-" and six letters and ".tmp", that
    // no other program ever takes: on Linux removed at once (0600 meanwhile),
    // on Windows kept, unshared, until the file is closed
    // (FILE_FLAG_DELETE_ON_CLOSE).
    Named,
};

class SpoolFile {
public:
    SpoolFile() = default;
    ~SpoolFile();  // the file is gone
    SpoolFile(const SpoolFile&) = delete;
    SpoolFile& operator=(const SpoolFile&) = delete;

    // directory ends with the path separator. 0, or the system's error code
    // (then nothing is made).
    int Create(const std::string& directory, SpoolNaming naming = SpoolNaming::Nameless);
    // Appends the bytes; 0 or the system's error code.
    int Write(const char* bytes, std::size_t count);
    // Up to count bytes from offset into buffer, fewer only at the end of the
    // file; read tells how many. 0 or the system's error code.
    int Read(std::uint64_t offset, char* buffer, std::size_t count, std::size_t& read) const;
    // What Write has appended.
    std::uint64_t Size() const { return size_; }
    bool IsOpen() const { return handle_ != -1; }

private:
    std::intptr_t handle_ = -1;  // a file descriptor, or a Windows HANDLE
    std::uint64_t size_ = 0;
};

}  // namespace ligamor
