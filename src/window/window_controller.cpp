#include "window/window_controller.h"

#include "engine/integration_health.h"
#include "runtime/run_handler.h"
#include "runtime/text1252.h"

namespace ligamor {

WindowController::WindowController(Integration& integration, LogView& view, WindowSurface& surface)
    : integration_(integration), view_(view), surface_(surface)
{
    integration_.healthNoted = [this](const Health& health) { surface_.ShowHealth(health.state, HealthLine(health)); };
}

WindowController::~WindowController()
{
    integration_.healthNoted = nullptr;
}

void WindowController::Run(const std::function<void()>& work)
{
    RunHandler(integration_.messages, work);
    ShowHealth();
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
    Run([this] { ActivateIntegration(integration_); });
}

void WindowController::Tick()
{
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
    Run([this] {
        Check(true, false);
        // A running cycle goes on over the connection it has; activation
        // connects anew once it is over.
        AfterCycle([this] { ActivateIntegration(integration_); });
    });
}

void WindowController::Desativar()
{
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
    Run([this] { StopCycleThen([this] { surface_.CloseWindow(); }); });
}

bool WindowController::CloseRequested()
{
    if (!integration_.state.cycling) return true;
    Run([this] { StopCycleThen([this] { surface_.CloseWindow(); }); });
    return false;
}

}  // namespace ligamor
