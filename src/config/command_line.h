#pragma once
// The command line of both front ends: which settings file to use, help and
// version, and for the window-less service one cycle only and its back-off.
#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

namespace ligamor {

enum class FrontEnd { Window, Service };

// The service's wait before it activates again after a failure: the first,
// and the most that doubling reaches. Its --help shows these.
inline constexpr std::chrono::milliseconds kRetryFirstDefault{10'000};
inline constexpr std::chrono::milliseconds kRetryMostDefault{300'000};

struct CommandLine {
    std::string settingsFile;  // absolute; empty: DefaultSettingsFile()
    bool help = false;
    bool version = false;
    // Service only.
    bool once = false;
    bool status = false;  // --status: how the running integration is doing
    bool json = false;    // with --status: the whole status as JSON
    bool prometheus = false;  // with --status: metrics in Prometheus' text format
    // A service of its own name (Windows): --servico runs as it, --instalar
    // adds it for the settings file, --remover takes it away.
    std::string serviceName;
    std::string install;
    std::string remove;
    std::chrono::milliseconds retryFirst{kRetryFirstDefault};
    std::chrono::milliseconds retryMost{kRetryMostDefault};
};

// Bad usage; its text says what was wrong (UTF-8).
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// args without the program's name. lenient skips what it does not know (the
// window looks for --help and --version before its toolkit takes its own
// options); otherwise an unknown option raises UsageError.
CommandLine ParseCommandLine(const std::vector<std::string>& args, FrontEnd frontEnd, bool lenient = false);

// The --help text (UTF-8), ending with a line end.
std::string UsageText(FrontEnd frontEnd);

// "ligamor 1.0.0" or "ligamor-service 1.0.0".
std::string VersionText(FrontEnd frontEnd);

// The settings file the front end reads: the one named, or the default one of
// a program in executableDirectory.
std::string SettingsFileOf(const CommandLine& line, const std::string& executableDirectory);

}  // namespace ligamor
