// The spool file on either platform: bytes read back at any offset, two in one
// directory apart, and no name left in the directory once closed.
#include <gtest/gtest.h>

#include <string>

#include "runtime/spool_file.h"
#include "support/temp_dir.h"

namespace ligamor {
namespace {

std::string ReadAll(const SpoolFile& file, std::uint64_t offset = 0)
{
    char buffer[64];
    std::size_t read = 0;
    EXPECT_EQ(file.Read(offset, buffer, sizeof buffer, read), 0);
    return std::string(buffer, read);
}

TEST(SpoolFile, ReadsBackWhatWasWrittenAndLeavesNoFileBehind)
{
    for (const SpoolNaming naming : {SpoolNaming::Nameless, SpoolNaming::Named}) {
        SCOPED_TRACE(naming == SpoolNaming::Named ? "named" : "nameless");
        test::TempDir dir;
        {
            SpoolFile one;
            SpoolFile other;
            ASSERT_EQ(one.Create(dir.Path(), naming), 0);
            ASSERT_EQ(other.Create(dir.Path(), naming), 0);
            EXPECT_EQ(one.Write("one ", 4), 0);
            EXPECT_EQ(other.Write("other", 5), 0);
            EXPECT_EQ(one.Write("two", 3), 0);
            EXPECT_EQ(ReadAll(one), "one two");
            EXPECT_EQ(ReadAll(one, 4), "two");
            // A write after a read still lands at the end.
            EXPECT_EQ(one.Write("!", 1), 0);
            EXPECT_EQ(one.Size(), 8u);
            EXPECT_EQ(ReadAll(one), "one two!");
            EXPECT_EQ(ReadAll(other), "other");
            // Windows shows each under its passing name while it is open.
            for (const std::string& name : test::ListDir(dir.Path()))
                EXPECT_TRUE(name.starts_with(".ligamor-") && name.ends_with(".tmp")) << name;
        }
        EXPECT_TRUE(test::ListDir(dir.Path()).empty());
    }
}

}  // namespace
}  // namespace ligamor
