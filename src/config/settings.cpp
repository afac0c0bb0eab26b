#include "config/settings.h"

#include <array>
#include <utility>

#include "runtime/text1252.h"
#include "runtime/text_file.h"

namespace ligamor {

std::string SettingsFilePath(const std::string& directory)
{
    return directory + kSettingsFileName;
}

std::string NotConfiguredMessage()
{
    return Cp1252("Aplicação Não Configurada. Clique no Botão Configurações Para Correta "
                  "Utilização do Configurador.");
}

void SaveSettings(const std::string& path, const std::string& server, const std::string& databasePath,
                  const std::string& userName, const std::string& password, const std::string& sendDirectory,
                  const std::string& responseDirectory, const std::string& interval,
                  const std::string& logDirectory)
{
    const std::array<std::pair<const char*, const std::string*>, 8> lines = {{
        {"SERVIDOR", &server},
        {"CAMINHO", &databasePath},
        {"USUARIO", &userName},
        {"SENHA", &password},
        {"DIRETORIO_ENVIO", &sendDirectory},
        {"DIRETORIO_RESPOSTA", &responseDirectory},
        {"TEMPO_COMUNICACAO", &interval},
        {"DIRETORIO_LOG", &logDirectory},
    }};
    std::string content;
    for (const auto& [key, value] : lines) content += std::string(key) + "=" + *value + "\r\n";
    // The password is stored in clear, so only the owner may read the file.
    // Replaced whole: a crash or a full disk while saving keeps the old file.
    ReplaceWholeFile(path, content, 0600);
}

namespace {

// The reading rule shared by both readers: every key word found in the text
// before the line's first "=" takes the text after it, untrimmed. The key part
// alone is searched, so that a value naming another key word (a path
// \\SERVIDOR\...) cannot overwrite that other setting.
template <typename Assign>
void ReadSettingsFile(const std::string& path, Assign assign)
{
    static constexpr std::array<const char*, 8> kKeys = {
        "SERVIDOR", "USUARIO", "SENHA", "CAMINHO",
        "DIRETORIO_ENVIO", "DIRETORIO_RESPOSTA", "DIRETORIO_LOG", "TEMPO_COMUNICACAO"};
    TextFileReader reader(path);
    std::string line;
    while (reader.ReadLine(line)) {
        std::size_t eq = line.find('=');
        std::string keyPart = eq == std::string::npos ? line : line.substr(0, eq);
        std::string value = eq == std::string::npos ? line : line.substr(eq + 1);
        for (std::size_t k = 0; k < kKeys.size(); ++k)
            if (keyPart.find(kKeys[k]) != std::string::npos) assign(k, value);
    }
}

}  // namespace

void LoadSettings(const std::string& path, SystemSettings& s)
{
    std::array<std::string*, 8> fields = {&s.Server, &s.UserName, &s.Password, &s.DatabasePath,
                                          &s.SendDirectory, &s.ResponseDirectory, &s.LogDirectory,
                                          &s.IntervalText};
    ReadSettingsFile(path, [&](std::size_t k, const std::string& v) { *fields[k] = v; });
}

bool ReadSettingsForDialog(const std::string& path, Messages& messages, Timer& timer, DialogSettings& o)
{
    if (!FileExists(path)) {
        messages.InformationBox(NotConfiguredMessage());
        timer.SetInterval(0);
        return false;
    }
    std::array<std::string*, 8> fields = {&o.server, &o.userName, &o.password, &o.databasePath,
                                          &o.sendDirectory, &o.responseDirectory, &o.logDirectory,
                                          &o.interval};
    ReadSettingsFile(path, [&](std::size_t k, const std::string& v) { *fields[k] = v; });
    return true;
}

}  // namespace ligamor
