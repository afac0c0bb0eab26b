#pragma once
// What the fuzz targets share: a property that fails aborts with its text, so
// that libFuzzer keeps the input as a reproducer; a scratch folder of the
// process's own, in TMPDIR, or else in memory where the system has a place.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#define FUZZ_EXPECT(condition)                                                                          \
    do {                                                                                                \
        if (!(condition)) {                                                                             \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);    \
            std::abort();                                                                               \
        }                                                                                               \
    } while (0)

namespace ligamor::fuzz {

// A folder for this process's files, ending with "/", removed at exit.
const std::string& ScratchFolder();

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// The lines of bytes as the shop's text files are read: LF and CR LF end a
// line, a lone CR is dropped, a last line without its end counts, and a Ctrl-Z
// ends the line it stands in and the file. A model of TextFileReader, kept
// simple on purpose.
std::vector<std::string> ModelLines(const std::string& bytes);

}  // namespace ligamor::fuzz
