#include "runtime/text_file.h"

#include <gtest/gtest.h>

#include "runtime/failures.h"
#include "support/temp_dir.h"

namespace ligamor {
namespace {

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
