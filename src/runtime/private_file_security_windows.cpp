// The access list of the settings file, which holds the password in clear.
#include "runtime/win32_support.h"

namespace ligamor::detail {

namespace {

bool WellKnownSid(WELL_KNOWN_SID_TYPE type, std::vector<unsigned char>& sid)
{
    DWORD size = SECURITY_MAX_SID_SIZE;
    sid.resize(size);
    if (!CreateWellKnownSid(type, nullptr, sid.data(), &size)) return false;
    sid.resize(size);
    return true;
}

}  // namespace

PrivateFileSecurity::PrivateFileSecurity()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        error_ = GetLastError();
        return;
    }
    const HandleOwner tokenOwner(token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    token_.resize(size);
    if (!GetTokenInformation(token, TokenUser, token_.data(), size, &size) ||
        !WellKnownSid(WinLocalSystemSid, system_) || !WellKnownSid(WinBuiltinAdministratorsSid, administrators_)) {
        error_ = GetLastError();
        return;
    }
    // The user first; a user who is SYSTEM (the service saving) is named once.
    std::vector<PSID> principals = {reinterpret_cast<TOKEN_USER*>(token_.data())->User.Sid};
    for (PSID sid : {PSID(system_.data()), PSID(administrators_.data())})
        if (!EqualSid(sid, principals.front())) principals.push_back(sid);
    DWORD aclSize = sizeof(ACL);
    for (PSID sid : principals) aclSize += sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(sid);
    acl_.resize(aclSize);
    PACL acl = reinterpret_cast<PACL>(acl_.data());
    if (!InitializeAcl(acl, aclSize, ACL_REVISION)) {
        error_ = GetLastError();
        return;
    }
    for (PSID sid : principals)
        if (!AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, sid)) {
            error_ = GetLastError();
            return;
        }
    // Protected: nothing is inherited from the folder.
    if (!InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) ||
        !SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
        error_ = GetLastError();
        return;
    }
    attributes_.nLength = sizeof attributes_;
    attributes_.lpSecurityDescriptor = &descriptor_;
    attributes_.bInheritHandle = FALSE;
}

}  // namespace ligamor::detail
