#include "config/settings.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <iterator>

#include "config/command_line.h"
#include "runtime/failures.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"
#include "support/temp_dir.h"

namespace ligamor {
namespace {

using test::TempDir;

const SystemSettings kOdd = {.Server = " srv 01 ",
                             .DatabasePath = "C:\\dados\\banco.fdb",
                             .UserName = "sysdba",
                             .Password = "a=b= c ",
                             .SendDirectory = "  /envio/ ",
                             .ResponseDirectory = "/resposta=1/",
                             .LogDirectory = "/log dir/",
                             .IntervalText = "5000 "};

// Saved as by a user of the Brazilian dd/mm/yyyy, "/" and ":".
void Save(const std::string& file, const SystemSettings& s)
{
    SaveSettings(file, s, RegionalSettings{});
}

TEST(SettingsFile, WritesTheEightLinesInFileOrderWithCrLfThenTheSaversDateFormat)
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
              "DIRETORIO_LOG=/log dir/\r\n"
              "FORMATO_DATA=dd/mm/aaaa hh:mm:ss\r\n");
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

// The installed program runs from a folder its users cannot write; its window
// and its service then share the settings of /etc/ligamor/. A copy of its own
// keeps them beside it, and --config wins over both.
TEST(SettingsFile, LivesBesideTheExecutableUnlessItIsInstalledIntoASystemFolder)
{
    struct Row {
        std::string executableDirectory;
        std::string configOption;
        std::string file;
    };
    const Row rows[] = {
        {"/usr/bin/", "", "/etc/ligamor/ConfigLigamor.csi"},
        {"/usr/local/bin/", "", "/etc/ligamor/ConfigLigamor.csi"},
        {"/bin/", "", "/etc/ligamor/ConfigLigamor.csi"},
        {"/opt/ligamor/", "", "/opt/ligamor/ConfigLigamor.csi"},
        {"/home/loja/ligamor/usr/bin/", "", "/home/loja/ligamor/usr/bin/ConfigLigamor.csi"},
        {"/usrx/", "", "/usrx/ConfigLigamor.csi"},
        {"/usr/bin/", "/srv/loja.csi", "/srv/loja.csi"},
    };
    for (const Row& row : rows) {
        CommandLine line;
        line.settingsFile = row.configOption;
        EXPECT_EQ(SettingsFileOf(line, row.executableDirectory), row.file) << row.executableDirectory;
    }
}

// The shared folder's group (the service's user and the shop's users) reads
// and writes the file there; other users do not.
TEST(SettingsFile, SavedForTheFolderGroupItTakesThatGroupAndMode0660)
{
    // A group other than this process's own, which the file would get anyway.
    gid_t group = static_cast<gid_t>(-1);
    if (geteuid() == 0) {
        group = 65534;
    } else {
        gid_t groups[64];
        const int n = getgroups(64, groups);
        for (int i = 0; i < n; ++i)
            if (groups[i] != getegid()) group = groups[i];
    }
    if (group == static_cast<gid_t>(-1)) GTEST_SKIP() << "this user belongs to no second group";
    TempDir dir;
    ASSERT_EQ(chown(dir.Path().c_str(), static_cast<uid_t>(-1), group), 0);
    const std::string file = SettingsFilePath(dir.Path());
    test::WriteBytes(file, "old");
    ReplaceWholeFile(file, "new", FileAccess::OwnerAndFolderGroup);
    struct stat st {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0660u);
    EXPECT_EQ(st.st_gid, group);
    EXPECT_EQ(test::ReadBytes(file), "new");
    EXPECT_EQ(test::ListDir(dir.Path()), std::set<std::string>{kSettingsFileName});
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
    EXPECT_EQ(s.Server, kOdd.Server);
    EXPECT_EQ(s.DatabasePath, kOdd.DatabasePath);
    EXPECT_EQ(s.UserName, kOdd.UserName);
    EXPECT_EQ(s.Password, kOdd.Password);
    EXPECT_EQ(s.SendDirectory, kOdd.SendDirectory);
    EXPECT_EQ(s.ResponseDirectory, kOdd.ResponseDirectory);
    EXPECT_EQ(s.IntervalText, kOdd.IntervalText);
    EXPECT_EQ(s.LogDirectory, kOdd.LogDirectory);
    EXPECT_EQ(s.IntervalMs, 0);

    const std::optional<SystemSettings> d = ReadSettingsForDialog(file);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->Server, kOdd.Server);
    EXPECT_EQ(d->DatabasePath, kOdd.DatabasePath);
    EXPECT_EQ(d->UserName, kOdd.UserName);
    EXPECT_EQ(d->Password, kOdd.Password);
    EXPECT_EQ(d->SendDirectory, kOdd.SendDirectory);
    EXPECT_EQ(d->ResponseDirectory, kOdd.ResponseDirectory);
    EXPECT_EQ(d->IntervalText, kOdd.IntervalText);
    EXPECT_EQ(d->LogDirectory, kOdd.LogDirectory);
}

