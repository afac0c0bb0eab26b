// Both programs' command lines: refused with a reason, or read into options
// that hold together (an absolute settings file, a back-off that never
// shrinks, --json only with --status, no service option for the window) and
// that, written out again, read the same.
#include <cstdint>
#include <string>
#include <vector>

#include "config/command_line.h"
#include "fuzz_support.h"

using namespace ligamor;

namespace {

bool Same(const CommandLine& a, const CommandLine& b)
{
    return a.settingsFile == b.settingsFile && a.help == b.help && a.version == b.version && a.once == b.once &&
           a.status == b.status && a.json == b.json && a.retryFirst == b.retryFirst && a.retryMost == b.retryMost;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const FrontEnd frontEnd = data[0] & 1 ? FrontEnd::Service : FrontEnd::Window;
    const bool lenient = data[0] & 2;
    std::vector<std::string> args(1);
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0) args.emplace_back();
        else args.back() += static_cast<char>(data[i]);
    }
    if (size == 1) args.clear();

    CommandLine line;
    try {
        line = ParseCommandLine(args, frontEnd, lenient);
    } catch (const UsageError& e) {
        FUZZ_EXPECT(*e.what() != '\0');
        return 0;
    }
    FUZZ_EXPECT(line.settingsFile.empty() || line.settingsFile[0] == '/');
    FUZZ_EXPECT(line.retryFirst.count() > 0 && line.retryMost >= line.retryFirst);
    FUZZ_EXPECT(!line.json || line.status);
    if (frontEnd == FrontEnd::Window)
        FUZZ_EXPECT(!line.once && !line.status && line.retryFirst == kRetryFirstDefault &&
                    line.retryMost == kRetryMostDefault);

    std::vector<std::string> written;
    if (!line.settingsFile.empty()) written.push_back("--config=" + line.settingsFile);
    if (line.help) written.push_back("--help");
    if (line.version) written.push_back("--version");
    if (line.once) written.push_back("--once");
    if (line.status) written.push_back("--status");
    if (line.json) written.push_back("--json");
    if (frontEnd == FrontEnd::Service) {
        written.push_back("--retry-first");
        written.push_back(std::to_string(line.retryFirst.count()));
        written.push_back("--retry-max=" + std::to_string(line.retryMost.count()));
    }
    FUZZ_EXPECT(Same(ParseCommandLine(written, frontEnd), line));
    return 0;
}
