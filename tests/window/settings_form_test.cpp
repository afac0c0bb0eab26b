// The settings dialog's behaviour without any toolkit, one row per situation:
// what the fields show, the boxes, the polling timer, what OK writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <ostream>

#include "config/date_format.h"
#include "db/firebird/fb_client.h"
#include "runtime/run_handler.h"
#include "runtime/text1252.h"
#include "support/recording_seams.h"
#include "support/temp_dir.h"
#include "window/settings_form.h"

namespace ligamor::test {

void PrintTo(const Shown& shown, std::ostream* out)
{
    *out << "{" << shown.kind << ", \"" << shown.text << "\"}";
}

namespace {

// The widgets as the form fills and reads them.
class FakeDialog : public SettingsFormView {
public:
    std::string Text(const SettingsFormField& field) const override { return texts.at(field.widget); }
    void SetText(const SettingsFormField& field, const std::string& text) override { texts[field.widget] = text; }
    std::vector<std::string> Shown() const
    {
        std::vector<std::string> shown;
        for (const SettingsFormField& field : kSettingsFormFields) shown.push_back(texts.at(field.widget));
        return shown;
    }
    std::map<std::string, std::string> texts;
};

const std::string kEight = "SERVIDOR=LOCAL\r\nCAMINHO=/srv/Loja/dados.fdb\r\nUSUARIO=sysdba\r\nSENHA=pa=ss\r\n"
                           "DIRETORIO_ENVIO=/srv/Loja/Envio/\r\nDIRETORIO_RESPOSTA=/srv/Loja/Resposta/\r\n"
                           "TEMPO_COMUNICACAO=2500\r\nDIRETORIO_LOG=/srv/Loja/Log/\r\n";
// Another program's line, in the system's code page, blanks at both ends.
const std::string kOthers = "TRANSACAO=ARQUIVO\r\nRECUSADAS=SEPARAR\r\n Observa\xe7\xe3o da loja = caixa 2 ;\t \r\n";
const std::vector<std::string> kFileValues = {"LOCAL", "/srv/Loja/dados.fdb", "sysdba", "pa=ss", "/srv/Loja/Envio/",
                                              "/srv/Loja/Resposta/", "2500", "/srv/Loja/Log/"};
const std::vector<std::string> kInitialTexts = {"", "", "", "",
                                                "/home/loja/VELDOR SISTEMAS/MARBELO PAF-ECF/ENVIO/",
                                                "/home/loja/VELDOR SISTEMAS/MARBELO PAF-ECF/RESPOSTA/", "5000",
                                                "/home/loja/VELDOR SISTEMAS/MARBELO PAF-ECF/RESPOSTA/"};

enum class File { Missing, Eight, WithOtherLines, Unreadable };
enum class Then { Cancel, Ok, TestOtherDatabaseThenCancel, OkAfterTheFolderWentAway };

struct Row {
    const char* name;
    File file;
    Then then;
    std::vector<std::string> fields;  // shown once the dialog is up
    std::vector<Shown> boxes;         // in order, up to the dialog's close
    bool pollingStopped;
    bool saved;                       // what Close gave
    const char* bytesAfter;           // the file afterwards; nullptr: none there
};

void PrintTo(const Row& row, std::ostream* out)
{
    *out << row.name;
}

class SettingsFormTable : public ::testing::TestWithParam<Row> {};

TEST_P(SettingsFormTable, ShowTestAndOk)
{
    const Row& row = GetParam();
    TempDir dir;
    const std::string folder = dir / "config/";
    std::filesystem::create_directories(folder);
    // A file that exists and cannot be read, whoever runs the test (root
    // reads a file of mode 000): the process's memory at address 0.
    const std::string path = row.file == File::Unreadable ? "/proc/self/mem" : folder + kSettingsFileName;
    if (row.file == File::Eight) WriteBytes(path, kEight);
    if (row.file == File::WithOtherLines) WriteBytes(path, kEight + kOthers);
    RecordingMessages messages;
    FakeTimer timer;
    timer.SetInterval(600000);
    FbClientLoader loader;
    DataModule dtmain{loader};
    SettingsFormServices services{path, messages, timer, dtmain};
    SettingsForm form(services, "/home/loja/");
    FakeDialog dialog;

    form.Show(dialog);
    EXPECT_EQ(dialog.Shown(), row.fields);
    if (row.then == Then::TestOtherDatabaseThenCancel) {
        dialog.texts["edtcaminho"] = dir / "NAO_EXISTE.FDB";
        form.Test(dialog);
    }
    if (row.then == Then::Ok || row.then == Then::OkAfterTheFolderWentAway) form.Accept(dialog);
    if (row.then == Then::OkAfterTheFolderWentAway) std::filesystem::remove_all(folder);
    bool saved = false;
    RunHandler(messages, [&] { saved = form.Close(); });

    EXPECT_EQ(messages.shown, row.boxes);
    EXPECT_EQ(timer.interval == 0, row.pollingStopped);
    EXPECT_EQ(saved, row.saved);
    if (row.bytesAfter) {
        EXPECT_EQ(ReadBytes(path), row.bytesAfter);
    } else if (row.file != File::Unreadable) {
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

// OK records the date format of the user who clicked it, after the kept lines.
const std::string kDated = "FORMATO_DATA=" + DateFormatValue(PlatformRegionalSettings()) + "\r\n";
const std::string kEightSaved = kEight + kDated;
const std::string kEightAndOthers = kEight + kOthers + kDated;
const std::vector<std::string> kEmpty(8);

INSTANTIATE_TEST_SUITE_P(
    Rows, SettingsFormTable,
    ::testing::Values(
        Row{"Idle", File::Eight, Then::Ok, kFileValues, {}, false, true, kEightSaved.c_str()},
        Row{"NotConfigured", File::Missing, Then::Cancel, kEmpty,
            {{Shown::Information, NotConfiguredMessage()}}, true, false, nullptr},
        Row{"AfterAFailedRead", File::Unreadable, Then::Cancel, kInitialTexts,
            {{Shown::Report, "File access denied."}}, false, false, nullptr},
        // The fields never showed the file: OK must not replace it with them.
        Row{"OkAfterAFailedRead", File::Unreadable, Then::Ok, kInitialTexts,
            {{Shown::Report, "File access denied."},
             {Shown::Report, Cp1252("As configurações de /proc/self/mem não puderam ser lidas quando esta janela "
                                    "abriu: o arquivo não foi substituído, para que nada se perca.")}},
            false, false, nullptr},
        Row{"WithKeptLines", File::WithOtherLines, Then::Ok, kFileValues, {}, false, true, kEightAndOthers.c_str()},
        Row{"WithAFailingTestConnection", File::Eight, Then::TestOtherDatabaseThenCancel, kFileValues,
            {{Shown::Error, Cp1252("Erro de Conexão.")}}, false, false, kEight.c_str()},
        Row{"WithAFailingSave", File::Eight, Then::OkAfterTheFolderWentAway, kFileValues,
            {{Shown::Report, "File not found."}}, false, false, nullptr}),
    [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ligamor::test
