// Stop requests on Windows: the console's control handler, which the system
// calls on a thread of its own, and the service control manager's stop,
// shutdown and preshutdown (service_host_windows.cpp) note the request and set
// an event that the wait waits on, so a request that comes just before the
// wait begins still ends it. Windows has no signal for reading the settings
// again: the program is restarted instead, and Wait never gives Reload.
#include "runtime/service_events.h"

#include <atomic>
#include <stdexcept>

#include "runtime/service_control_windows.h"
#include "runtime/win32_support.h"

namespace ligamor {

namespace {

std::atomic<bool> stopRequested{false};
// Made once and kept for the life of the process: a handler still running
// when ServiceEvents ends must not find them closed.
HANDLE wake = nullptr;     // auto-reset: set by a request, taken by the wait
HANDLE stopped = nullptr;  // manual-reset: set when ServiceEvents ends

BOOL WINAPI OnControl(DWORD control)
{
    switch (control) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT: detail::RequestStop(); return TRUE;
    case CTRL_LOGOFF_EVENT:
        // A service gets every user's logoff; it is not the service's end.
        // Handled, so that the default handler does not end the process.
        if (detail::HostedByServiceManager()) return TRUE;
        [[fallthrough]];
    case CTRL_CLOSE_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        // The system ends the process as soon as the handler returns (and
        // after a few seconds anyway): hold it until the line being applied
        // is done and the integration stopped.
        detail::RequestStop();
        WaitForSingleObject(stopped, INFINITE);
        return TRUE;
    default: return FALSE;
    }
}

}  // namespace

void detail::RequestStop()
{
    stopRequested = true;
    if (wake) SetEvent(wake);
}

// Windows has no reload request to take.
ServiceEvents::ServiceEvents(ReloadRequests)
{
    if (!wake) wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!stopped) stopped = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!wake || !stopped) throw std::runtime_error("CreateEvent failed");
    ResetEvent(wake);
    ResetEvent(stopped);
    stopRequested = false;
    // A program started in a new process group has Ctrl+C turned off.
    SetConsoleCtrlHandler(nullptr, FALSE);
    SetConsoleCtrlHandler(OnControl, TRUE);
}

ServiceEvents::~ServiceEvents()
{
    // Let a waiting handler go first: the system may hold its list of
    // handlers, which the removal takes, while a handler runs.
    SetEvent(stopped);
    SetConsoleCtrlHandler(OnControl, FALSE);
}

ServiceEvent ServiceEvents::Wait(std::chrono::milliseconds timeout)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + timeout;
    for (;;) {
        if (stopRequested) return ServiceEvent::Stop;
        DWORD waitMs = INFINITE;
        if (timeout.count() >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
            if (left <= 0) return ServiceEvent::Timeout;
            waitMs = left >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(left);
        }
        WaitForSingleObject(wake, waitMs);  // timeouts and wake-ups go round the loop
    }
}

bool ServiceEvents::StopRequested() const
{
    return stopRequested;
}

std::string StopAndReloadUsage()
{
    return "Ctrl+C, Ctrl+Break, fechar a janela, sair da sessão ou desligar o Windows param entre\n"
           "duas linhas, e como serviço do Windows parar o serviço (sc stop ligamor) ou desligar o\n"
           "Windows; as configurações são lidas de novo quando o arquivo muda.\n";
}

}  // namespace ligamor
