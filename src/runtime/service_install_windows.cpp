// What the installer does for the service "ligamor", done by the program for
// a service of another name: the service itself, its recovery, and its event
// source under the Application log.
#include "runtime/service_install.h"

#include <cctype>

#include "runtime/win32_support.h"

namespace ligamor {

namespace {

constexpr const wchar_t* kEventSources = L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\";

class ServiceHandle {
public:
    explicit ServiceHandle(SC_HANDLE handle) : handle_(handle) {}
    ~ServiceHandle()
    {
        if (handle_) CloseServiceHandle(handle_);
    }
    ServiceHandle(const ServiceHandle&) = delete;
    ServiceHandle& operator=(const ServiceHandle&) = delete;
    SC_HANDLE get() const { return handle_; }

private:
    SC_HANDLE handle_;
};

std::string ErrorText(const std::string& what, DWORD code)
{
    return what + ": " + detail::Narrow(detail::Wide(detail::SystemErrorText(code)), CP_UTF8);
}

// A name that needs no quoting anywhere: letters, digits, "-", "_", ".".
bool PlainName(const std::string& name)
{
    if (name.empty() || name.size() > 64) return false;
    for (const unsigned char c : name)
        if (!(std::isalnum(c) || c == '-' || c == '_' || c == '.')) return false;
    return true;
}

std::wstring ExecutablePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string RegisterEventSource(const std::wstring& name, const std::wstring& executable)
{
    HKEY key = nullptr;
    const std::wstring path = std::wstring(kEventSources) + name;
    LSTATUS error = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                    nullptr);
    if (error != ERROR_SUCCESS) return ErrorText("a origem de eventos não pôde ser registrada", error);
    const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
    error = RegSetValueExW(key, L"EventMessageFile", 0, REG_SZ, reinterpret_cast<const BYTE*>(executable.c_str()),
                           static_cast<DWORD>((executable.size() + 1) * sizeof(wchar_t)));
    if (error == ERROR_SUCCESS)
        error = RegSetValueExW(key, L"TypesSupported", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&types),
                               sizeof types);
    RegCloseKey(key);
    return error == ERROR_SUCCESS ? "" : ErrorText("a origem de eventos não pôde ser registrada", error);
}

}  // namespace

std::string InstallNamedService(const std::string& name, const std::string& settingsFile)
{
    if (!PlainName(name)) return "o nome do serviço só pode ter letras, dígitos, \"-\", \"_\" e \".\": " + name;
    const std::wstring wideName = detail::Wide(name, CP_UTF8);
    const std::wstring executable = ExecutablePath();
    // Each path between quotes: Program Files has a space, a shop's folder may too.
    const std::wstring command = L"\"" + executable + L"\" --servico " + wideName + L" --config \"" +
                                 detail::Wide(settingsFile, CP_ACP) + L"\"";
    const ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE));
    if (!manager.get()) return ErrorText("o gerenciador de serviços não pôde ser aberto", GetLastError());
    const std::wstring display = L"Ligamor " + wideName;
    const ServiceHandle service(CreateServiceW(manager.get(), wideName.c_str(), display.c_str(),
                                               SERVICE_CHANGE_CONFIG | SERVICE_START, SERVICE_WIN32_OWN_PROCESS,
                                               SERVICE_AUTO_START, SERVICE_ERROR_NORMAL, command.c_str(), nullptr,
                                               nullptr, nullptr, nullptr, nullptr));
    if (!service.get()) return ErrorText("o serviço " + name + " não pôde ser criado", GetLastError());
    // As the installer sets it for "ligamor": restarted after a crash.
    SC_ACTION actions[] = {{SC_ACTION_RESTART, 60'000}, {SC_ACTION_RESTART, 60'000}, {SC_ACTION_RESTART, 300'000}};
    SERVICE_FAILURE_ACTIONSW failure{86'400, nullptr, nullptr, 3, actions};
    ChangeServiceConfig2W(service.get(), SERVICE_CONFIG_FAILURE_ACTIONS, &failure);
    return RegisterEventSource(wideName, executable);
}

std::string RemoveNamedService(const std::string& name)
{
    if (!PlainName(name)) return "o nome do serviço só pode ter letras, dígitos, \"-\", \"_\" e \".\": " + name;
    const std::wstring wideName = detail::Wide(name, CP_UTF8);
    const ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager.get()) return ErrorText("o gerenciador de serviços não pôde ser aberto", GetLastError());
    const ServiceHandle service(OpenServiceW(manager.get(), wideName.c_str(), SERVICE_STOP | DELETE));
    if (!service.get()) return ErrorText("o serviço " + name + " não pôde ser aberto", GetLastError());
    SERVICE_STATUS status{};
    ControlService(service.get(), SERVICE_CONTROL_STOP, &status);  // a stopped one answers "not active"
    if (!DeleteService(service.get())) return ErrorText("o serviço " + name + " não pôde ser removido", GetLastError());
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, (std::wstring(kEventSources) + wideName).c_str());
    return "";
}

}  // namespace ligamor
