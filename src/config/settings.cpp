#include "config/settings.h"

#include <array>
#include <cctype>
#include <filesystem>

#include "config/settings_keys.h"
#include "runtime/failures.h"
#include "runtime/paths.h"
#include "runtime/system_folders.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"

namespace ligamor {

namespace {

// Blanks around the value and letter case do not matter; any other value
// than the one word gives the default, which keeps the long-standing behaviour.
bool ValueIsWord(const std::optional<std::string>& value, const char* word)
{
    if (!value) return false;
    const std::size_t first = value->find_first_not_of(" \t");
    const std::size_t last = value->find_last_not_of(" \t");
    std::string text = first == std::string::npos ? "" : value->substr(first, last - first + 1);
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text == word;
}

std::string KeyPart(const std::string& line)
{
    return line.substr(0, line.find('='));
}

// A kept line that a save replaces: one that names a key whose value the save
// owns and no other key, or the save would change that other setting.
bool OwnedBySave(const std::string& keyPart)
{
    bool owned = false;
    for (const SettingsKey& key : kSettingsKeys) {
        if (!NamesKey(keyPart, key)) continue;
        if (key.save != KeySave::SaversOwn) return false;
        owned = true;
    }
    return owned;
}

// Every key word found in the text before the line's first "=" takes the
// text after it, untrimmed. The key part alone is searched, so that a value
// naming another key word (a path \\SERVIDOR\...) cannot overwrite that
// other setting.
void ReadSettingsLines(const std::string& path, SystemSettings& settings)
{
    TextFileReader reader(path);
    std::array<std::optional<std::string>, kSettingsKeys.size()> last{};
    std::vector<std::string> otherLines;
    std::string line;
    while (reader.ReadLine(line)) {
        const std::size_t eq = line.find('=');
        const std::string keyPart = KeyPart(line);
        const std::string value = eq == std::string::npos ? line : line.substr(eq + 1);
        bool known = false;
        for (const SettingsKey& key : kSettingsKeys)
            if (key.setting && NamesKey(keyPart, key)) {
                settings.*key.setting = value;
                known = true;
            }
        if (known || line.empty()) continue;
        otherLines.push_back(line);
        for (std::size_t i = 0; i < kSettingsKeys.size(); ++i)
            if (kSettingsKeys[i].read && NamesKey(keyPart, kSettingsKeys[i])) last[i] = value;
    }
    for (std::size_t i = 0; i < kSettingsKeys.size(); ++i)
        if (kSettingsKeys[i].read) kSettingsKeys[i].read(settings, last[i]);
    settings.OtherLines = std::move(otherLines);
}

}  // namespace

bool NamesKey(const std::string& keyPart, const SettingsKey& key)
{
    return keyPart.find(key.name) != std::string::npos;
}

void ReadTransactionMode(SystemSettings& settings, const std::optional<std::string>& last)
{
    settings.Transaction = ValueIsWord(last, "ARQUIVO") ? TransactionMode::Arquivo : TransactionMode::Linha;
}

void ReadRefusedLinesMode(SystemSettings& settings, const std::optional<std::string>& last)
{
    settings.RefusedLines = ValueIsWord(last, "SEPARAR") ? RefusedLinesMode::Separar : RefusedLinesMode::Parar;
}

void ReadDateFormat(SystemSettings& settings, const std::optional<std::string>& last)
{
    settings.DateFormat = last;
}

std::string SettingsFilePath(const std::string& directory)
{
    return directory + kSettingsFileName;
}

std::string DefaultSettingsFile(const std::string& executableDirectory)
{
    return SettingsFilePath(IsSystemProgramFolder(executableDirectory) ? SharedSettingsDirectory()
                                                                          : executableDirectory);
}

std::string NotConfiguredMessage()
{
    return Cp1252("Aplicação Não Configurada. Clique no Botão Configurações Para Correta "
                  "Utilização do Configurador.");
}

void SaveSettings(const std::string& path, const SystemSettings& settings)
{
    SaveSettings(path, settings, PlatformRegionalSettings());
}

void SaveSettings(const std::string& path, const SystemSettings& settings, const RegionalSettings& saver)
{
    std::string content;
    for (const SettingsKey& key : kSettingsKeys)
        if (key.save == KeySave::Text) content += std::string(key.name) + "=" + settings.*key.setting + "\r\n";
    std::array<bool, kSettingsKeys.size()> written{};
    const auto writeSaversOwn = [&](std::size_t i) {
        const SettingsKey& key = kSettingsKeys[i];
        if (!written[i]) content += std::string(key.name) + "=" + key.saversValue(saver) + "\r\n";
        written[i] = true;
    };
    for (const std::string& line : settings.OtherLines) {
        const std::string keyPart = KeyPart(line);
        if (!OwnedBySave(keyPart)) {
            content += line + "\r\n";
            continue;
        }
        for (std::size_t i = 0; i < kSettingsKeys.size(); ++i)
            if (NamesKey(keyPart, kSettingsKeys[i])) writeSaversOwn(i);
    }
    for (std::size_t i = 0; i < kSettingsKeys.size(); ++i)
        if (kSettingsKeys[i].save == KeySave::SaversOwn) writeSaversOwn(i);
    // The password is stored in clear, so only the owner may read the file,
    // and in the shared folder the group that the service's user is in.
    // Replaced whole: a crash or a full disk while saving keeps the old file.
    namespace fs = std::filesystem;
    const bool shared =
        fs::path(DirectoryOf(path)).lexically_normal() == fs::path(SharedSettingsDirectory()).lexically_normal();
    ReplaceWholeFile(path, content, shared ? FileAccess::OwnerAndFolderGroup : FileAccess::Owner);
}

void LoadSettings(const std::string& path, SystemSettings& settings)
{
    try {
        ReadSettingsLines(path, settings);
    } catch (const Failure& f) {
        throw SettingsFailure(f.Message());
    }
}

std::optional<SystemSettings> ReadSettingsForDialog(const std::string& path)
{
    if (!FileExists(path)) return std::nullopt;
    SystemSettings settings;
    LoadSettings(path, settings);
    return settings;
}

}  // namespace ligamor
