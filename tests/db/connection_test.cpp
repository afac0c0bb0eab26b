// conmain: the database name, the attachment's parameters, reconnecting, the
// dialect, and the missing client library.
#include <gtest/gtest.h>

#include "db/dtmmain.h"
#include "db/firebird/fb_params.h"
#include "support/environment.h"
#include "support/recording_seams.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace ligamor {
namespace {

TEST(ComposeDatabaseName, LocalExactlyGivesThePathAloneAnyOtherServerIsPrefixed)
{
    EXPECT_EQ("C:\\DADOS\\BANCO.FDB", ComposeDatabaseName("LOCAL", "C:\\DADOS\\BANCO.FDB"));
    EXPECT_EQ("SRV01:C:\\DADOS\\BANCO.FDB", ComposeDatabaseName("SRV01", "C:\\DADOS\\BANCO.FDB"));
    EXPECT_EQ("local:X", ComposeDatabaseName("local", "X"));
    EXPECT_EQ(":/dados/LOJA.FDB", ComposeDatabaseName("", "/dados/LOJA.FDB"));
    EXPECT_EQ(" LOCAL:/dados/LOJA.FDB", ComposeDatabaseName(" LOCAL", "/dados/LOJA.FDB"));
}

TEST(ParameterBlocks, AttachmentSendsTheTrimmedUserAndThePasswordUnchanged)
{
    const std::string expected = std::string{isc_dpb_version1, isc_dpb_user_name, 6} + "SYSDBA" +
                                 std::string{isc_dpb_password, 11} + " masterkey ";
    EXPECT_EQ(expected, AttachmentParameters("  SYSDBA ", " masterkey "));
    EXPECT_EQ((expected + std::string{isc_dpb_lc_ctype, 7} + "WIN1252"),
              AttachmentParameters("  SYSDBA ", " masterkey ", "WIN1252"));
}

TEST(ParameterBlocks, EmptyValuesComeFromTheEnvironmentOrAreLeftOut)
{
    test::UnsetEnvironment("ISC_USER");
    test::UnsetEnvironment("ISC_PASSWORD");
    EXPECT_EQ(std::string(1, isc_dpb_version1), AttachmentParameters("   ", ""));
    test::SetEnvironment("ISC_USER", "CAIXA");
    test::SetEnvironment("ISC_PASSWORD", "segredo");
    const std::string fromEnvironment = std::string{isc_dpb_version1, isc_dpb_user_name, 5} + "CAIXA" +
                                        std::string{isc_dpb_password, 7} + "segredo";
    EXPECT_EQ(fromEnvironment, AttachmentParameters("", ""));
    const std::string passwordOnly =
        std::string{isc_dpb_version1, isc_dpb_user_name, 2} + "JO" + std::string{isc_dpb_password, 7} + "segredo";
    EXPECT_EQ(passwordOnly, AttachmentParameters("JO", ""));
}

TEST(ParameterBlocks, AValueOver255BytesFails)
{
    EXPECT_NO_THROW(AttachmentParameters(std::string(255, 'U'), "x"));
    EXPECT_THROW(AttachmentParameters("SYSDBA", std::string(256, 'p')), DatabaseFailure);
}

TEST(ParameterBlocks, TransactionsAreReadCommittedRecordVersionNoWaitReadWrite)
{
    EXPECT_EQ((std::string{isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version,
                           isc_tpb_nowait}),
              TransactionParameters());
}

TEST(ClientLibrary, NoLoadableLibraryFailsEveryAttachmentWithTheNotInstalledText)
{
    FbClientLoader loader({"libnaoexiste-ligamor.so.9", "/nenhum/libgds.so"});
    test::RecordingMessages messages;
    DataModule dtmain(loader);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            ConnectDatabase(dtmain, "/tmp/LOJA.FDB", "SYSDBA", "masterkey");
            FAIL() << "no failure raised";
        } catch (const DatabaseFailure& failure) {
            EXPECT_EQ("O cliente InterBase (GDS32.DLL) n\xE3o est\xE1 instalado", failure.Message());
        }
        EXPECT_FALSE(dtmain.conmain.Connected());
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST(ClientLibrary, TheFirstLibraryThatLoadsIsUsed)
{
    const std::string client = DefaultFbClientNames().front();  // libfbclient.so.2, fbclient.dll
    FbClientLoader loader({"libnaoexiste-ligamor.so.9", client});
    loader.Api();
    EXPECT_EQ(client, loader.LoadedName());
}

class ConnectionTest : public ::testing::Test {
protected:
    test::TempDir dir;
    FbClientLoader loader;
    test::RecordingMessages messages;
    DataModule dtmain{loader};
};

TEST_F(ConnectionTest, ConnectsThroughTheLoopbackServerByServerName)
{
    const std::string database = test::CreateShopDatabase(dir.Path());
    const test::ServerValues server = test::LoopbackServer();
    ConnectDatabase(dtmain, ComposeDatabaseName(server.server, database), " " + server.userName + " ",
                    server.password);
    ASSERT_TRUE(dtmain.conmain.Connected());
    ExecuteCommand(dtmain.conmain, messages, "INSERT INTO UF (CDUF, SGUF) VALUES (35, 'SP')");
    EXPECT_EQ("35", OpenQuery(dtmain, "select cduf from uf where SGUF = 'SP'")->FirstAsText());
    EXPECT_EQ("TCPv4", OpenQuery(dtmain, "select mon$remote_protocol from mon$attachments "
                                         "where mon$attachment_id = current_connection")
                           ->FirstAsText());
}

TEST_F(ConnectionTest, AWrongPasswordLeavesConmainDisconnectedEvenWhenItWasConnected)
{
    const std::string database = test::CreateShopDatabase(dir.Path());
    const test::ServerValues server = test::LoopbackServer();
    const std::string name = ComposeDatabaseName(server.server, database);
    ConnectDatabase(dtmain, name, server.userName, server.password);
    ASSERT_TRUE(dtmain.conmain.Connected());

    EXPECT_THROW(ConnectDatabase(dtmain, name, server.userName, server.password + "x"), DatabaseFailure);
    EXPECT_FALSE(dtmain.conmain.Connected());
    EXPECT_EQ(name, dtmain.conmain.DatabaseName());
    EXPECT_TRUE(messages.shown.empty());

    ConnectDatabase(dtmain, name, server.userName, server.password);
    EXPECT_TRUE(dtmain.conmain.Connected());
}

TEST_F(ConnectionTest, AMissingDatabaseFileFailsAndLeavesConmainDisconnected)
{
    const std::string database = test::CreateShopDatabase(dir.Path());
    ConnectDatabase(dtmain, database, "SYSDBA", "");
    EXPECT_THROW(ConnectDatabase(dtmain, dir / "NAOEXISTE.FDB", "SYSDBA", ""), DatabaseFailure);
    EXPECT_FALSE(dtmain.conmain.Connected());
}

TEST_F(ConnectionTest, ReconnectingEndsTheDefaultTransactionAndDetachesTheOldAttachment)
{
    const std::string database = test::CreateShopDatabase(dir.Path());
    ConnectDatabase(dtmain, database, "SYSDBA", "");
    EXPECT_FALSE(OpenQuery(dtmain, "select count(*) from uf")->IsEmpty());
    EXPECT_TRUE(dtmain.trnMain().Active());

    ConnectDatabase(dtmain, database, "SYSDBA", "");
    EXPECT_FALSE(dtmain.trnMain().Active());
    // The first attachment is gone: no other user attachment is left.
    EXPECT_EQ("0", OpenQuery(dtmain, "select count(*) from mon$attachments "
                                     "where mon$system_flag = 0 and mon$attachment_id <> current_connection")
                       ->FirstAsText());
}

TEST_F(ConnectionTest, StatementsArePreparedInTheDialectTheDatabaseReports)
{
    const std::string dialect1 = test::CreateDatabase(dir.Path(), "D1.FDB", 1, "CREATE TABLE T (A INTEGER);");
    const std::string dialect3 = test::CreateShopDatabase(dir.Path());
    EXPECT_EQ(3, dtmain.conmain.Dialect());  // not attached

    ConnectDatabase(dtmain, dialect1, "SYSDBA", "");
    EXPECT_EQ(1, dtmain.conmain.Dialect());
    // Double quotes delimit a text only in dialect 1.
    EXPECT_EQ("abc", OpenQuery(dtmain, "select \"abc\" from rdb$database")->FirstAsText());
    ExecuteCommand(dtmain.conmain, messages, "INSERT INTO T (A) VALUES (\"7\")");
    EXPECT_EQ(7, OpenQuery(dtmain, "select A from T")->FirstAsInteger());

    ConnectDatabase(dtmain, dialect3, "SYSDBA", "");
    EXPECT_EQ(3, dtmain.conmain.Dialect());
    EXPECT_THROW(OpenQuery(dtmain, "select \"abc\" from rdb$database"), DatabaseFailure);
}

}  // namespace
}  // namespace ligamor
