// The table of the settings file's keys: each key is read and comes back from
// a save, and a save writes no key that the table does not give it.
#include "config/settings_keys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace ligamor {
namespace {

// Saved as by a user of the Brazilian dd/mm/yyyy, "/" and ":".
const RegionalSettings kSaver{};

// A value of each key that a load tells from its absence.
const std::map<std::string, std::string> kSamples = {
    {"SERVIDOR", " srv 01 "},
    {"CAMINHO", "C:\\dados\\banco.fdb"},
    {"USUARIO", "sysdba"},
    {"SENHA", "a=b= c "},
    {"DIRETORIO_ENVIO", "  /envio/ "},
    {"DIRETORIO_RESPOSTA", "/resposta=1/"},
    {"TEMPO_COMUNICACAO", "5000 "},
    {"DIRETORIO_LOG", "/log dir/"},
    {"TRANSACAO", " arquivo "},
    {"RECUSADAS", "Separar"},
    {"FORMATO_DATA", "dd/mm/aaaa hh:mm:ss"},
};

std::vector<std::string> Lines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool NamesAny(const std::string& line, KeySave save)
{
    for (const SettingsKey& key : kSettingsKeys)
        if (key.save == save && NamesKey(line.substr(0, line.find('=')), key)) return true;
    return false;
}

// A file with one key's line, and the lines of the saver's own keys that any
// save writes: read, saved and read again it gives the same settings, and the
// key's line changed what was read.
TEST(SettingsKeys, EveryKeyIsReadAndComesBackFromASave)
{
    test::TempDir dir;
    const std::string file = SettingsFilePath(dir.Path());
    const auto saversLines = [](const SettingsKey* except) {
        std::string lines;
        for (const SettingsKey& key : kSettingsKeys)
            if (key.save == KeySave::SaversOwn && &key != except)
                lines += std::string(key.name) + "=" + key.saversValue(kSaver) + "\r\n";
        return lines;
    };
    for (const SettingsKey& key : kSettingsKeys) {
        SCOPED_TRACE(key.name);
        EXPECT_TRUE(key.setting || key.read) << "a key that nothing reads";
        ASSERT_EQ(key.save == KeySave::SaversOwn, key.saversValue != nullptr);
        ASSERT_TRUE(kSamples.contains(key.name)) << "a key without a sample here";
        // A save writes the saver's value of its own keys.
        if (key.saversValue) {
            EXPECT_EQ(kSamples.at(key.name), key.saversValue(kSaver));
        }
        const std::string line = std::string(key.name) + "=" + kSamples.at(key.name);
        test::WriteBytes(file, line + "\r\n" + saversLines(&key));
        SystemSettings read;
        LoadSettings(file, read);
        SaveSettings(file, read, kSaver);
        SystemSettings again;
        LoadSettings(file, again);
        EXPECT_EQ(again, read);
        const std::vector<std::string> saved = Lines(test::ReadBytes(file));
        EXPECT_EQ(std::count(saved.begin(), saved.end(), line), 1);

        test::WriteBytes(file, saversLines(&key));
        SystemSettings without;
        LoadSettings(file, without);
        EXPECT_NE(without, read);
    }
}

// The lines of keys that a save does not own (the table's kept keys, keys of
// no one) come back byte for byte and in their order; the save adds one line
// of each key it owns and no other.
TEST(SettingsKeys, ASaveWritesNoKeyThatTheTableDoesNotGiveIt)
{
    test::TempDir dir;
    const std::string file = SettingsFilePath(dir.Path());
    const std::vector<std::string> kept = {"OUTRA=1",
                                           "TRANSACAO=ARQUIVO",
                                           " Observa\xe7\xe3o = caixa 2 ;\t ",
                                           "RECUSADAS_FORMATO_DATA=SEPARAR",
                                           "TRANSACAO"};
    SystemSettings settings;
    settings.Transaction = TransactionMode::Arquivo;
    settings.RefusedLines = RefusedLinesMode::Separar;
    settings.DateFormat = "x";
    // Without lines of their own the kept keys' settings are not written.
    for (const std::vector<std::string>& others :
         {std::vector<std::string>{}, kept,
          std::vector<std::string>{"FORMATO_DATA=x", kept[0], kept[1], "FORMATO_DATA=y", kept[2], kept[3], kept[4]}}) {
        settings.OtherLines = others;
        SaveSettings(file, settings, kSaver);
        std::vector<std::string> keptAgain;
        std::map<std::string, int> owned;
        for (const std::string& line : Lines(test::ReadBytes(file))) {
            const bool ownedLine = line.find('=') != std::string::npos && !NamesAny(line, KeySave::Kept) &&
                                   (NamesAny(line, KeySave::Text) || NamesAny(line, KeySave::SaversOwn));
            if (ownedLine) ++owned[line.substr(0, line.find('='))];
            else keptAgain.push_back(line);
        }
        std::vector<std::string> keptBefore = others;
        std::erase_if(keptBefore, [](const std::string& line) { return line.starts_with("FORMATO_DATA="); });
        EXPECT_EQ(keptAgain, keptBefore);
        std::map<std::string, int> expected;
        for (const SettingsKey& key : kSettingsKeys)
            if (key.save != KeySave::Kept) expected[key.name] = 1;
        EXPECT_EQ(owned, expected);
    }
}

}  // namespace
}  // namespace ligamor
