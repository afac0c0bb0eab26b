#include "runtime/text_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/failures.h"
#include "support/temp_dir.h"

namespace ligamor {
namespace {

std::vector<std::string> Lines(const std::string& bytes)
{
    test::TempDir dir;
    test::WriteBytes(dir / "f.txt", bytes);
    TextFileReader reader(dir / "f.txt");
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line)) lines.push_back(line);
    EXPECT_TRUE(reader.AtEnd());
    return lines;
}

using V = std::vector<std::string>;

TEST(LineReader, LfAndCrLfEndLinesAndTheLastLineNeedsNoTerminator)
{
    EXPECT_EQ(Lines("a\r\nb\nc"), (V{"a", "b", "c"}));
    EXPECT_EQ(Lines("a\nb\n"), (V{"a", "b"}));
    EXPECT_EQ(Lines("a\r\n\r\nb\r\n"), (V{"a", "", "b"}));
    EXPECT_EQ(Lines("\n"), (V{""}));
    EXPECT_EQ(Lines(""), (V{}));
}

TEST(LineReader, ALoneCrIsDroppedAndEndsNothing)
{
    EXPECT_EQ(Lines("a\rb\rc\r"), (V{"abc"}));
}

TEST(LineReader, CtrlZEndsTheFile)
{
    EXPECT_EQ(Lines("a\r\nb\r\n\x1A"), (V{"a", "b"}));
    EXPECT_EQ(Lines("a\r\n\x1A\r\nc\r\n"), (V{"a"}));
    EXPECT_EQ(Lines("a\r\nb\x1A" "c\r\nd\r\n"), (V{"a", "b"}));
}

TEST(LineReader, BytesAreKeptAndLinesHaveNoLengthLimit)
{
    std::string longLine(10 * 1024 * 1024, 'x');
    longLine[5] = '\xC7';
    V lines = Lines(longLine + "\r\nfim");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], longLine);
    EXPECT_EQ(lines[1], "fim");
}

TEST(LineReader, AMissingFileIsFileNotFound)
{
    test::TempDir dir;
    try {
        TextFileReader reader(dir / "none.txt");
        FAIL();
    } catch (const IoFailure& f) {
        EXPECT_EQ(f.Code(), 2);
        EXPECT_STREQ(f.what(), "File not found");
    }
}

TEST(Rename, NeverReplacesAnExistingTarget)
{
    test::TempDir dir;
    test::WriteBytes(dir / "a", "new");
    test::WriteBytes(dir / "b", "old");
    EXPECT_FALSE(RenameNoReplace(dir / "a", dir / "b"));
    EXPECT_EQ(test::ReadBytes(dir / "b"), "old");
    EXPECT_EQ(test::ReadBytes(dir / "a"), "new");
    EXPECT_TRUE(RenameNoReplace(dir / "a", dir / "c"));
    EXPECT_EQ(test::ReadBytes(dir / "c"), "new");
    EXPECT_FALSE(FileExists(dir / "a"));
}

}  // namespace
}  // namespace ligamor
