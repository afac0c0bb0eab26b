#include "config/settings.h"

#include <cctype>
#include <filesystem>

#include "config/date_format.h"
#include "runtime/failures.h"
#include "runtime/paths.h"
#include "runtime/system_folders.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"

namespace ligamor {

namespace {

// Blanks around the value and letter case do not matter; any other value
// than the one word gives the default, which keeps the long-standing behaviour.
bool ValueIsWord(const std::string& value, const char* word)
{
    const std::size_t first = value.find_first_not_of(" \t");
    const std::size_t last = value.find_last_not_of(" \t");
    std::string text = first == std::string::npos ? "" : value.substr(first, last - first + 1);
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text == word;
}

bool IsDateFormatLine(const std::string& line)
{
    return line.substr(0, line.find('=')).find(kDateFormatKey) != std::string::npos;
}

// A FORMATO_DATA line that a save may replace with the saver's: one whose key
// part names no other setting too, or the save would change that setting.
bool ReplaceableDateFormatLine(const std::string& line)
{
    const std::string keyPart = line.substr(0, line.find('='));
    return IsDateFormatLine(line) && keyPart.find(kTransactionKey) == std::string::npos &&
           keyPart.find(kRefusedLinesKey) == std::string::npos;
}

// Every key word found in the text before the line's first "=" takes the
// text after it, untrimmed. The key part alone is searched, so that a value
// naming another key word (a path \\SERVIDOR\...) cannot overwrite that
// other setting.
void ReadSettingsLines(const std::string& path, SystemSettings& settings)
{
    TextFileReader reader(path);
    settings.Transaction = TransactionMode::Linha;
    settings.RefusedLines = RefusedLinesMode::Parar;
    settings.DateFormat.reset();
    settings.OtherLines.clear();
    std::string line;
    while (reader.ReadLine(line)) {
        const std::size_t eq = line.find('=');
        const std::string keyPart = eq == std::string::npos ? line : line.substr(0, eq);
        const std::string value = eq == std::string::npos ? line : line.substr(eq + 1);
        bool known = false;
        for (const auto& [key, member] : kSettingsKeys)
            if (keyPart.find(key) != std::string::npos) {
                settings.*member = value;
                known = true;
            }
        if (known || line.empty()) continue;
        settings.OtherLines.push_back(line);
        if (keyPart.find(kTransactionKey) != std::string::npos)
            settings.Transaction = ValueIsWord(value, "ARQUIVO") ? TransactionMode::Arquivo : TransactionMode::Linha;
        if (keyPart.find(kRefusedLinesKey) != std::string::npos)
            settings.RefusedLines = ValueIsWord(value, "SEPARAR") ? RefusedLinesMode::Separar : RefusedLinesMode::Parar;
        if (IsDateFormatLine(keyPart)) settings.DateFormat = value;
    }
}

}  // namespace

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
    const std::string dateFormat = std::string(kDateFormatKey) + "=" + DateFormatValue(saver) + "\r\n";
    std::string content;
    for (const auto& [key, member] : kSettingsKeys) content += std::string(key) + "=" + settings.*member + "\r\n";
    bool dated = false;
    for (const std::string& line : settings.OtherLines) {
        if (!ReplaceableDateFormatLine(line)) content += line + "\r\n";
        else if (!dated) content += dateFormat;
        dated = dated || ReplaceableDateFormatLine(line);
    }
    if (!dated) content += dateFormat;
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
