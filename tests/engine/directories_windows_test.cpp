#include <gtest/gtest.h>

#include "engine/directories.h"
#include "runtime/failures.h"
#include "runtime/text_file.h"
#include "support/temp_dir.h"

namespace ligamor {
namespace {

TEST(WindowsForceDirectoryPath, CreatesEachLevelBelowTheDriveLetter)
{
    test::TempDir dir;
    ASSERT_EQ(dir.Path()[1], ':');
    const std::string path = dir / "A\\Integra\xE7\xE3o\\B";
    ForceDirectoryPath(path);
    EXPECT_TRUE(DirectoryExists(dir / "A\\Integra\xE7\xE3o\\B\\"));
    ForceDirectoryPath(path + "\\");  // everything exists: nothing happens
}

TEST(WindowsForceDirectoryPath, AMissingShareFailsForTheWholePath)
{
    const std::string path = "\\\\ligamor-sem-servidor\\PAF\\ENVIO\\";
    try {
        ForceDirectoryPath(path);
        FAIL() << "created";
    } catch (const DirectoryFailure& f) {
        const std::string prefix = DirectoryErrorMessage(path, 0);
        EXPECT_EQ(f.Message().substr(0, prefix.size() - 2), prefix.substr(0, prefix.size() - 2));
        EXPECT_NE(f.Message(), prefix);  // a real OS code, not 0
    }
}

TEST(WindowsForceDirectoryPath, AFileInTheWayFailsWithTheOsCode)
{
    test::TempDir dir;
    test::WriteBytes(dir / "A", "a file");
    try {
        ForceDirectoryPath(dir / "A\\B\\");
        FAIL() << "created";
    } catch (const DirectoryFailure& f) {
        EXPECT_EQ(f.Message(), DirectoryErrorMessage(dir / "A\\B\\", 183));  // ERROR_ALREADY_EXISTS
    }
}

}  // namespace
}  // namespace ligamor
