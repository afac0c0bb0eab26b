#pragma once
// A fresh folder under the system's temporary folder (or another parent) for
// one test, removed with everything in it.
#include <set>
#include <string>

namespace ligamor::test {

class TempDir {
public:
    // parent ends with the path separator; "" is the system's temporary
    // folder (/tmp/, or Windows' own).
    explicit TempDir(const std::string& parent = "");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The folder's path, ending with the path separator.
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// The whole file as bytes; "" when it does not exist.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// The names in a folder; none when the folder does not exist.
std::set<std::string> ListDir(const std::string& folder);

}  // namespace ligamor::test
