// An InterBase client (gds32.dll) has isc_interprete but not fb_interpret:
// the tests' bridge built as gds32.dll without fb_interpret stands for one.
#include <gtest/gtest.h>
#include <windows.h>

#include "db/dtmmain.h"
#include "support/recording_seams.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace ligamor {
namespace {

// The failure texts of a refused insert and of a missing database file.
std::vector<std::string> FailureTexts(const std::string& client, const std::string& database,
                                      const std::string& missing)
{
    FbClientLoader loader({client});
    test::RecordingMessages messages;
    DataModule dtmain(loader);
    std::vector<std::string> texts;
    ConnectDatabase(dtmain, database, "SYSDBA", "");
    EXPECT_EQ(client, loader.LoadedName());
    ExecuteCommand(dtmain.conmain, messages, "INSERT INTO UF (CDUF, SGUF) VALUES (35, 'SP')");
    try {
        ExecuteCommand(dtmain.conmain, messages, "INSERT INTO UF (CDUF, SGUF) VALUES (35, 'SP')");
    } catch (const DatabaseFailure& failure) {
        texts.push_back(failure.Message());
    }
    ExecuteCommand(dtmain.conmain, messages, "DELETE FROM UF");
    try {
        ConnectDatabase(dtmain, missing, "SYSDBA", "");
    } catch (const DatabaseFailure& failure) {
        texts.push_back(failure.Message());
    }
    return texts;
}

TEST(InterBaseClient, ErrorTextsAreThoseOfTheFirebirdClient)
{
    test::TempDir dir;
    const std::string database = test::CreateShopDatabase(dir.Path());
    const std::vector<std::string> firebird = FailureTexts("fbclient.dll", database, dir / "NAOEXISTE.FDB");
    const std::vector<std::string> interbase = FailureTexts("gds32.dll", database, dir / "NAOEXISTE.FDB");
    ASSERT_EQ(nullptr, GetProcAddress(GetModuleHandleW(L"gds32.dll"), "fb_interpret"));
    ASSERT_EQ(2u, firebird.size());
    EXPECT_EQ(firebird, interbase);
    // Several message lines each, read cluster by cluster.
    for (const std::string& text : interbase)
        EXPECT_GE(std::count(text.begin(), text.end(), '\n'), 4) << text;
}

}  // namespace
}  // namespace ligamor
