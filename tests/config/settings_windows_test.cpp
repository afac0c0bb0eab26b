#include "config/settings.h"

#include <windows.h>
#include <aclapi.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <vector>

#include "support/temp_dir.h"

namespace ligamor {
namespace {

// The SID of the user running the test.
std::vector<unsigned char> CurrentUser()
{
    HANDLE token = nullptr;
    EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    EXPECT_TRUE(GetTokenInformation(token, TokenUser, buffer.data(), size, &size));
    CloseHandle(token);
    PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    const unsigned char* bytes = static_cast<const unsigned char*>(sid);
    return std::vector<unsigned char>(bytes, bytes + GetLengthSid(sid));
}

// Saved over an old file through a temporary one that is gone afterwards, with
// an access list of its user alone, nothing inherited from the folder.
TEST(SettingsFile, OnWindowsItIsReplacedWholeAndItsAccessListLetsItsUserAloneIn)
{
    test::TempDir dir;
    const std::string file = SettingsFilePath(dir.Path());
    test::WriteBytes(file, "old");
    SystemSettings settings;
    settings.Server = "srv";
    settings.DatabasePath = "C:\\dados\\banco.fdb";
    SaveSettings(file, settings);
    EXPECT_EQ(test::ReadBytes(file).rfind("SERVIDOR=srv\r\nCAMINHO=C:\\dados\\banco.fdb\r\n", 0), 0u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()),
              1);

    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetNamedSecurityInfoA(file.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl,
                                    nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
    if (!(control & SE_DACL_PROTECTED) && GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) {
        LocalFree(descriptor);
        GTEST_SKIP() << "this Wine does not keep a file's access list";
    }
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
    ASSERT_NE(acl, nullptr);
    ASSERT_EQ(acl->AceCount, 1);
    void* ace = nullptr;
    ASSERT_TRUE(GetAce(acl, 0, &ace));
    auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
    const std::vector<unsigned char> user = CurrentUser();
    EXPECT_TRUE(EqualSid(&allowed->SidStart, const_cast<unsigned char*>(user.data())));
    LocalFree(descriptor);
}

}  // namespace
}  // namespace ligamor
