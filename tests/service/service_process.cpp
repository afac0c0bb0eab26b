#include "service/service_process.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "support/temp_dir.h"

#ifndef LIGAMOR_SERVICE_EXE
#error LIGAMOR_SERVICE_EXE must name the ligamor-service executable
#endif

namespace ligamor::test {

namespace {

constexpr auto kDeadline = std::chrono::minutes(3);

}  // namespace

ServiceProcess::ServiceProcess(const std::vector<std::string>& args, const std::string& errPath, const Launch& launch)
    : errPath_(errPath)
{
    std::vector<char*> argv;
    std::string program = launch.program.empty() ? LIGAMOR_SERVICE_EXE : launch.program;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies) argv.push_back(arg.data());
    argv.push_back(nullptr);
    // Emptied before the child starts: WaitForText must never find what an
    // earlier process left in the same file.
    if (const int fd = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644); fd >= 0) close(fd);
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        const int fd = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, STDOUT_FILENO);
        dup2(fd, STDERR_FILENO);
        // The sanitizers' leak check would fail on the Firebird client's pools.
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        // The manager's socket is the test's own when it names one, never the test run's.
        if (const char* own = getenv("LIGAMOR_TEST_NOTIFY_SOCKET")) setenv("NOTIFY_SOCKET", own, 1);
        else unsetenv("NOTIFY_SOCKET");
        unsetenv("JOURNAL_STREAM");
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        for (int signal : {SIGTERM, SIGINT, SIGHUP}) std::signal(signal, SIG_DFL);
        if (launch.interruptIgnored) std::signal(SIGINT, SIG_IGN);
        execv(argv[0], argv.data());
        _exit(127);
    }
}

ServiceProcess::~ServiceProcess()
{
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

std::string ServiceProcess::Err() const
{
    return ReadBytes(errPath_);
}

bool ServiceProcess::Running() const
{
    // Ended processes are left for Wait to collect.
    siginfo_t info{};
    return !(waitid(P_PID, pid_, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid_);
}

bool ServiceProcess::WaitForText(const std::string& text) const
{
    const auto end = std::chrono::steady_clock::now() + kDeadline;
    while (std::chrono::steady_clock::now() < end) {
        if (Err().find(text) != std::string::npos) return true;
        if (!Running()) return Err().find(text) != std::string::npos;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

bool ServiceProcess::HoldsOpen(const std::string& path) const
{
    std::error_code error;
    const std::string fds = "/proc/" + std::to_string(pid_) + "/fd";
    for (const auto& entry : std::filesystem::directory_iterator(fds, error)) {
        if (std::filesystem::read_symlink(entry.path(), error) == std::filesystem::weakly_canonical(path, error))
            return true;
    }
    return false;
}

int ServiceProcess::Wait(std::chrono::milliseconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= end) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            pid_ = -1;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunService(const std::vector<std::string>& args, std::string& err)
{
    TempDir scratch;
    ServiceProcess process(args, scratch / "stderr");
    const int status = process.Wait();
    err = process.Err();
    return status;
}

int RunStatus(const std::vector<std::string>& args, std::string& out)
{
    std::string command = LIGAMOR_SERVICE_EXE " --status";
    for (const std::string& arg : args) command += " '" + arg + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    out.clear();
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

SystemSettings ShopSettings(const std::string& folder, const std::string& database, const std::string& interval)
{
    const std::string in = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    return {.Server = "LOCAL",
            .DatabasePath = database,
            .UserName = "SYSDBA",
            .Password = "masterkey",
            .SendDirectory = in + "ENVIO/",
            .ResponseDirectory = in + "RESPOSTA/",
            .LogDirectory = in + "LOG/",
            .IntervalText = interval};
}

NotifySocket::NotifySocket(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) throw std::runtime_error("socket path too long: " + path);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error("no notification socket " + path);
    timeval wait{.tv_sec = 1, .tv_usec = 0};  // only keeps a broken build from hanging the run
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    ::setenv("LIGAMOR_TEST_NOTIFY_SOCKET", path.c_str(), 1);
}

NotifySocket::~NotifySocket()
{
    ::unsetenv("LIGAMOR_TEST_NOTIFY_SOCKET");
    if (fd_ >= 0) ::close(fd_);
}

std::string NotifySocket::Receive() const
{
    char buffer[4096];
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace ligamor::test
