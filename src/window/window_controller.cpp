#include "window/window_controller.h"

#include "engine/control_request.h"
#include "engine/holder_control.h"
#include "engine/holder_status.h"
#include "engine/integration_health.h"
#include "engine/integration_log.h"
#include "runtime/clock.h"
#include "runtime/failures.h"
#include "runtime/process_identity.h"
#include "runtime/run_handler.h"
#include "runtime/text1252.h"

namespace ligamor {

WindowController::WindowController(Integration& integration, LogView& view, WindowSurface& surface, Timer& listen)
    : integration_(integration), view_(view), surface_(surface)
{
    listen.SetInterval(kListenIntervalMs);
    integration_.healthNoted = [this](const Health& health) { surface_.ShowHealth(health.state, HealthLine(health)); };
    // Beside the service, the window shows its integration instead of a box.
    integration_.watchesAnotherHolder = true;
}

WindowController::~WindowController()
{
    integration_.healthNoted = nullptr;
}

void WindowController::Run(const std::function<void()>& work)
{
    RunHandler(integration_.messages, work);
    if (face_ == Face::Own) ShowHealth();
    else RunHandler(integration_.messages, [this] { WatchTick(); });
}

void WindowController::ActivateOrWatch()
{
    try {
        ActivateIntegration(integration_);
    } catch (const IntegrationAlreadyRunning&) {
        Watch();
    }
}

void WindowController::Watch()
{
    face_ = Face::Watching;
}

void WindowController::WatchTick()
{
    const SystemSettings& settings = integration_.settings;
    const HolderStatus status = ReadHolderStatus(settings);
    if (status.health) holder_ = status.health->facts;
    if (!status.running) {
        face_ = Face::HolderGone;
        surface_.ShowHolder("A integração que esta janela acompanhava terminou; \"Ativar\" passa a integrar aqui.");
        surface_.CycleOver();
        Check(false, false);
    } else {
        face_ = Face::Watching;
        surface_.ShowHolder(status.health ? HolderText(holder_, WallClockNs())
                                          : "Integração em execução por outro Ligamor.");
        if (status.health && !holder_.progressFile.empty())
            surface_.ShowHolderProgress(Cp1252(holder_.progressFile), static_cast<std::size_t>(holder_.progressDone),
                                        static_cast<std::size_t>(holder_.progressTotal));
        else
            surface_.CycleOver();
        const bool off = status.health && status.health->state == HealthState::Parada;
        Check(!off, off);
    }
    // A status without a health: none runs (critical), or none can be told.
    const HealthState state = status.health             ? status.health->state
                              : status.code == kStatusCritical ? HealthState::Falha
                                                               : HealthState::Atrasada;
    surface_.ShowHealth(state, status.line);
    try {
        // Reads only what the log gained since the last tick.
        ReloadLogView(view_, IntegrationLogPath(settings.LogDirectory));
    } catch (const Failure&) {
        // Shown again at the next tick that can read it.
    }
}

void WindowController::SendRequest(bool desativar)
{
    // An earlier version's status file names nobody to ask, and that
    // version would not hear the request anyway.
    if (holder_.holderPid == 0) {
        integration_.messages.InformationBox(Cp1252(
            "A integração em execução não diz quem ela é (versão anterior do Ligamor?): não pode ser desativada "
            "nem ativada desta janela."));
        return;
    }
    const ProcessIdentity me = ThisProcess();
    ControlRequest request;
    request.action = desativar ? ControlAction::Desativar : ControlAction::Ativar;
    request.user = me.user;
    request.computer = me.computer;
    request.requesterPid = me.pid;
    request.holderPid = holder_.holderPid;
    request.holderSinceNs = holder_.holderSinceNs;
    request.madeNs = WallClockNs();
    try {
        SendControlRequest(integration_.settings.SendDirectory, integration_.settingsFile, request);
    } catch (const ControlRefused& refused) {
        integration_.messages.ErrorBox(refused.Message());
    }
}

void WindowController::ShowHealth()
{
    NoteHealth(integration_);  // shown through healthNoted
}

void WindowController::Check(bool ativar, bool desativar)
{
    ativar_ = ativar;
    desativar_ = desativar;
    surface_.ShowChecks(ativar, desativar);
}

void WindowController::AfterCycle(std::function<void()> work)
{
    if (integration_.state.cycling) afterCycle_.push_back(std::move(work));
    else work();
}

void WindowController::StopCycleThen(std::function<void()> work)
{
    if (integration_.state.cycling) surface_.StopCycleAfterLine();
    AfterCycle(std::move(work));
}

void WindowController::Shown()
{
    if (shown_) return;
    shown_ = true;
    Run([this] { ActivateOrWatch(); });
}

void WindowController::Listen()
{
    if (face_ != Face::Own) {
        RunHandler(integration_.messages, [this] { WatchTick(); });
        return;
    }
    // Between lines the cycle hears them itself.
    if (integration_.state.cycling) return;
    std::optional<ControlAction> heard;
    RunHandler(integration_.messages, [&] { heard = TakeControlRequests(integration_); });
    if (!heard) return;
    if (*heard == ControlAction::Desativar) return Check(false, true);
    Check(true, false);
    // Polling off by this window's own "&Desativar" or its dialog: as its own "&Ativar".
    if (integration_.timer.Interval() <= 0) Run([this] { ActivateOrWatch(); });
}

void WindowController::Tick()
{
    // A tick of polling that was on before another integration was found.
    if (face_ != Face::Own) return;
    // A tick that waited while a cycle ran: that cycle is not over yet.
    if (integration_.state.cycling) return;
    Run([this] { RunIntegrationCycle(integration_, view_); });
    surface_.CycleOver();
    std::vector<std::function<void()>> pending;
    pending.swap(afterCycle_);
    for (const auto& work : pending) Run(work);
}

void WindowController::Ativar()
{
    if (face_ == Face::Watching) return Run([this] { SendRequest(false); });
    Run([this] {
        // The integration that held the directory let go: this window takes it.
        if (face_ == Face::HolderGone) {
            face_ = Face::Own;
            surface_.ShowHolder({});
        }
        Check(true, false);
        // Its own "&Ativar" ends a pause that a window beside it asked for.
        integration_.state.pausedByRequest = false;
        // A running cycle goes on over the connection it has; activation
        // connects anew once it is over.
        AfterCycle([this] { ActivateOrWatch(); });
    });
}

void WindowController::Desativar()
{
    if (face_ == Face::Watching) return Run([this] { SendRequest(true); });
    if (face_ == Face::HolderGone) return Run([this] { Check(false, true); });
    Run([this] {
        Check(false, true);
        // Set once more after a cycle: one that met no further line ends as a
        // completed cycle, which starts the timer again.
        StopCycleThen([this] { SwitchPollingOff(integration_, PollingOff::Desativar); });
    });
}

void WindowController::VisualizarLogs()
{
    Run([this] { surface_.BringToFront(); });
}

void WindowController::Configuracoes()
{
    if (face_ != Face::Own) {
        return Run([this] {
            surface_.RunConfigurationDialog();
            // Watched where the saved settings say from now on: the folders may have moved.
            SystemSettings saved;
            LoadSettings(integration_.settingsFile, saved);
            integration_.settings = saved;
            // The service reads a changed settings file by itself; a window
            // that integrates must be started again, as here.
            if (holder_.holder != HolderKind::Servico)
                integration_.messages.InformationBox(
                    Cp1252("Finalize a Aplicação E Execute-a Novamente Para Aplicar A Alteração."));
        });
    }
    Run([this] {
        StopCycleThen([this] {
            // Told before the dialog opens: it may stay open for long.
            SwitchPollingOff(integration_, PollingOff::Configuracoes);
            ShowHealth();
            surface_.RunConfigurationDialog();
            integration_.messages.InformationBox(
                Cp1252("Finalize a Aplicação E Execute-a Novamente Para Aplicar A Alteração."));
        });
    });
}

void WindowController::Fechar()
{
    // Watching: the integration it shows goes on without it.
    if (face_ != Face::Own) return Run([this] { surface_.CloseWindow(); });
    Run([this] { StopCycleThen([this] { surface_.CloseWindow(); }); });
}

bool WindowController::CloseRequested()
{
    if (face_ != Face::Own || !integration_.state.cycling) return true;
    Run([this] { StopCycleThen([this] { surface_.CloseWindow(); }); });
    return false;
}

}  // namespace ligamor
