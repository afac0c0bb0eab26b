#pragma once
// The settings file ConfigLigamor.csi: eight key=value lines beside the
// executable, one writer (the dialog's OK) and two readers.
#include <cstdint>
#include <string>

#include "runtime/messages.h"
#include "runtime/timer.h"

namespace ligamor {

inline constexpr const char* kSettingsFileName = "ConfigLigamor.csi";

// Process-wide; filled only by activation, never cleared: a key missing from
// the file keeps the value of an earlier load.
struct SystemSettings {
    std::string Server;
    std::string DatabasePath;
    std::string UserName;
    std::string Password;
    std::string SendDirectory;
    std::string ResponseDirectory;
    std::string LogDirectory;
    std::string IntervalText;
    std::int32_t IntervalMs = 0;
};

// The eight texts the configuration dialog shows.
struct DialogSettings {
    std::string server, userName, password, databasePath;
    std::string sendDirectory, responseDirectory, logDirectory, interval;
};

// directory (ending with "/") followed by the file name.
std::string SettingsFilePath(const std::string& directory);

// "Aplicação Não Configurada. Clique no Botão ..." as Windows-1252 bytes.
std::string NotConfiguredMessage();

void SaveSettings(const std::string& path, const std::string& server, const std::string& databasePath,
                  const std::string& userName, const std::string& password, const std::string& sendDirectory,
                  const std::string& responseDirectory, const std::string& interval,
                  const std::string& logDirectory);

// Reads the existing file into settings. Raises IoFailure when it cannot.
void LoadSettings(const std::string& path, SystemSettings& settings);

// Fills only the fields whose key is found. Without a file: the not-configured
// message, the timer set to 0, and false.
bool ReadSettingsForDialog(const std::string& path, Messages& messages, Timer& timer, DialogSettings& out);

}  // namespace ligamor
