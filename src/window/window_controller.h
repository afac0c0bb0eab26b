#pragma once
// What the log window does, decided once for every toolkit that draws it: the
// menu's check marks, activation when the window first shows, the timer's
// cycle, and what each menu item and a close request do while a cycle runs.
//
// A cycle lets the window's events through between its lines, so a command
// can arrive in the middle of one. None of them reconnects, opens the dialog
// or closes the window then: "&Desativar", "&Configurações", "&Fechar" and a
// close request end the cycle after its current line, as a failed cycle ends
// (nothing moved, the files read again whole later); "&Ativar" lets it run
// on. Whatever else the command does follows once the cycle has unwound.
//
// Beside the polling, the window listens twice a second (Listen). While it
// integrates, it hears there what the windows beside it ask (a "&Desativar",
// an "&Ativar", control_request.h), between cycles and even while its own
// "&Desativar" keeps the polling off. When another integration holds the
// send directory (the service, a run with --once, another window), the
// window is that one's face: each time it listens it shows the log file's new
// lines, the holder's health as --status tells it, its progress and who it is. "&Desativar" and
// "&Ativar" are sent to it as requests (control_request.h), "&Fechar" only
// closes the window. Once the holder lets go, the window says so and
// "&Ativar" takes the integration over.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "engine/health.h"
#include "engine/log_view.h"
#include "engine/untfuncoes.h"
#include "runtime/timer.h"

namespace ligamor {

// What the controller asks of the window that a toolkit draws.
class WindowSurface {
public:
    virtual ~WindowSurface() = default;
    // The check marks of "&Ativar" and "&Desativar".
    virtual void ShowChecks(bool ativar, bool desativar) = 0;
    // The window goes away; the program ends once the handler has returned.
    virtual void CloseWindow() = 0;
    // The window shown, raised and given the focus.
    virtual void BringToFront() = 0;
    // The settings dialog, modal; returns when it is closed.
    virtual void RunConfigurationDialog() = 0;
    // The running cycle ends after its current line.
    virtual void StopCycleAfterLine() = 0;
    // Between cycles again: no progress shown, no stop pending.
    virtual void CycleOver() = 0;
    // The integration's health beside the banner, after every command and
    // cycle. A window without the place for it leaves it out.
    virtual void ShowHealth(HealthState, const std::string& /*utf8Line*/) {}
    // Who integrates, in the banner's place while the window watches another
    // integration; empty: the banner again.
    virtual void ShowHolder(const std::string& /*utf8Text*/) {}
    // The watched integration's cycle: where it is, as the window's own
    // progress shows it; CycleOver hides it.
    virtual void ShowHolderProgress(const std::string& /*fileName*/, std::size_t /*done*/, std::size_t /*total*/) {}
};

class WindowController {
public:
    // listen: the window's own timer, beside the integration's, for Listen.
    WindowController(Integration& integration, LogView& view, WindowSurface& surface, Timer& listen);
    ~WindowController();
    WindowController(const WindowController&) = delete;
    WindowController& operator=(const WindowController&) = delete;

    // The window's first show: activation, before the window is drawn so that
    // its message comes first. Later shows do nothing.
    void Shown();
    // The polling timer.
    void Tick();
    // The listening timer.
    void Listen();
    void Ativar();
    void Desativar();
    void VisualizarLogs();
    void Configuracoes();
    void Fechar();
    // The close button, a session ending, a stop signal: true when the window
    // may close at once; otherwise it closes once the running cycle stopped.
    bool CloseRequested();

    // Another integration holds the send directory, or held it until lately.
    bool Watching() const { return face_ != Face::Own; }

    bool AtivarChecked() const { return ativar_; }
    bool DesativarChecked() const { return desativar_; }

    // How often the window listens: a request is heard, and the watched
    // integration's log, status and lock read, within this.
    static constexpr int kListenIntervalMs = 500;

private:
    enum class Face { Own, Watching, HolderGone };

    // Activation; another integration holding the directory makes the window its face.
    void ActivateOrWatch();
    void Watch();
    void WatchTick();
    void SendRequest(bool desativar);
    // Runs work through the error report, then shows and notes the health.
    void Run(const std::function<void()>& work);
    // Notes the health and shows it beside the banner.
    void ShowHealth();
    void Check(bool ativar, bool desativar);
    // Runs work now, or once the running cycle has unwound.
    void AfterCycle(std::function<void()> work);
    // A cycle runs: it ends after its current line, then work runs.
    void StopCycleThen(std::function<void()> work);

    Integration& integration_;
    LogView& view_;
    WindowSurface& surface_;
    bool ativar_ = true;
    bool desativar_ = false;
    bool shown_ = false;
    Face face_ = Face::Own;
    HealthFacts holder_{};  // what the holder's status file said last
    std::vector<std::function<void()>> afterCycle_;
};

}  // namespace ligamor
