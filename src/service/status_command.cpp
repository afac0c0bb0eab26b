#include "service/status_command.h"

#include "config/settings.h"
#include "engine/health_metrics.h"
#include "engine/integration_health.h"
#include "engine/record_file.h"
#include "engine/untfuncoes.h"
#include "runtime/clock.h"
#include "runtime/console.h"
#include "runtime/failures.h"
#include "runtime/instance_lock.h"
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
    const std::string send = Utf8FromLocal(settings.SendDirectory);
    const std::string none = "Nenhuma integração em execução no diretório de envio " + send + ".";
    // Asked, never taken: see HeldByAnyone.
    const bool running = InstanceLock::HeldByAnyone(settings.SendDirectory + kSendDirectoryLockName);
    HealthFacts facts;
    bool read = false;
    try {
        read = ReadStatusFile(settings.LogDirectory, facts);
    } catch (const RecordFileFailure& f) {
        if (!running) return WithoutHealth(none, kStatusCritical, json, prometheus);
        // Told, never guessed from what could be read of it.
        std::string why = Utf8FromCp1252(f.Message());
        if (why.rfind("O ", 0) == 0) why[0] = 'o';
        return WithoutHealth("Estado desconhecido: " + why + ".", kStatusUnknown, json, prometheus, true);
    } catch (const Failure&) {
    }
    // With nobody on the send directory, only a run with --once that ended
    // meant to leave its status behind; a daemon's or a window's is stale.
    if (!running && (!read || facts.onceEndedNs == 0)) return WithoutHealth(none, kStatusCritical, json, prometheus);
    if (!read)
        return WithoutHealth("Estado desconhecido: integração em execução no diretório de envio " + send +
                                 ", sem arquivo de estado legível em " +
                                 Utf8FromLocal(StatusFilePath(settings.LogDirectory)) + ".",
                             kStatusUnknown, json, prometheus, true);
    const Health health =
        WorkOutHealth(facts, OldestWaitingFile(settings.SendDirectory, MakeInputFileTable({})), WallClockNs());
    WriteText(StandardStream::Output, prometheus ? HealthMetrics(health, HealthExitCode(health.state), running)
                                      : json     ? HealthJson(health)
                                                 : HealthLine(health) + "\n");
    return HealthExitCode(health.state);
}

}  // namespace ligamor
