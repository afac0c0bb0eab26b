#include "runtime/file_move.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "runtime/text_file.h"
#include "support/temp_dir.h"

namespace ligamor {
namespace {

TEST(MoveFileNoReplace, TakenNamesGetTheNextFreeSuffixAndFailuresLeaveTheFile)
{
    test::TempDir dir;
    test::WriteBytes(dir / "B.TXT", "old");
    test::WriteBytes(dir / "B_2.TXT", "old 2");
    test::WriteBytes(dir / "a", "new");
    const MoveResult moved = MoveFileNoReplace(dir / "a", dir / "B.TXT");
    EXPECT_EQ(moved.osError, 0);
    EXPECT_EQ(moved.movedTo, dir / "B_3.TXT");
    EXPECT_EQ(test::ReadBytes(dir / "B.TXT"), "old");
    EXPECT_EQ(test::ReadBytes(dir / "B_2.TXT"), "old 2");
    EXPECT_EQ(test::ReadBytes(dir / "B_3.TXT"), "new");
    EXPECT_FALSE(FileExists(dir / "a"));

    EXPECT_EQ(SuffixedName("/r.d/X_06122026_143701.TXT", 2), "/r.d/X_06122026_143701_2.TXT");
    EXPECT_EQ(SuffixedName("/r.d/X", 12), "/r.d/X_12");

    test::WriteBytes(dir / "c", "kept");
    EXPECT_EQ(MoveFileNoReplace(dir / "c", dir / "gone/B.TXT").osError, ENOENT);
    EXPECT_EQ(test::ReadBytes(dir / "c"), "kept");
}

}  // namespace
}  // namespace ligamor
