#include "service/status_command.h"

#include "config/settings.h"
#include "engine/health_metrics.h"
#include "engine/holder_status.h"
#include "runtime/console.h"
#include "runtime/failures.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"

namespace ligamor {

namespace {

// A status without a health: none runs (critical), or none can be told.
int WithoutHealth(const std::string& utf8Line, int code, bool json, bool prometheus = false, bool running = false)
{
    if (prometheus) {
        WriteText(StandardStream::Output, NoHealthMetrics(running, code));
        return code;
    }
    const char* state = code == kStatusUnknown ? "desconhecido" : "nenhuma";
    WriteText(StandardStream::Output,
              json ? StatusWithoutHealthJson(state, code, utf8Line) : OneUtf8Line(utf8Line) + "\n");
    return code;
}

}  // namespace

int StatusUsageError(const std::string& utf8Reason, bool json, bool prometheus)
{
    return WithoutHealth("Estado desconhecido: " + utf8Reason + ".", kStatusUnknown, json, prometheus);
}

int ShowStatus(const std::string& settingsFile, bool json, bool prometheus)
{
    const std::string file = Utf8FromLocal(settingsFile);
    if (!FileExists(settingsFile))
        return WithoutHealth("Estado desconhecido: o arquivo de configurações " + file + " não existe.",
                             kStatusUnknown, json, prometheus);
    SystemSettings settings;
    try {
        LoadSettings(settingsFile, settings);
    } catch (const Failure&) {
        return WithoutHealth("Estado desconhecido: as configurações " + file + " não podem ser lidas.",
                             kStatusUnknown, json, prometheus);
    }
    const HolderStatus status = ReadHolderStatus(settings);
    if (!status.health) return WithoutHealth(status.line, status.code, json, prometheus, status.running);
    const Health& health = *status.health;
    WriteText(StandardStream::Output, prometheus ? HealthMetrics(health, status.code, status.running)
                                      : json     ? HealthJson(health)
                                                 : status.line + "\n");
    return status.code;
}

}  // namespace ligamor
