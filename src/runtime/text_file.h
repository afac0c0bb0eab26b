#pragma once
// Text files as the shop's programs write them: read line by line, bytes kept.
#include <cstdio>
#include <string>
#include <sys/types.h>

namespace ligamor {

// Maps errno to the codes of the failure table ("File not found" for 2, ...).
int OsErrorCode(int err);

// A file's identity and times as seen when it was opened; a file is "the same"
// only when all of them are unchanged.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long long mtimeNs = 0;
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

    // True once the file was read to its end; a Ctrl-Z counts as the end.
    bool AtEnd() const { return atEnd_; }
    FileIdentity OpenedIdentity() const { return identity_; }

private:
    std::FILE* file_ = nullptr;
    FileIdentity identity_;
    bool atEnd_ = false;
};

// The identity of the file at path now; false when it does not exist.
bool StatFile(const std::string& path, FileIdentity& out);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// Gives the file the bytes as its whole content, never half: they go to a new
// temporary file of the same directory, created with mode (0600 keeps a
// password from other users), flushed to disk and renamed over the file, and
// the directory is flushed. A failure raises IoFailure and leaves the old file
// as it was.
void ReplaceWholeFile(const std::string& path, const std::string& bytes, mode_t mode = 0644);

// The directory part of a path, ending with "/"; "./" for a bare name.
std::string DirectoryOf(const std::string& path);

// Flushes the directory's entries to disk; 0 or the OS error code.
int SyncDirectory(const std::string& directory);

// Appends the bytes at the file's end, creating it when missing.
void AppendToFile(const std::string& path, const std::string& bytes);

// Creates one directory; returns 0 or the OS error code.
int MakeDirectory(const std::string& path);

// The directory of the running executable, ending with "/".
std::string ExecutableDirectory();

}  // namespace ligamor