// The dialog then shows this text and stops the timer (the dialog's own test).
TEST(SettingsFile, MissingFileGivesTheDialogNoValuesAndTheNotConfiguredText)
{
    TempDir dir;
    EXPECT_FALSE(ReadSettingsForDialog(SettingsFilePath(dir.Path())));
    EXPECT_EQ(NotConfiguredMessage(),
              Cp1252("Aplicação Não Configurada. Clique no Botão Configurações Para Correta Utilização do "
                     "Configurador."));
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
    Save(file, {.Server = "SRV",
                .DatabasePath = "C:\\SENHA\\X.FDB",
                .UserName = "SYSDBA",
                .Password = "pw",
                .SendDirectory = "\\\\SERVIDOR\\PAF\\ENVIO\\",
                .ResponseDirectory = "/r/",
                .LogDirectory = "/CAMINHO/LOG/",
                .IntervalText = "5000"});
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

// The commit mode and what a refused line does are read from each load whole;
// lines that no key reads come back from a save after the eight, in their order.
TEST(SettingsFile, TheTransactionAndRefusedLinesKeysAreReadAndLinesOfOtherKeysSurviveASave)
{
    TempDir dir;
    std::string file = SettingsFilePath(dir.Path());
    const std::string eight = "SERVIDOR=S\r\nCAMINHO=C\r\nUSUARIO=U\r\nSENHA=P\r\nDIRETORIO_ENVIO=/e/\r\n"
                              "DIRETORIO_RESPOSTA=/r/\r\nTEMPO_COMUNICACAO=5\r\nDIRETORIO_LOG=/l/\r\n";
    test::WriteBytes(file, "OUTRA=1\r\n" + eight + "TRANSACAO= arquivo \r\nRECUSADAS=Separar\r\n");
    SystemSettings s;
    LoadSettings(file, s);
    EXPECT_EQ(s.Transaction, TransactionMode::Arquivo);
    EXPECT_EQ(s.RefusedLines, RefusedLinesMode::Separar);
    EXPECT_EQ(s.OtherLines, (std::vector<std::string>{"OUTRA=1", "TRANSACAO= arquivo ", "RECUSADAS=Separar"}));
    Save(file, s);
    EXPECT_EQ(test::ReadBytes(file),
              eight + "OUTRA=1\r\nTRANSACAO= arquivo \r\nRECUSADAS=Separar\r\nFORMATO_DATA=dd/mm/aaaa hh:mm:ss\r\n");

    for (const char* other : {"TRANSACAO=LINHA\r\nRECUSADAS=PARAR\r\n", "TRANSACAO=ARQUIVOS\r\nRECUSADAS=SEPARA\r\n", ""}) {
        test::WriteBytes(file, eight + other);
        LoadSettings(file, s);
        EXPECT_EQ(s.Transaction, TransactionMode::Linha) << other;
        EXPECT_EQ(s.RefusedLines, RefusedLinesMode::Parar) << other;
    }
}

TEST(SettingsFile, UnreadableFileRaisesAndKeepsWhatWasThere)
{
    TempDir dir;
    SystemSettings s;
    s.Server = "kept";
    // A directory under the file's name cannot be read as a file.
    ASSERT_EQ(mkdir(SettingsFilePath(dir.Path()).c_str(), 0755), 0);
    EXPECT_THROW(LoadSettings(SettingsFilePath(dir.Path()), s), SettingsFailure);
    EXPECT_EQ(s.Server, "kept");
}

}  // namespace
}  // namespace ligamor
