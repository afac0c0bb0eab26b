// The service control manager's side of the Windows service. The manager
// starts ligamor-service.exe, whose main thread hands itself to the
// dispatcher; the dispatcher runs ServiceMain on a thread of its own, where
// the integration runs, and calls the control handler on the main thread.
// The handler only feeds the stop request that Ctrl+C feeds in a console, so
// a stop, a shutdown or a preshutdown ends the integration between two lines.
//
// The manager's API has no place for a context of ours in ServiceMain, hence
// the state of the one service of the process at namespace scope.
#include "runtime/service_host.h"

#include <atomic>
#include <exception>
#include <mutex>

#include "runtime/service_control_windows.h"
#include "runtime/system_log.h"
#include "runtime/win32_support.h"

#include <tlhelp32.h>

namespace ligamor {

namespace {

// How long a stop may take before the manager may think the service hung:
// the line being applied (one statement and its commit), then letting go of
// the database and the send directory.
constexpr DWORD kLineWaitHintMs = 30'000;
constexpr DWORD kReleaseWaitHintMs = 15'000;
constexpr DWORD kStartWaitHintMs = 10'000;

std::wstring serviceName;
const std::function<int()>* serviceBody = nullptr;
int serviceExitStatus = 0;
std::atomic<bool> hosted{false};

std::mutex statusMutex;
SERVICE_STATUS_HANDLE statusHandle = nullptr;
SERVICE_STATUS status{};

std::string Utf8SystemErrorText(DWORD code)
{
    return detail::Narrow(detail::Wide(detail::SystemErrorText(code)), CP_UTF8);
}

// Pending states carry a checkpoint that grows with each report of progress;
// settled states carry none.
void Report(DWORD state, DWORD waitHintMs, DWORD exitCode = NO_ERROR, DWORD specificExitCode = 0)
{
    std::lock_guard<std::mutex> lock(statusMutex);
    if (!statusHandle) return;
    // A stop already asked for outranks a late "running".
    if (state == SERVICE_RUNNING && status.dwCurrentState == SERVICE_STOP_PENDING) return;
    const bool pending = state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING;
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    if (!pending) status.dwCheckPoint = 0;
    else if (state != status.dwCurrentState) status.dwCheckPoint = 1;
    else ++status.dwCheckPoint;
    status.dwCurrentState = state;
    status.dwControlsAccepted =
        state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN | SERVICE_ACCEPT_PRESHUTDOWN : 0;
    status.dwWaitHint = pending ? waitHintMs : 0;
    status.dwWin32ExitCode = exitCode;
    status.dwServiceSpecificExitCode = specificExitCode;
    SetServiceStatus(statusHandle, &status);
}

DWORD WINAPI OnServiceControl(DWORD control, DWORD, void*, void*)
{
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
    case SERVICE_CONTROL_PRESHUTDOWN:
        Report(SERVICE_STOP_PENDING, kLineWaitHintMs);
        detail::RequestStop();
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE: return NO_ERROR;
    default: return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void WINAPI ServiceMain(DWORD, LPWSTR*)
{
    {
        std::lock_guard<std::mutex> lock(statusMutex);
        statusHandle = RegisterServiceCtrlHandlerExW(serviceName.c_str(), OnServiceControl, nullptr);
    }
    if (!statusHandle) {
        WriteSystemLog(SystemLogLevel::Error,
                       "O serviço não pôde se registrar no gerenciador de serviços: " + Utf8SystemErrorText(GetLastError()));
        serviceExitStatus = 1;
        return;
    }
    hosted = true;
    Report(SERVICE_START_PENDING, kStartWaitHintMs);
    int exitStatus = 1;
    try {
        exitStatus = (*serviceBody)();
    } catch (const std::exception& e) {
        // What the service could not even begin with; its own failures are
        // messages of the integration, already in the event log.
        WriteSystemLog(SystemLogLevel::Error, std::string("O serviço não pôde iniciar: ") + e.what());
    } catch (...) {
        WriteSystemLog(SystemLogLevel::Error, "O serviço não pôde iniciar.");
    }
    serviceExitStatus = exitStatus;
    // The manager shows the exit status of a failed run as a service-specific
    // error code.
    if (exitStatus == 0) Report(SERVICE_STOPPED, 0);
    else Report(SERVICE_STOPPED, 0, ERROR_SERVICE_SPECIFIC_ERROR, static_cast<DWORD>(exitStatus));
}

// Whether the parent of this process is services.exe, as it is for every
// service the manager starts. Windows' dispatcher tells a console run at once;
// Wine's does not: it waits on the control pipe of whichever service the
// manager started last, up to its 10 s default, and takes that pipe when it
// is free. Asked first, a console run never talks to the dispatcher.
bool StartedByServiceManager()
{
    detail::HandleOwner snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.valid()) return true;  // cannot tell: the dispatcher decides
    const DWORD self = GetCurrentProcessId();
    bool found = false;
    DWORD parent = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more && !found;
         more = Process32NextW(snapshot.get(), &entry))
        if (entry.th32ProcessID == self) {
            found = true;
            parent = entry.th32ParentProcessID;
        }
    if (!found) return true;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        if (entry.th32ProcessID == parent) return lstrcmpiW(entry.szExeFile, L"services.exe") == 0;
    return false;  // the parent has ended: a console's or a script's, never the manager's
}

}  // namespace

namespace detail {

bool HostedByServiceManager()
{
    return hosted;
}

void ReportServiceRunning()
{
    Report(SERVICE_RUNNING, 0);
}

void ReportServiceStopping()
{
    Report(SERVICE_STOP_PENDING, kReleaseWaitHintMs);
}

}  // namespace detail

int RunHosted(const std::string& name, const std::function<int()>& body)
{
    serviceName = detail::Wide(name, CP_UTF8);
    serviceBody = &body;
    if (!StartedByServiceManager()) return body();
    SERVICE_TABLE_ENTRYW table[] = {{serviceName.data(), ServiceMain}, {nullptr, nullptr}};
    // Returns once the service has stopped; fails at once in a console.
    if (StartServiceCtrlDispatcherW(table)) return serviceExitStatus;
    const DWORD error = GetLastError();
    if (error != ERROR_FAILED_SERVICE_CONTROLLER_CONNECT)
        WriteSystemLog(SystemLogLevel::Warning,
                       "O gerenciador de serviços não foi alcançado; o programa segue como programa de console: " +
                           Utf8SystemErrorText(error));
    return body();
}

}  // namespace ligamor
