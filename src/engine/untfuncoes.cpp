#include "engine/untfuncoes.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <optional>

#include "engine/connection_reason.h"
#include "engine/directories.h"
#include "engine/holder_control.h"
#include "engine/input_files.h"
#include "engine/integration_health.h"
#include "engine/integration_log.h"
#include "engine/temporary_sweep.h"
#include "runtime/clock.h"
#include "runtime/failures.h"
#include "runtime/text1252.h"
#include "transactions/record_context.h"

namespace ligamor {

std::int32_t ConvertInterval(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) throw InvalidInteger(text);
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') throw InvalidInteger(text);
        value = value * 10 + (text[i] - '0');
        if (value > 1LL + std::numeric_limits<std::int32_t>::max()) throw InvalidInteger(text);
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) throw InvalidInteger(text);
    return static_cast<std::int32_t>(value);
}

std::string AlreadyRunningMessage(const std::string& sendDirectory)
{
    return Cp1252("A integração já está em execução para o diretório de envio \"") + Cp1252FromLocal(sendDirectory) +
           Cp1252("\" (em outra janela do Ligamor ou no serviço). Esta cópia não vai integrar os arquivos.");
}

namespace {

// A line refused by one of the records' own checks ends the cycle after its
// box said which; the health gives the gist.
constexpr const char* kLineRefused = "uma linha foi recusada e o ciclo parou; o arquivo ficou no diretório de envio";

// The text of the failure that ends activation or a cycle, for the health
// state; silent is what an abort after its own box means there.
std::string FailureText(const Integration& integration, const std::exception_ptr& failure, const char* silent)
{
    try {
        std::rethrow_exception(failure);
    } catch (const IntegrationAlreadyRunning&) {
        return Utf8FromCp1252(AlreadyRunningMessage(integration.settings.SendDirectory));
    } catch (const SilentAbort&) {
        if (!integration.state.connectionFailure.empty())
            return "Erro ao Conectar em Banco de Dados. " + Utf8FromCp1252(integration.state.connectionFailure);
        return silent;
    } catch (const std::exception& e) {
        return Utf8FromCp1252(WholeText(e));
    } catch (...) {
        return "Erro desconhecido";
    }
}

// Activation failed: the status file says why before any box is shown, since
// nobody may be there to close it.
void NoteActivationFailure(Integration& integration, const std::string& utf8)
{
    integration.state.activationFailure = utf8;
    integration.state.health.failure = utf8;
    integration.state.health.lastFailureNs = WallClockNs();
    NoteHealth(integration);
}

// Two integrations on one send directory would apply the same lines twice.
void LockSendDirectory(Integration& integration)
{
    const std::string& send = integration.settings.SendDirectory;
    CycleState& state = integration.state;
    if (state.sendDirectoryLock.Acquire(send + kSendDirectoryLockName) == InstanceLock::Outcome::Held) {
        if (state.holderOf != send) NoteHolder(integration);
        state.holderOf = send;
        return;
    }
    // Settings that now name another directory no longer hold the old one.
    state.sendDirectoryLock.Release();
    state.holderOf.clear();
    integration.timer.SetInterval(0);
    // The window shows the holder's integration instead: nothing failed.
    if (integration.watchesAnotherHolder) throw IntegrationAlreadyRunning{};
    NoteActivationFailure(integration, Utf8FromCp1252(AlreadyRunningMessage(send)));
    integration.messages.InformationBox(AlreadyRunningMessage(send));
    throw IntegrationAlreadyRunning{};
}

[[noreturn]] void FailConnection(Integration& integration, const std::string& why)
{
    integration.state.connectionFailure = why;
    NoteActivationFailure(integration, why.empty() ? "Erro ao Conectar em Banco de Dados."
                                                   : "Erro ao Conectar em Banco de Dados. " + Utf8FromCp1252(why));
    integration.messages.ErrorBox(Cp1252("Erro ao Conectar em Banco de Dados."));
    throw SilentAbort{};
}

void Connect(Integration& integration)
{
    const SystemSettings& settings = integration.settings;
    integration.state.connectionFailure.clear();
    try {
        ConnectDatabase(integration.dtmain, ComposeDatabaseName(settings.Server, settings.DatabasePath),
                        settings.UserName, settings.Password);
    } catch (const std::exception& e) {
        FailConnection(integration, ConnectionFailureReason(settings.Server, e));
    } catch (...) {
        FailConnection(integration, "");
    }
}

// The timer at the interval, and the health of a fresh activation; the
// failures' time and the lines applied go on from the last one.
void StartPolling(Integration& integration)
{
    std::int32_t interval = 0;
    try {
        interval = ConvertInterval(integration.settings.IntervalText);
    } catch (const ConversionFailure& f) {
        throw SettingsFailure(f.Message());
    }
    // A negative interval cannot run a timer: it counts as stopped.
    interval = std::max<std::int32_t>(interval, 0);
    integration.settings.IntervalMs = interval;
    integration.timer.SetInterval(interval);
    HealthFacts& health = integration.state.health;
    HealthFacts fresh;
    fresh.polling = interval > 0 && !integration.state.pausedByRequest;
    fresh.intervalMs = interval;
    fresh.activatedNs = WallClockNs();
    fresh.lastFailureNs = health.lastFailureNs;
    fresh.linesApplied = health.linesApplied;
    fresh.holder = health.holder;
    fresh.holderUser = health.holderUser;
    fresh.holderComputer = health.holderComputer;
    fresh.holderPid = health.holderPid;
    fresh.holderSinceNs = health.holderSinceNs;
    // A window's "&Desativar" outlasts a new reading of the settings.
    if (integration.state.pausedByRequest) {
        fresh.switchedOff = PollingOff::Desativar;
        fresh.pausedBy = health.pausedBy;
    }
    health = fresh;
}

void Activate(Integration& integration)
{
    SystemSettings& settings = integration.settings;
    const std::string& path = integration.settingsFile;
    if (!FileExists(path)) {
        integration.timer.SetInterval(0);
        NoteActivationFailure(integration, Utf8FromCp1252(NotConfiguredMessage()));
        integration.messages.InformationBox(NotConfiguredMessage());
        return;
    }
    LoadSettings(path, settings);
    const DateRule rule = ShopDateRule(settings, integration.accountRegional);
    integration.regional = rule.regional;
    if (integration.records) integration.records->regional = rule.regional;
    integration.state.dateRule = rule.source;

    if (!settings.SendDirectory.empty() && DirectoryExists(settings.SendDirectory)) LockSendDirectory(integration);

    Connect(integration);
    // Before anything reads: rows of a transaction left in limbo stay locked
    // for every reader, the point of sale's too.
    if (integration.state.sendDirectoryLock.Holds()) FinishInterruptedCycle(integration);

    ForceDirectoryPath(settings.SendDirectory);
    ForceDirectoryPath(settings.ResponseDirectory);
    ForceDirectoryPath(settings.LogDirectory);
    LockSendDirectory(integration);
    SweepOurTemporaryFiles(settings, integration.table, integration.state.sendDirectoryLock);

    StartPolling(integration);
    integration.state.activationFailure.clear();
}

}  // namespace

