// ligamor-service: the integration without a window, for a service manager,
// a container or a script.
#include <algorithm>
#include <string>
#include <vector>

#include "config/command_line.h"
#include "runtime/console.h"
#include "runtime/service_host.h"
#include "runtime/service_install.h"
#include "runtime/system_log.h"
#include "runtime/text_file.h"
#include "service/service.h"
#include "service/status_command.h"

int main(int argc, char* argv[])
{
    using namespace ligamor;
    CommandLine line;
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        line = ParseCommandLine(args, FrontEnd::Service);
    } catch (const UsageError& e) {
        // A monitoring agent's check with a wrong argument is UNKNOWN, never a stopped integration.
        const auto given = [&args](const char* option) {
            return std::find(args.begin(), args.end(), option) != args.end();
        };
        if (given("--status")) return StatusUsageError(e.what(), given("--json"), given("--prometheus"));
        WriteText(StandardStream::Error, std::string("ligamor-service: ") + e.what() + "\n" + UsageText(FrontEnd::Service));
        return kExitUsage;
    }
    if (line.help || line.version) {
        WriteText(StandardStream::Output, line.help ? UsageText(FrontEnd::Service) : VersionText(FrontEnd::Service) + "\n");
        return kExitDone;
    }
    if (!line.install.empty() || !line.remove.empty()) {
        const std::string failure = line.install.empty() ? RemoveNamedService(line.remove)
                                                         : InstallNamedService(line.install, line.settingsFile);
        if (failure.empty()) return kExitDone;
        WriteText(StandardStream::Error, "ligamor-service: " + failure + "\n");
        return kExitFailed;
    }
    if (line.status) return ShowStatus(SettingsFileOf(line, ExecutableDirectory()), line.json, line.prometheus);
    const ServiceOptions options{.settingsFile = SettingsFileOf(line, ExecutableDirectory()),
                                 .once = line.once,
                                 .retryFirst = line.retryFirst,
                                 .retryMost = line.retryMost};
    // The name the installer gives the service, or the one --instalar gave;
    // the manager runs one per process. Its events go to the source of that name.
    const std::string name = line.serviceName.empty() ? "ligamor" : line.serviceName;
    if (!line.serviceName.empty()) SetSystemLogSource(name);
    return RunHosted(name, [&options] { return RunService(options); });
}
