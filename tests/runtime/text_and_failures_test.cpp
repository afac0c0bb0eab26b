#include <gtest/gtest.h>

#include "runtime/failures.h"
#include "runtime/messages.h"
#include "runtime/run_handler.h"
#include "runtime/text1252.h"
#include "support/recording_seams.h"

namespace ligamor {
namespace {

TEST(Text1252, PortugueseLettersBecomeSingleBytesAndBack)
{
    EXPECT_EQ(Cp1252("INSERÇÃO"), "INSER\xC7\xC3O");
    EXPECT_EQ(Cp1252("Não é €"), "N\xE3o \xE9 \x80");
    EXPECT_EQ(Utf16FromCp1252("N\xE3o \xE9 \x80\x81"), u"Não é €\uFFFD");
}

TEST(Failures, IoMessagesFollowTheTable)
{
    EXPECT_STREQ(IoFailure(2).what(), "File not found");
    EXPECT_STREQ(IoFailure(3).what(), "Invalid filename");
    EXPECT_STREQ(IoFailure(4).what(), "Too many open files");
    EXPECT_STREQ(IoFailure(5).what(), "File access denied");
    EXPECT_STREQ(IoFailure(100).what(), "Read beyond end of file");
    EXPECT_STREQ(IoFailure(101).what(), "Disk full");
    EXPECT_STREQ(IoFailure(106).what(), "Invalid numeric input");
    EXPECT_STREQ(IoFailure(32).what(), "I/O error 32");
    EXPECT_STREQ(InvalidInteger("5x").what(), "'5x' is not a valid integer value");
    EXPECT_STREQ(InvalidDate("31/02/2024").what(), "'31/02/2024' is not a valid date");
}

TEST(ErrorReport, AddsAFullStopOnlyAfterCharactersThatSortAfterIt)
{
    EXPECT_EQ(ErrorReportText("Disk full"), "Disk full.");
    EXPECT_EQ(ErrorReportText("I/O error 32"), "I/O error 32.");
    EXPECT_EQ(ErrorReportText("Erro."), "Erro.");
    EXPECT_EQ(ErrorReportText("Erro:"), "Erro:.");
    EXPECT_EQ(ErrorReportText("ISC ERROR\r\n"), "ISC ERROR\r\n");
    EXPECT_EQ(ErrorReportText("Fim!"), "Fim!");
    EXPECT_EQ(ErrorReportText("Conex\xE3o"), "Conex\xE3o.");
}

TEST(RunHandler, SwallowsTheSilentAbortAndReportsEverythingElse)
{
    test::RecordingMessages messages;
    EXPECT_FALSE(RunHandler(messages, [] { throw SilentAbort{}; }));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(RunHandler(messages, [] { throw IoFailure(2); }));
    EXPECT_FALSE(RunHandler(messages, [] { throw std::runtime_error("boom"); }));
    // A value holding a NUL byte does not cut the text there.
    EXPECT_FALSE(RunHandler(messages, [] { throw ConversionFailure(std::string("'1\0X' inv", 9)); }));
    EXPECT_TRUE(RunHandler(messages, [] {}));
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[0], (test::Shown{test::Shown::Report, "File not found."}));
    EXPECT_EQ(messages.shown[1], (test::Shown{test::Shown::Report, "boom."}));
    EXPECT_EQ(messages.shown[2], (test::Shown{test::Shown::Report, std::string("'1\0X' inv.", 10)}));
}

}  // namespace
}  // namespace ligamor
