#pragma once
// A fresh folder under /tmp (or another parent) for one test, removed with
// everything in it.
#include <string>

namespace ligamor::test {

class TempDir {
public:
    // parent ends with "/".
    explicit TempDir(const std::string& parent = "/tmp/");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The folder's path, ending with "/".
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// The whole file as bytes; "" when it does not exist.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

}  // namespace ligamor::test