void ActivateIntegration(Integration& integration)
{
    integration.state.connectionFailure.clear();
    integration.state.health.polling = false;
    try {
        Activate(integration);
    } catch (const IntegrationAlreadyRunning&) {
        if (!integration.watchesAnotherHolder)
            NoteActivationFailure(integration, Utf8FromCp1252(AlreadyRunningMessage(integration.settings.SendDirectory)));
        throw;
    } catch (...) {
        NoteActivationFailure(integration,
                              FailureText(integration, std::current_exception(), "Erro ao Conectar em Banco de Dados."));
        throw;
    }
    NoteHealth(integration);
}

void RunIntegrationCycle(Integration& integration, LogView& rce)
{
    if (integration.state.cycling) return;
    // A window's "&Desativar" holds until its "&Ativar": the timer runs on
    // meanwhile, and each tick reads the requests again.
    TakeControlRequests(integration);
    if (integration.state.pausedByRequest) return;
    integration.state.cycling = true;
    // The holder's progress and requests between lines, beside the front end's.
    CycleProgress* const frontEnd = integration.progress;
    std::optional<HolderProgress> holder;
    if (frontEnd) integration.progress = &holder.emplace(integration, *frontEnd);
    struct CycleEnd {
        Integration& integration;
        CycleProgress* frontEnd;
        ~CycleEnd()
        {
            integration.state.cycling = false;
            integration.progress = frontEnd;
        }
    } end{integration, frontEnd};
    // A box of a line that stops the cycle waits until the health says so:
    // at an unattended computer the box may wait for hours.
    HeldMessages boxes(integration.recordMessages);
    integration.timer.SetInterval(0);
    try {
        ReadInputFiles read;
        const bool anyLine = ProcessPendingFiles(integration, read);
        // What set-aside lines wait for may have come with these lines.
        integration.setAside.retryDue = integration.setAside.retryDue || anyLine;
        if (anyLine) MoveProcessedFiles(integration, read);
        integration.timer.SetInterval(integration.settings.IntervalMs);
        ReloadLogView(rce, IntegrationLogPath(integration.settings.LogDirectory));
    } catch (const SilentAbort&) {
        // Stopped after a line for a window's "&Desativar": reading is off,
        // as asked, and the timer runs on for its "&Ativar".
        if (integration.state.pausedByRequest) {
            integration.timer.SetInterval(integration.settings.IntervalMs);
            NoteHealth(integration);
            boxes.Show();
            return;
        }
        // A stop asked for between lines is no failure of the integration.
        if (!integration.progress || !integration.progress->StopRequested()) {
            integration.state.health.failure = FailureText(integration, std::current_exception(), kLineRefused);
            integration.state.health.lastFailureNs = WallClockNs();
            NoteHealth(integration);
        }
        boxes.Show();
        throw;
    } catch (...) {
        integration.state.health.failure = FailureText(integration, std::current_exception(), kLineRefused);
        integration.state.health.lastFailureNs = WallClockNs();
        NoteHealth(integration);
        boxes.Show();
        throw;
    }
    // A failed activation still stands: this cycle ran on what it left.
    integration.state.health.failure = integration.state.activationFailure;
    integration.state.health.lastCycleEndNs = WallClockNs();
    NoteHealth(integration);
}

}  // namespace ligamor
