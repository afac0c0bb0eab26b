#pragma once
// The real ligamor-service executable run by a test: its standard error goes
// to a file the test reads while it runs.
#include <signal.h>
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

#include "config/settings.h"

namespace ligamor::test {

// How it is started: which front end, and with SIGINT ignored as a shell
// starts a background job. Other signals are at their defaults.
struct Launch {
    std::string program;  // empty: ligamor-service
    bool interruptIgnored = false;
};

class ServiceProcess {
public:
    ServiceProcess(const std::vector<std::string>& args, const std::string& errPath, const Launch& launch = {});
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    // True once its standard error holds text; false when it ended first.
    // The deadline only keeps a broken build from hanging the test run.
    bool WaitForText(const std::string& text) const;
    void Signal(int signal) const { kill(pid_, signal); }
    bool Running() const;
    // True while it holds path open (a cycle reading that file).
    bool HoldsOpen(const std::string& path) const;
    // Its exit status; -1 when a signal ended it, or when it did not end
    // within the deadline (then it is killed).
    int Wait(std::chrono::milliseconds deadline = std::chrono::minutes(3));
    std::string Err() const;

private:
    pid_t pid_ = -1;
    std::string errPath_;
};

// Runs it to its end and gives the exit status; err receives its standard error.
int RunService(const std::vector<std::string>& args, std::string& err);

// ligamor-service --status with the arguments, as a monitoring agent runs it;
// out receives its standard output. Its exit status, or -1.
int RunStatus(const std::vector<std::string>& args, std::string& out);

// A shop's settings in folder: the database through the embedded engine,
// ENVIO/, RESPOSTA/ and LOG/ in folder, the interval in milliseconds.
SystemSettings ShopSettings(const std::string& folder, const std::string& database,
                            const std::string& interval = "200");

// The service manager's notification socket, as systemd listens on it: a
// datagram socket of the test's own, which the processes started while it
// exists are given as NOTIFY_SOCKET.
class NotifySocket {
public:
    explicit NotifySocket(const std::string& path);
    ~NotifySocket();
    NotifySocket(const NotifySocket&) = delete;
    NotifySocket& operator=(const NotifySocket&) = delete;
    // The next datagram; empty after a second of silence.
    std::string Receive() const;

private:
    int fd_ = -1;
};

}  // namespace ligamor::test
