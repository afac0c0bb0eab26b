#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "engine/directories.h"
#include "engine/file_stamp.h"
#include "runtime/failures.h"
#include "runtime/text_file.h"
#include "support/recording_seams.h"
#include "support/temp_dir.h"

namespace ligamor {
namespace {

TEST(RemoveChar, RemovesEveryOccurrence)
{
    EXPECT_EQ(RemoveChar("06/12/2026", '/'), "06122026");
    EXPECT_EQ(RemoveChar("0612", '/'), "0612");
    EXPECT_EQ(RemoveChar("a//b", '/'), "ab");
    std::string longText(300, 'x');
    longText[0] = '/';
    longText[299] = '/';
    EXPECT_EQ(RemoveChar(longText, '/'), std::string(298, 'x'));
}

TEST(FileStamp, RegionalSeparators)
{
    test::FixedClock clock({2027, 2, 1, 9, 5, 7});
    EXPECT_EQ(FileStamp(clock, RegionalSettings{}), "01022027_090507");
    EXPECT_EQ(FileStamp(clock, RegionalSettings{DateOrder::DayMonthYear, '.', ':'}), "01.02.2027_090507");
    EXPECT_EQ(FileStamp(clock, RegionalSettings{DateOrder::DayMonthYear, ' ', '-'}), "01022027_09-05-07");
    test::FixedClock december;  // 06/12/2026 14:37:01
    EXPECT_EQ(FileStamp(december, RegionalSettings{}), "06122026_143701");
}

TEST(ForceDirectoryPath, CreatesEachLevelOnceAndAcceptsTheTrailingSlash)
{
    test::TempDir dir;
    const std::string path = dir / "A/B/C";
    ForceDirectoryPath(path);
    EXPECT_TRUE(DirectoryExists(dir / "A"));
    EXPECT_TRUE(DirectoryExists(dir / "A/B/C"));
    ForceDirectoryPath(path + "/");  // everything exists: nothing happens
    ForceDirectoryPath(dir / "A//B/D/");
    EXPECT_TRUE(DirectoryExists(dir / "A/B/D"));

    // Relative to the working directory, as a value without a leading "/".
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    ForceDirectoryPath("R/S/");
    std::filesystem::current_path(previous);
    EXPECT_TRUE(DirectoryExists(dir / "R/S"));
}

TEST(ForceDirectoryPath, ErrorNamesTheWholePathAndTheOsCode)
{
    test::TempDir dir;
    test::WriteBytes(dir / "file", "x");
    // The path comes from the settings in UTF-8; the message shows it as typed.
    const std::string path = dir / "file/Relat\xC3\xB3rio/deeper";
    try {
        ForceDirectoryPath(path);
        FAIL() << "no directory error";
    } catch (const DirectoryFailure& f) {
        // "file" exists but is no directory: mkdir answers EEXIST (17).
        EXPECT_EQ(f.Message(), "N\xE3o foi poss\xEDvel criar o diret\xF3rio \"" + dir / "file/Relat\xF3rio/deeper" +
                                   "\". C\xF3" "digo do erro: 17.");
    }

    ::chmod(dir.Path().c_str(), 0500);
    if (::geteuid() != 0) {
        try {
            ForceDirectoryPath(dir / "X/Y/");
            FAIL() << "no directory error";
        } catch (const DirectoryFailure& f) {
            EXPECT_EQ(f.Message(), "N\xE3o foi poss\xEDvel criar o diret\xF3rio \"" + dir / "X/Y/" +
                                       "\". C\xF3" "digo do erro: 13.");
        }
    }
    ::chmod(dir.Path().c_str(), 0700);
}

TEST(ForceDirectoryPath, EmptyPathIsADirectoryError)
{
    try {
        ForceDirectoryPath("");
        FAIL() << "no directory error";
    } catch (const DirectoryFailure& f) {
        EXPECT_EQ(f.Message(), "N\xE3o foi poss\xEDvel criar o diret\xF3rio \"\". C\xF3" "digo do erro: 2.");
    }
}

}  // namespace
}  // namespace ligamor
