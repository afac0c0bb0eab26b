// The access list of the settings file, which holds the password in clear.
#include "runtime/win32_support.h"

namespace ligamor::detail {

OwnerOnlySecurity::OwnerOnlySecurity()
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
    if (!GetTokenInformation(token, TokenUser, token_.data(), size, &size)) {
        error_ = GetLastError();
        return;
    }
    const PSID user = reinterpret_cast<TOKEN_USER*>(token_.data())->User.Sid;
    acl_.resize(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(user));
    PACL acl = reinterpret_cast<PACL>(acl_.data());
    // Protected: nothing is inherited from the folder.
    if (!InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) ||
        !AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, user) ||
        !InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
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
