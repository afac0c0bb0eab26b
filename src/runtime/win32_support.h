#pragma once
// What the Windows files of the runtime and the client layer share: paths held
// in the ANSI code page (as the settings file holds them) turned into the
// UTF-16 the wide Windows APIs take, and back; a file's identity read from its
// handle; a handle closed on every path.
#include <windows.h>

#include <string>
#include <vector>

#include "runtime/text_file.h"

namespace ligamor::detail {

// CP_ACP bytes (or another code page's) to UTF-16: "C:\Integração\" in
// Windows-1252 works.
std::wstring Wide(const std::string& ansi, UINT codePage = CP_ACP);
// UTF-16 to a code page (CP_ACP unless told); a character it lacks becomes "?".
std::string Narrow(const std::wstring& wide, UINT codePage = CP_ACP);

// Nanoseconds since 1970 from a FILETIME-style count of 100 ns since 1601.
long long UnixNsFromFileTime(long long ticksSince1601);

// Volume, file index, size, last write and change time of an open file.
bool IdentityOfHandle(HANDLE handle, FileIdentity& out);

// The system's description of an error code, in the ANSI code page.
std::string SystemErrorText(DWORD code);

// Creates a new file, unshared, named stem + six letters + suffix (never an
// existing name), with the given security (nullptr: the folder's), access and
// attributes and flags. The handle, or INVALID_HANDLE_VALUE with GetLastError()
// set.
HANDLE CreateUniqueFile(const std::string& stem, const std::string& suffix, SECURITY_ATTRIBUTES* security,
                        std::string& name, DWORD access = GENERIC_WRITE, DWORD flags = FILE_ATTRIBUTE_NORMAL);

// Gives the security attributes an access list, not inherited from the
// folder, that lets in the current user, SYSTEM (the account the service runs
// as, which must read the settings the window saves) and Administrators: the
// nearest Windows has to mode 0600.
class PrivateFileSecurity {
public:
    PrivateFileSecurity();
    PrivateFileSecurity(const PrivateFileSecurity&) = delete;
    PrivateFileSecurity& operator=(const PrivateFileSecurity&) = delete;
    // 0, or the system's error code when the access list could not be made.
    DWORD Error() const { return error_; }
    SECURITY_ATTRIBUTES* Attributes() { return &attributes_; }

private:
    std::vector<unsigned char> token_;  // TOKEN_USER, holding the user's SID
    std::vector<unsigned char> system_;
    std::vector<unsigned char> administrators_;
    std::vector<unsigned char> acl_;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
    DWORD error_ = 0;
};

// Closes a handle when it goes out of scope.
class HandleOwner {
public:
    explicit HandleOwner(HANDLE handle) : handle_(handle) {}
    ~HandleOwner()
    {
        if (handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr) CloseHandle(handle_);
    }
    HandleOwner(const HandleOwner&) = delete;
    HandleOwner& operator=(const HandleOwner&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE release()
    {
        HANDLE h = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return h;
    }

private:
    HANDLE handle_;
};

}  // namespace ligamor::detail
