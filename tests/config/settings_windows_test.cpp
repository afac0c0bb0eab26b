#include "config/settings.h"

#include <windows.h>
#include <aclapi.h>
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <iterator>
#include <vector>

#include "runtime/win32_support.h"
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

std::vector<unsigned char> WellKnown(WELL_KNOWN_SID_TYPE type)
{
    std::vector<unsigned char> sid(SECURITY_MAX_SID_SIZE);
    DWORD size = SECURITY_MAX_SID_SIZE;
    EXPECT_TRUE(CreateWellKnownSid(type, nullptr, sid.data(), &size));
    sid.resize(size);
    return sid;
}

// The principals that a protected access list lets in with full access, in
// its order; a list that inherits or holds anything else fails the test.
std::vector<std::vector<unsigned char>> Principals(PSECURITY_DESCRIPTOR descriptor)
{
    std::vector<std::vector<unsigned char>> principals;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    EXPECT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL acl = nullptr;
    EXPECT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted));
    if (!present || acl == nullptr) {
        ADD_FAILURE() << "no access list";
        return principals;
    }
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        void* ace = nullptr;
        EXPECT_TRUE(GetAce(acl, i, &ace));
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        EXPECT_EQ(allowed->Mask & FILE_ALL_ACCESS, static_cast<DWORD>(FILE_ALL_ACCESS));
        const auto* sid = reinterpret_cast<const unsigned char*>(&allowed->SidStart);
        principals.emplace_back(sid, sid + GetLengthSid(const_cast<unsigned char*>(sid)));
    }
    return principals;
}

// The window's user, the service's account (LocalSystem, which is SYSTEM) and
// Administrators: the service reads what the window saved, and no other user
// does. Wine keeps no access list on a file, so this checks the list as the
// program builds it; only a real Windows shows it enforced.
TEST(SettingsFile, OnWindowsItsAccessListLetsItsUserTheServiceAndAdministratorsIn)
{
    detail::PrivateFileSecurity security;
    ASSERT_EQ(security.Error(), 0u);
    const std::vector<std::vector<unsigned char>> expected = {
        CurrentUser(), WellKnown(WinLocalSystemSid), WellKnown(WinBuiltinAdministratorsSid)};
    EXPECT_EQ(Principals(security.Attributes()->lpSecurityDescriptor), expected);
}

// Saved over an old file through a temporary one that is gone afterwards, with
// that access list, nothing inherited from the folder.
TEST(SettingsFile, OnWindowsItIsReplacedWholeWithItsAccessList)
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

    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetNamedSecurityInfoA(file.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                                    nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
    if (!(control & SE_DACL_PROTECTED) && GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) {
        LocalFree(descriptor);
        GTEST_SKIP() << "this Wine does not keep a file's access list";
    }
    const std::vector<std::vector<unsigned char>> expected = {
        CurrentUser(), WellKnown(WinLocalSystemSid), WellKnown(WinBuiltinAdministratorsSid)};
    EXPECT_EQ(Principals(descriptor), expected);
    LocalFree(descriptor);
}

std::string Environment(const char* name)
{
    char value[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableA(name, value, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(value, n) : std::string();
}

// Installed into Program Files, the window and the service share the settings
// in %ProgramData%\Ligamor\; a copy unpacked into a folder of its own keeps
// them beside it.
TEST(SettingsFile, OnWindowsItLivesInProgramDataForAProgramInstalledIntoProgramFiles)
{
    const std::string programFiles = Environment("ProgramFiles");
    const std::string programData = Environment("ProgramData");
    ASSERT_FALSE(programFiles.empty());
    ASSERT_FALSE(programData.empty());
    const std::string shared = programData + "\\Ligamor\\ConfigLigamor.csi";
    std::string lower = programFiles;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    struct Row {
        std::string executableDirectory;
        std::string file;
    };
    std::vector<Row> rows = {
        {programFiles + "\\Ligamor\\", shared},
        {lower + "\\ligamor\\bin\\", shared},
        {"C:\\Ligamor\\", "C:\\Ligamor\\ConfigLigamor.csi"},
        {programFiles + " Extra\\", programFiles + " Extra\\ConfigLigamor.csi"},
    };
    const std::string x86 = Environment("ProgramFiles(x86)");
    if (!x86.empty()) rows.push_back({x86 + "\\Ligamor\\", shared});
    for (const Row& row : rows) EXPECT_EQ(DefaultSettingsFile(row.executableDirectory), row.file) << row.executableDirectory;
}

}  // namespace
}  // namespace ligamor
