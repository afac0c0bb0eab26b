#include "engine/holder_status.h"

#include "engine/integration_health.h"
#include "engine/record_file.h"
#include "engine/untfuncoes.h"
#include "runtime/clock.h"
#include "runtime/failures.h"
#include "runtime/instance_lock.h"
#include "runtime/text1252.h"

namespace ligamor {

namespace {

HolderStatus WithoutHealth(std::string line, int code, bool running)
{
    HolderStatus status;
    status.running = running;
    status.code = code;
    status.line = std::move(line);
    status.state = code == kStatusUnknown ? "desconhecido" : "nenhuma";
    return status;
}

const char* HolderName(HolderKind kind)
{
    switch (kind) {
    case HolderKind::Servico: return "do serviço";
    case HolderKind::Janela: return "de uma janela do Ligamor";
    case HolderKind::Unica: return "de uma execução com --once";
    case HolderKind::Unknown: break;
    }
    return "de outro Ligamor";
}

}  // namespace

HolderStatus ReadHolderStatus(const SystemSettings& settings)
{
    const std::string send = Utf8FromLocal(settings.SendDirectory);
    const std::string none = "Nenhuma integração em execução no diretório de envio " + send + ".";
    // Asked, never taken: see HeldByAnyone.
    const bool running = InstanceLock::HeldByAnyone(settings.SendDirectory + kSendDirectoryLockName);
    HealthFacts facts;
    bool read = false;
    try {
        read = ReadStatusFile(settings.LogDirectory, facts);
    } catch (const RecordFileFailure& f) {
        if (!running) return WithoutHealth(none, kStatusCritical, false);
        // Told, never guessed from what could be read of it.
        std::string why = Utf8FromCp1252(f.Message());
        if (why.rfind("O ", 0) == 0) why[0] = 'o';
        return WithoutHealth("Estado desconhecido: " + why + ".", kStatusUnknown, true);
    } catch (const Failure&) {
    }
    // With nobody on the send directory, only a run with --once that ended
    // meant to leave its status behind; a daemon's or a window's is stale.
    if (!running && (!read || facts.onceEndedNs == 0)) return WithoutHealth(none, kStatusCritical, false);
    if (!read)
        return WithoutHealth("Estado desconhecido: integração em execução no diretório de envio " + send +
                                 ", sem arquivo de estado legível em " +
                                 Utf8FromLocal(StatusFilePath(settings.LogDirectory)) + ".",
                             kStatusUnknown, true);
    HolderStatus status;
    status.running = running;
    status.health =
        WorkOutHealth(facts, OldestWaitingFile(settings.SendDirectory, MakeInputFileTable({})), WallClockNs());
    status.code = HealthExitCode(status.health->state);
    status.line = HealthLine(*status.health);
    return status;
}

std::string HolderText(const HealthFacts& facts, long long nowNs)
{
    std::string text = std::string("Integração ") + HolderName(facts.holder);
    if (!facts.holderUser.empty() || facts.holderPid != 0) {
        text += " (";
        if (!facts.holderUser.empty()) {
            text += "usuário " + facts.holderUser;
            if (!facts.holderComputer.empty()) text += " em " + facts.holderComputer;
            if (facts.holderPid != 0) text += ", ";
        }
        if (facts.holderPid != 0) text += "processo " + std::to_string(facts.holderPid);
        text += ")";
    }
    if (facts.holderSinceNs != 0) text += " há " + AgeText(ElapsedNs(facts.holderSinceNs, nowNs));
    return OneUtf8Line(text + ".");
}

}  // namespace ligamor
