// How ProcessInputFile reads an input file: every line the processor sees.
#include <gtest/gtest.h>

#include "engine/input_files.h"
#include "runtime/failures.h"
#include "support/temp_dir.h"

namespace ligamor {
namespace {

using Lines = std::vector<std::string>;

class LineReader : public ::testing::Test {
protected:
    // The lines handed to the processor, and whether any line was read.
    Lines Read(const std::string& bytes, bool* any = nullptr)
    {
        test::WriteBytes(dir / "IN.TXT", bytes);
        Lines lines;
        FileIdentity identity;
        const std::string path = dir / "IN.TXT";
        const RecordProcessor processor = [&](const std::string& line) {
            lines.push_back(line);
            return "<" + line + ">";
        };
        bool result = ProcessInputFile({path, processor, dir.Path()}, {}, identity);
        if (any) *any = result;
        return lines;
    }
    test::TempDir dir;
};

TEST_F(LineReader, LineEnds)
{
    EXPECT_EQ(Read("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(Read("a\nb\n"), (Lines{"a", "b"}));
    EXPECT_EQ(Read("a\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(Read("a\rb\rc\r"), (Lines{"abc"}));
    EXPECT_EQ(Read("a\n\n\nb\n"), (Lines{"a", "", "", "b"}));
    EXPECT_EQ(Read("\n"), (Lines{""}));
}

TEST_F(LineReader, CtrlZEndsTheFile)
{
    EXPECT_EQ(Read("a\r\nb\r\n\x1A"), (Lines{"a", "b"}));
    EXPECT_EQ(Read("a\r\n\x1A" "c\r\nd\r\n"), (Lines{"a"}));
    EXPECT_EQ(Read("a\r\nb\x1A" "c\r\nd\r\n"), (Lines{"a", "b"}));
}

TEST_F(LineReader, EmptyFileGivesFalseAndAnEmptyBlock)
{
    bool any = true;
    EXPECT_EQ(Read("", &any), Lines{});
    EXPECT_FALSE(any);
    EXPECT_EQ(test::ReadBytes(dir / "LogIntegracaoPAF.txt"), "");
    Read("x\r\n\r\n", &any);
    EXPECT_TRUE(any);
    EXPECT_EQ(test::ReadBytes(dir / "LogIntegracaoPAF.txt"), "<x>\r\n<>\r\n");
}

TEST_F(LineReader, NoLengthLimit)
{
    const std::string big(10 * 1024 * 1024, 'x');
    Lines lines = Read(big + "\r\nshort");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], big);
    EXPECT_EQ(lines[1], "short");
}

TEST_F(LineReader, MissingFileIsFileNotFound)
{
    FileIdentity identity;
    try {
        const std::string path = dir / "NONE.TXT";
        const RecordProcessor same = [](const std::string& l) { return l; };
        ProcessInputFile({path, same, dir.Path()}, {}, identity);
        FAIL() << "no failure";
    } catch (const IoFailure& f) {
        EXPECT_EQ(f.Code(), 2);
        EXPECT_EQ(f.Message(), "File not found");
    }
}

}  // namespace
}  // namespace ligamor
