#include "config/settings.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <iterator>

#include "runtime/failures.h"
#include "runtime/text1252.h"
#include "support/recording_seams.h"
#include "support/temp_dir.h"

namespace ligamor {
namespace {

using test::FakeTimer;
using test::RecordingMessages;
using test::Shown;
using test::TempDir;

struct Eight {
    std::string server, path, user, password, send, response, interval, log;
};

const Eight kOdd = {" srv 01 ", "C:\\dados\\banco.fdb", "sysdba", "a=b= c ", "  /envio/ ",
                    "/resposta=1/", "5000 ", "/log dir/"};

void Save(const std::string& file, const Eight& e)
{
    SaveSettings(file, e.server, e.path, e.user, e.password, e.send, e.response, e.interval, e.log);
}

TEST(SettingsFile, WritesTheEightLinesInFileOrderWithCrLf)
{
    TempDir dir;
    std::string file = SettingsFilePath(dir.Path());
    Save(file, kOdd);
    EXPECT_EQ(test::ReadBytes(file),
              "SERVIDOR= srv 01 \r\n"
              "CAMINHO=C:\\dados\\banco.fdb\r\n"
              "USUARIO=sysdba\r\n"
              "SENHA=a=b= c \r\n"
              "DIRETORIO_ENVIO=  /envio/ \r\n"
              "DIRETORIO_RESPOSTA=/resposta=1/\r\n"
              "TEMPO_COMUNICACAO=5000 \r\n"
              "DIRETORIO_LOG=/log dir/\r\n");
}

TEST(SettingsFile, IsReadableByItsOwnerOnlyBecauseItHoldsThePassword)
{
    TempDir dir;
    std::string file = SettingsFilePath(dir.Path());
    test::WriteBytes(file, "old");
    chmod(file.c_str(), 0644);
    Save(file, kOdd);
    struct stat st {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

// A write cut short (here by a file size limit that binds root too, as a full
// disk would) leaves the old file as it was and no temporary file behind.
TEST(SettingsFile, InterruptedSaveLeavesTheOldFileByteForByte)
{
    TempDir dir;
    std::string file = SettingsFilePath(dir.Path());
    const std::string old = "SERVIDOR=LOCAL\r\nCAMINHO=/dados/loja.fdb\r\n";
    test::WriteBytes(file, old);
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 16;
    auto previous = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(Save(file, kOdd), IoFailure);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
    EXPECT_EQ(test::ReadBytes(file), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()),
              1);
}

TEST(SettingsFile, TextsWithBlanksEqualsSignsAndLowerCaseSurviveBothReaders)
{
    TempDir dir;
    std::string file = SettingsFilePath(dir.Path());
    Save(file, kOdd);

    SystemSettings s;
    LoadSettings(file, s);
    EXPECT_EQ(s.Server, kOdd.server);
    EXPECT_EQ(s.DatabasePath, kOdd.path);
    EXPECT_EQ(s.UserName, kOdd.user);
    EXPECT_EQ(s.Password, kOdd.password);
    EXPECT_EQ(s.SendDirectory, kOdd.send);
    EXPECT_EQ(s.ResponseDirectory, kOdd.response);
    EXPECT_EQ(s.IntervalText, kOdd.interval);
    EXPECT_EQ(s.LogDirectory, kOdd.log);
    EXPECT_EQ(s.IntervalMs, 0);

    RecordingMessages messages;
    FakeTimer timer;
    DialogSettings d;
    EXPECT_TRUE(ReadSettingsForDialog(file, messages, timer, d));
    EXPECT_EQ(d.server, kOdd.server);
    EXPECT_EQ(d.databasePath, kOdd.path);
    EXPECT_EQ(d.userName, kOdd.user);
    EXPECT_EQ(d.password, kOdd.password);
    EXPECT_EQ(d.sendDirectory, kOdd.send);
    EXPECT_EQ(d.responseDirectory, kOdd.response);
    EXPECT_EQ(d.interval, kOdd.interval);
    EXPECT_EQ(d.logDirectory, kOdd.log);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(timer.intervals.empty());
}

TEST(SettingsFile, MissingFileShowsNotConfiguredAndStopsTheTimer)
{
    TempDir dir;
    RecordingMessages messages;
    FakeTimer timer;
    timer.interval = 5000;
    DialogSettings d;
    EXPECT_FALSE(ReadSettingsForDialog(SettingsFilePath(dir.Path()), messages, timer, d));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0],
              (Shown{Shown::Information,
                     Cp1252("Aplicação Não Configurada. Clique no Botão Configurações Para Correta "
                            "Utilização do Configurador.")}));
    EXPECT_EQ(timer.interval, 0);
    EXPECT_EQ(d.server + d.databasePath + d.userName + d.password + d.sendDirectory + d.responseDirectory +
                  d.interval + d.logDirectory,
              "");
}

TEST(SettingsFile, LaterLineWinsAndMissingKeyKeepsTheEarlierLoad)
{
    TempDir dir;
    std::string file = SettingsFilePath(dir.Path());
    SystemSettings s;
    test::WriteBytes(file, "SERVIDOR=A\r\nTEMPO_COMUNICACAO=1000\r\nSERVIDOR=B\r\n");
    LoadSettings(file, s);
    EXPECT_EQ(s.Server, "B");
    EXPECT_EQ(s.IntervalText, "1000");

    test::WriteBytes(file, "SERVIDOR=C\r\n");
    LoadSettings(file, s);
    EXPECT_EQ(s.Server, "C");
    EXPECT_EQ(s.IntervalText, "1000");
}

TEST(SettingsFile, KeyWordsAreSearchedOnlyBeforeTheEqualsSign)
{
    TempDir dir;
    std::string file = SettingsFilePath(dir.Path());
    Save(file, {"SRV", "C:\\SENHA\\X.FDB", "SYSDBA", "pw", "\\\\SERVIDOR\\PAF\\ENVIO\\", "/r/", "5000",
                "/CAMINHO/LOG/"});
    SystemSettings s;
    LoadSettings(file, s);
    EXPECT_EQ(s.Server, "SRV");
    EXPECT_EQ(s.Password, "pw");
    EXPECT_EQ(s.DatabasePath, "C:\\SENHA\\X.FDB");
    EXPECT_EQ(s.SendDirectory, "\\\\SERVIDOR\\PAF\\ENVIO\\");
    EXPECT_EQ(s.LogDirectory, "/CAMINHO/LOG/");
}

TEST(SettingsFile, KeepsTheRestOfTheReadingRule)
{
    TempDir dir;
    std::string file = SettingsFilePath(dir.Path());
    // A bare key word is its own value, lower case matches nothing, a line
    // without "=" gives the whole line to every key word in it, and
    // DIRETORIO_ENVIO_X still contains DIRETORIO_ENVIO.
    test::WriteBytes(file, "SENHA\r\nservidor=x\r\nDIRETORIO_ENVIO_X=/e/\r\nTEMPO_COMUNICACAO= 7\n");
    SystemSettings s;
    s.Server = "kept";
    LoadSettings(file, s);
    EXPECT_EQ(s.Password, "SENHA");
    EXPECT_EQ(s.Server, "kept");
    EXPECT_EQ(s.SendDirectory, "/e/");
    EXPECT_EQ(s.IntervalText, " 7");
}

TEST(SettingsFile, UnreadableFileRaisesAndKeepsWhatWasThere)
{
    TempDir dir;
    SystemSettings s;
    s.Server = "kept";
    // A directory under the file's name cannot be read as a file.
    ASSERT_EQ(mkdir(SettingsFilePath(dir.Path()).c_str(), 0755), 0);
    EXPECT_THROW(LoadSettings(SettingsFilePath(dir.Path()), s), IoFailure);
    EXPECT_EQ(s.Server, "kept");
}

}  // namespace
}  // namespace ligamor
