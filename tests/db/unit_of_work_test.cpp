// A line's units of work on a real database: each statement committed on its
// own, inside the file's transaction, and gathered into a block.
#include <gtest/gtest.h>

#include "db/file_transaction.h"
#include "db/statement_pack.h"
#include "support/database_fixture.h"

namespace ligamor {
namespace {

class UnitsOfWork : public test::DatabaseTest {
protected:
    std::string Insert(int code) { return "INSERT INTO UF (CDUF, SGUF) VALUES (" + std::to_string(code) + ", 'X')"; }

    // The failure a statement gets when it runs alone, committed on its own.
    std::string AloneFailure(const std::string& statement)
    {
        OwnCommitWork alone(dtmain.conmain);
        try {
            alone.Execute(messages, statement);
        } catch (const DatabaseFailure& failure) {
            return failure.Message();
        }
        return "no failure";
    }
};

TEST_F(UnitsOfWork, OnItsOwnEachWriteCommitsAtOnce)
{
    OwnCommitWork work(dtmain.conmain);
    EXPECT_EQ(work.Execute(messages, Insert(1)), Written::Done);
    EXPECT_EQ(work.WriteLookup(Insert(2)), Written::Done);
    EXPECT_THROW(work.Execute(messages, Insert(1)), DatabaseFailure);
    ExpectOnlyPlain(CommandFailedText(Insert(1)));
    EXPECT_EQ(Count("UF"), 2);
}

// Behind a line's savepoint a refused statement undoes the line, and the code
// a lookup created before it stays with the file.
TEST_F(UnitsOfWork, InTheFileARefusalUndoesTheLineButKeepsItsLookupsCode)
{
    {
        FileTransaction file(dtmain.conmain);
        FileTransactionWork work(file);
        EXPECT_EQ(work.Execute(messages, Insert(1)), Written::Done);
        {
            LineSavepoint line(file);
            EXPECT_EQ(work.WriteLookup(Insert(2)), Written::Done);
            EXPECT_EQ(work.Execute(messages, Insert(3)), Written::Done);
            EXPECT_THROW(work.Execute(messages, Insert(1)), DatabaseFailure);
        }
        file.Commit();
    }
    ExpectOnlyPlain(CommandFailedText(Insert(1)));
    EXPECT_EQ(Value("select list(CDUF) from (select CDUF from UF order by CDUF)"), "1,2");
}

// A block keeps the statements before a refused one, undoes that one alone,
// runs none after it, and gives its failure as the statement alone gets it.
TEST_F(UnitsOfWork, GatheredARefusedStatementFailsOnceAsItWouldAlone)
{
    Sql(Insert(9));
    StatementPack pack;
    StatementPack::Outcome outcome;
    {
        FileTransaction file(dtmain.conmain);
        GatheredWork work(file, pack);
        for (int code : {1, 9, 3}) {
            pack.NextLine();
            EXPECT_EQ(work.Execute(messages, Insert(code)), Written::Done);
        }
        pack.NextLine();
        EXPECT_EQ(work.Execute(messages, Insert(4)), Written::Done);
        EXPECT_EQ(work.Execute(messages, Insert(5)), Written::RunsAlone);  // a second statement
        EXPECT_TRUE(pack.CurrentLineRunsAlone());
        pack.NextLine();
        EXPECT_EQ(work.WriteLookup(Insert(6)), Written::RunsAlone);  // it would write before the block
        EXPECT_EQ(pack.Size(), 3u);
        outcome = pack.Run(file);
        file.Commit();
    }
    EXPECT_TRUE(outcome.prepared);
    EXPECT_EQ(outcome.applied, 1u);
    EXPECT_EQ(outcome.refused, Insert(9));
    ASSERT_TRUE(outcome.refusal);
    try {
        std::rethrow_exception(outcome.refusal);
    } catch (const DatabaseFailure& failure) {
        EXPECT_EQ(failure.Message(), AloneFailure(Insert(9)));
        EXPECT_EQ(failure.Message().find("At block line"), std::string::npos);
    }
    EXPECT_EQ(Value("select list(CDUF) from (select CDUF from UF order by CDUF)"), "1,9");
}

}  // namespace
}  // namespace ligamor
