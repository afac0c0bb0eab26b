#pragma once
// An advisory lock on one file, held while this process integrates a send
// directory, so that a second window or service on the same directory stays
// out instead of racing the first for the same lines. The system releases it
// when the process ends, however it ends.
#include <cstdint>
#include <string>

namespace ligamor {

class InstanceLock {
public:
    enum class Outcome { Held, TakenByAnother };

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Locks path, creating the file when missing. Locking the file already
    // held (under any spelling of its path) keeps it; locking another one
    // lets the old go once the new is held. A file that can be neither
    // opened nor created raises a Failure naming it.
    Outcome Acquire(const std::string& path);
    void Release();
    bool Holds() const { return handle_ != -1; }

    // True when some process holds the lock on path. Asked without ever
    // holding it, not even for an instant, so that a window or service that
    // starts while a monitoring agent asks is never refused because of it.
    static bool HeldByAnyone(const std::string& path);

private:
    std::intptr_t handle_ = -1;  // a file descriptor, or a Windows HANDLE
};

namespace detail {
// Raises the Failure of a lock file that could not be opened (or created) or
// locked, naming it and the system's reason.
enum class LockStep { Open, Lock };
[[noreturn]] void ThrowLockFailure(LockStep step, const std::string& path, int osError);
}  // namespace detail

}  // namespace ligamor
