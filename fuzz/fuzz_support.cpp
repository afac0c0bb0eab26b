#include "fuzz_support.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace ligamor::fuzz {

namespace {

struct Scratch {
    std::string path;
    ~Scratch() { std::filesystem::remove_all(path); }
};

}  // namespace

const std::string& ScratchFolder()
{
    static const Scratch folder = [] {
        namespace fs = std::filesystem;
        // In memory where there is a place for it: the targets write files at every run.
        const char* tmpdir = std::getenv("TMPDIR");
        const fs::path parent = tmpdir && *tmpdir          ? fs::path(tmpdir)
                                : fs::is_directory("/dev/shm") ? fs::path("/dev/shm")
                                                               : fs::temp_directory_path();
        std::string pattern = (parent / "ligamor-fuzz-XXXXXX").string();
        FUZZ_EXPECT(::mkdtemp(pattern.data()) != nullptr);
        return Scratch{pattern + "/"};
    }();
    return folder.path;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    FUZZ_EXPECT(out.good());
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> ModelLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::string line;
    bool open = false;  // a line has begun
    for (const char c : bytes) {
        if (c == 26) {
            if (!line.empty()) lines.push_back(line);
            return lines;
        }
        open = true;
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
        } else if (c != '\r') {
            line += c;
        }
    }
    if (open) lines.push_back(line);
    return lines;
}

}  // namespace ligamor::fuzz
