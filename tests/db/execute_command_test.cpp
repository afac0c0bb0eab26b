// ExecuteCommand on a real database: each statement its own unit of work.
#include <gtest/gtest.h>

#include <memory>

#include "db/firebird/fb_handles.h"
#include "support/database_fixture.h"
#include "support/row_held_elsewhere.h"

namespace ligamor {
namespace {

using test::Shown;

class ExecuteCommandTest : public test::DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        Sql("INSERT INTO UF (CDUF, SGUF) VALUES (1, 'SP')");
    }

    std::string Count(const std::string& table) { return Value("select count(*) from " + table); }
};

TEST_F(ExecuteCommandTest, KeyViolationRollsBackShowsTheStatementAndRaisesTheSameFailure)
{
    const std::string statement = "INSERT INTO UF (CDUF, SGUF) VALUES (1, 'RJ')";
    try {
        ExecuteCommand(dtmain.conmain, messages, statement);
        FAIL() << "no failure raised";
    } catch (const DatabaseFailure& failure) {
        EXPECT_EQ(335544665L, failure.IscCode());  // isc_unique_key_violation
        EXPECT_EQ(0u, failure.Message().rfind("ISC ERROR CODE:335544665\r\n\r\nISC ERROR MESSAGE:\r\n", 0))
            << failure.Message();
    }
    ASSERT_EQ(1u, messages.shown.size());
    EXPECT_EQ((Shown{Shown::Plain, "N\xE3o foi poss\xEDvel executar o comando: \n\r" + statement}), messages.shown[0]);
    EXPECT_EQ("SP", Value("select SGUF from UF where CDUF = 1"));
    EXPECT_EQ("1", Count("UF"));
}

TEST_F(ExecuteCommandTest, UpdateMatchingNoRowCommitsAndReturnsTrue)
{
    ExecuteCommand(dtmain.conmain, messages, "UPDATE UF SET SGUF = 'MG' WHERE CDUF = 99");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ("SP", Value("select SGUF from UF where CDUF = 1"));
}

TEST_F(ExecuteCommandTest, AFailingSecondStatementLeavesTheFirstCommitted)
{
    ExecuteCommand(dtmain.conmain, messages, "INSERT INTO UF (CDUF, SGUF) VALUES (2, 'RJ')");
    EXPECT_THROW(ExecuteCommand(dtmain.conmain, messages, "INSERT INTO UF (CDUF, SGUF) VALUES (2, 'MG')"), DatabaseFailure);
    EXPECT_EQ("RJ", Value("select SGUF from UF where CDUF = 2"));
    EXPECT_EQ(1u, messages.shown.size());
}

TEST_F(ExecuteCommandTest, AMalformedStatementIsRefusedWithItsMessage)
{
    const std::string statement = " UPDATE CLIENTE SET VLLIMITE = , CDSTCLIENTE = 1 WHERE CDCLIENTE = 5";
    EXPECT_THROW(ExecuteCommand(dtmain.conmain, messages, statement), DatabaseFailure);
    ASSERT_EQ(1u, messages.shown.size());
    EXPECT_EQ(CommandFailedText(statement), messages.shown[0].text);
}

TEST_F(ExecuteCommandTest, ALookupRightAfterFindsTheRow)
{
    ExecuteCommand(dtmain.conmain, messages, "INSERT INTO UF (CDUF, SGUF) VALUES (7, 'BA')");
    auto query = OpenQuery(dtmain, "select cduf from uf where SGUF = 'BA'");
    EXPECT_FALSE(query->IsEmpty());
    EXPECT_EQ("7", query->FirstAsText());
    query.reset();
    // trnMain is read committed: a row committed after its context began is seen too.
    ExecuteCommand(dtmain.conmain, messages, "INSERT INTO UF (CDUF, SGUF) VALUES (8, 'PE')");
    EXPECT_EQ(8, OpenQuery(dtmain, "select cduf from uf where SGUF = 'PE'")->FirstAsInteger());
}

TEST_F(ExecuteCommandTest, AnUpdateOfARowAnotherAttachmentHoldsFailsAtOnce)
{
    // The other attachment changes the row without committing.
    auto held = std::make_unique<test::RowHeldElsewhere>(database, "UPDATE UF SET SGUF = 'XX' WHERE CDUF = 1");

    const std::string statement = "UPDATE UF SET SGUF = 'RS' WHERE CDUF = 1";
    try {
        ExecuteCommand(dtmain.conmain, messages, statement);
        FAIL() << "no failure raised";
    } catch (const DatabaseFailure& failure) {
        // Firebird reports the conflict of a no-wait update as isc_deadlock.
        EXPECT_EQ(335544336L, failure.IscCode());
        EXPECT_EQ(0u, failure.Message().rfind("ISC ERROR CODE:335544336\r\n\r\nISC ERROR MESSAGE:\r\n"
                                               "deadlock\r\nupdate conflicts with concurrent update\r\n",
                                               0))
            << failure.Message();
    }
    ASSERT_EQ(1u, messages.shown.size());
    EXPECT_EQ(CommandFailedText(statement), messages.shown[0].text);

    held.reset();
    EXPECT_EQ("SP", Value("select SGUF from UF where CDUF = 1"));
}

}  // namespace
}  // namespace ligamor
