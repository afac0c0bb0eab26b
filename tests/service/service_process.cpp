#include "service/service_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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

ServiceProcess::ServiceProcess(const std::vector<std::string>& args, const std::string& errPath) : errPath_(errPath)
{
    std::vector<char*> argv;
    std::string program = LIGAMOR_SERVICE_EXE;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        const int fd = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, STDOUT_FILENO);
        dup2(fd, STDERR_FILENO);
        // The sanitizers' leak check would fail on the Firebird client's pools.
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        unsetenv("NOTIFY_SOCKET");
        unsetenv("JOURNAL_STREAM");
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

bool ServiceProcess::WaitForText(const std::string& text) const
{
    const auto end = std::chrono::steady_clock::now() + kDeadline;
    while (std::chrono::steady_clock::now() < end) {
        if (Err().find(text) != std::string::npos) return true;
        // Ended (and left for Wait to collect)?
        siginfo_t info{};
        if (waitid(P_PID, pid_, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid_)
            return Err().find(text) != std::string::npos;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

int ServiceProcess::Wait()
{
    const auto end = std::chrono::steady_clock::now() + kDeadline;
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= end) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            break;
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

}  // namespace ligamor::test
