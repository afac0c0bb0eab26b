// What a start finishes of a file's commit that a kill interrupted, by the
// journal's phase: never decided, the log cut back and the file read again;
// decided, the file recorded as applied. (A transaction still in limbo is the
// crash-point test's: only a killed process leaves one.)
#include <gtest/gtest.h>

#include "engine/applied_not_moved.h"
#include "engine/file_commit.h"
#include "engine/integration_log.h"
#include "support/database_fixture.h"
#include "support/temp_dir.h"

namespace ligamor::test {
namespace {

class InterruptedCommit : public DatabaseTest {
protected:
    InterruptedCommit()
    {
        WriteBytes(send + "PRODUTO.TXT", "I#1#A#T1#1#UN#1#2\r\n");
        StatFile(send + "PRODUTO.TXT", file.identity);
        WriteBytes(IntegrationLogPath(log), "antes\r\nbloco do arquivo\r\n");
    }
    TempDir dir;
    std::string send = dir / "";
    std::string log = dir / "";
    ReadInputFile file{1, send + "PRODUTO.TXT", {}, "PRODUTO_08122026_101010.TXT"};
};

TEST_F(InterruptedCommit, NotDecidedTheLogIsCutBackAndTheFileReadAgain)
{
    SaveFileCommit(send, {file, 999999, 7, false});
    EXPECT_EQ(FinishInterruptedCommit(dtmain.conmain, send, log), "PRODUTO.TXT desfeito, a ser lido de novo");
    EXPECT_EQ(ReadBytes(IntegrationLogPath(log)), "antes\r\n");
    EXPECT_TRUE(LoadAppliedNotMoved(send).empty());
    EXPECT_FALSE(LoadFileCommit(send));
    EXPECT_EQ(FinishInterruptedCommit(dtmain.conmain, send, log), "");
}

TEST_F(InterruptedCommit, DecidedTheFileIsRecordedAsAppliedOnce)
{
    SaveFileCommit(send, {file, 999999, 7, true});
    EXPECT_EQ(FinishInterruptedCommit(dtmain.conmain, send, log), "PRODUTO.TXT aplicado por inteiro");
    EXPECT_EQ(ReadBytes(IntegrationLogPath(log)), "antes\r\nbloco do arquivo\r\n");
    const ReadInputFiles applied = LoadAppliedNotMoved(send);
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0].target, file.target);
    EXPECT_TRUE(applied[0].identity == file.identity);
    EXPECT_FALSE(LoadFileCommit(send));
}

}  // namespace
}  // namespace ligamor::test
