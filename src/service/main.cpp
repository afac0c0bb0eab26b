// ligamor-service: the integration without a window, for a service manager,
// a container or a script.
#include <cstdio>
#include <string>
#include <vector>

#include "config/command_line.h"
#include "runtime/text_file.h"
#include "service/service.h"

int main(int argc, char* argv[])
{
    using namespace ligamor;
    CommandLine line;
    try {
        line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), FrontEnd::Service);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "ligamor-service: %s\n%s", e.what(), UsageText(FrontEnd::Service).c_str());
        return kExitUsage;
    }
    if (line.help || line.version) {
        std::fputs((line.help ? UsageText(FrontEnd::Service) : VersionText(FrontEnd::Service) + "\n").c_str(), stdout);
        return kExitDone;
    }
    return RunService({.settingsFile = SettingsFileOf(line, ExecutableDirectory()),
                       .once = line.once,
                       .retryFirst = line.retryFirst,
                       .retryMost = line.retryMost});
}
