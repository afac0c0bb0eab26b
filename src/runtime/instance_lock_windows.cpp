// The instance lock on Windows: LockFileEx on the lock file.
#include "runtime/instance_lock.h"

#include "runtime/win32_support.h"

namespace ligamor {

namespace {

using detail::HandleOwner;

HANDLE HandleOf(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

bool SameFile(HANDLE a, HANDLE b)
{
    FileIdentity ia, ib;
    return detail::IdentityOfHandle(a, ia) && detail::IdentityOfHandle(b, ib) && ia.device == ib.device &&
           ia.inode == ib.inode;
}

// Shared in every way: the lock is the byte range, not the opening, so a
// window or service of another user may open the file (and delete it, which
// changes nothing for the holder) while this one holds it.
HANDLE OpenLockFile(const std::string& path, DWORD access)
{
    return CreateFileW(detail::Wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

void InstanceLock::Release()
{
    // Closing the handle ends its lock; so does the end of the process.
    if (handle_ != -1) CloseHandle(HandleOf(handle_));
    handle_ = -1;
}

InstanceLock::Outcome InstanceLock::Acquire(const std::string& path)
{
    // The window's user and the service's user may differ: whoever comes
    // second may only read the file the first made, and LockFileEx works on
    // a handle opened for reading as well.
    HANDLE opened = OpenLockFile(path, GENERIC_READ | GENERIC_WRITE);
    if (opened == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED) opened = OpenLockFile(path, GENERIC_READ);
    if (opened == INVALID_HANDLE_VALUE)
        detail::ThrowLockFailure(detail::LockStep::Open, path, static_cast<int>(GetLastError()));
    HandleOwner file(opened);
    // A byte-range lock belongs to the handle: a second handle of the file
    // this process already holds would be refused by our own lock.
    if (handle_ != -1 && SameFile(file.get(), HandleOf(handle_))) return Outcome::Held;
    // The first byte, which the empty file does not even have.
    OVERLAPPED at{};
    if (!LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        const DWORD err = GetLastError();
        if (err == ERROR_LOCK_VIOLATION) return Outcome::TakenByAnother;
        detail::ThrowLockFailure(detail::LockStep::Lock, path, static_cast<int>(err));
    }
    // Windows cannot be asked whether a range is locked without trying to
    // lock it. So the holder also keeps a shared lock on the second byte,
    // which HeldByAnyone tries for an instant; a starter never competes for
    // that byte, it only waits that instant out here.
    OVERLAPPED shown{};
    shown.Offset = 1;
    for (int tries = 0; tries < 200; ++tries) {
        if (LockFileEx(file.get(), LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &shown)) break;
        if (GetLastError() != ERROR_LOCK_VIOLATION) break;  // only asking goes blind
        Sleep(10);
    }
    Release();
    handle_ = reinterpret_cast<std::intptr_t>(file.release());
    return Outcome::Held;
}

bool InstanceLock::HeldByAnyone(const std::string& path)
{
    HandleOwner file(CreateFileW(detail::Wide(path).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) return false;
    OVERLAPPED shown{};
    shown.Offset = 1;
    if (!LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &shown))
        return GetLastError() == ERROR_LOCK_VIOLATION;
    UnlockFileEx(file.get(), 0, 1, 0, &shown);
    return false;
}

}  // namespace ligamor
