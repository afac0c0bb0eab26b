#include "service/status_command.h"

#include "config/settings.h"
#include "engine/integration_health.h"
#include "engine/untfuncoes.h"
#include "runtime/clock.h"
#include "runtime/console.h"
#include "runtime/failures.h"
#include "runtime/instance_lock.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"

namespace ligamor {

namespace {

int Unknown(const std::string& utf8Line, bool json)
{
    std::string quoted;
    for (const char c : utf8Line) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    WriteText(StandardStream::Output,
              json ? "{\"estado\": \"nenhuma\", \"codigo\": 3, \"linha\": \"" + quoted + "\"}\n" : utf8Line + "\n");
    return kStatusNoIntegration;
}

// The lock is taken for an instant only when no one holds it: an integration
// starting in that instant is told another runs, and its service tries again.
bool IntegrationRunning(const std::string& lockPath)
{
    if (!FileExists(lockPath)) return false;
    try {
        InstanceLock probe;
        return probe.Acquire(lockPath) == InstanceLock::Outcome::TakenByAnother;
    } catch (const Failure&) {
        return false;
    }
}

}  // namespace

int ShowStatus(const std::string& settingsFile, bool json)
{
    const std::string file = Utf8FromLocal(settingsFile);
    if (!FileExists(settingsFile))
        return Unknown("Nenhuma integração: o arquivo de configurações " + file + " não existe.", json);
    SystemSettings settings;
    try {
        LoadSettings(settingsFile, settings);
    } catch (const SettingsFailure&) {
        return Unknown("Nenhuma integração: as configurações " + file + " não podem ser lidas.", json);
    }
    const std::string send = Utf8FromLocal(settings.SendDirectory);
    if (!IntegrationRunning(settings.SendDirectory + kSendDirectoryLockName))
        return Unknown("Nenhuma integração em execução no diretório de envio " + send + ".", json);
    HealthFacts facts;
    bool read = false;
    try {
        read = ReadStatusFile(settings.LogDirectory, facts);
    } catch (const Failure&) {
    }
    if (!read)
        return Unknown("Integração em execução no diretório de envio " + send + ", sem arquivo de estado legível em " +
                           Utf8FromLocal(StatusFilePath(settings.LogDirectory)) + ".",
                       json);
    const RecordProcessor none;
    const Health health = WorkOutHealth(
        facts, OldestWaitingFile(settings.SendDirectory, MakeInputFileTable(none, none, none, none)), WallClockNs());
    WriteText(StandardStream::Output, json ? HealthJson(health) : HealthLine(health) + "\n");
    return HealthExitCode(health.state);
}

}  // namespace ligamor
