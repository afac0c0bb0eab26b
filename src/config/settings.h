#pragma once
// The settings file ConfigLigamor.csi: eight key=value lines beside the
// executable (or in the shared settings folder of an installed program), one
// writer (the dialog's OK) and two readers (activation and
// the dialog), all going through one table of keys (config/settings_keys.h).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/clock.h"

namespace ligamor {

inline constexpr const char* kSettingsFileName = "ConfigLigamor.csi";

// TRANSACAO and RECUSADAS (config/settings_keys.h): per line, or one
// transaction per input file; a refused line stops the cycle, or is set aside.
enum class TransactionMode { Linha, Arquivo };
enum class RefusedLinesMode { Parar, Separar };

// Activation's copy is process-wide and never cleared: a key missing from the
// file keeps the value of an earlier load. The dialog reads into a fresh one.
struct SystemSettings {
    std::string Server;
    std::string DatabasePath;
    std::string UserName;
    std::string Password;
    std::string SendDirectory;
    std::string ResponseDirectory;
    std::string LogDirectory;
    std::string IntervalText;
    std::int32_t IntervalMs = 0;  // set by activation from IntervalText
    // Taken from each load whole: a file without the key is per line.
    TransactionMode Transaction = TransactionMode::Linha;
    RefusedLinesMode RefusedLines = RefusedLinesMode::Parar;
    // FORMATO_DATA's value as its last line gives it, untrimmed; none when
    // the file has no such line (config/date_format.h reads it).
    std::optional<std::string> DateFormat{};
    // The file's lines that none of the eight keys reads, in their order: a
    // save writes them back after the eight, so that no key is lost, but for
    // those of a key whose value the save owns.
    std::vector<std::string> OtherLines{};

    bool operator==(const SystemSettings&) const = default;
};

// directory (ending with the path separator) followed by the file name.
std::string SettingsFilePath(const std::string& directory);

// The settings file when no --config names one: ConfigLigamor.csi beside the
// executable, or, for a program installed into a system folder (where its users
// cannot write, and where its service must find the same file), in
// SharedSettingsDirectory().
std::string DefaultSettingsFile(const std::string& executableDirectory);

// "Aplicação Não Configurada. Clique no Botão ..." as Windows-1252 bytes.
std::string NotConfiguredMessage();

// The eight lines KEY=value CR LF in table order, values exactly as given,
// then OtherLines, each with CR LF, where the first line of a key that the
// save owns (FORMATO_DATA) becomes the one of saver (added last when there is
// none; later ones are dropped, since the last one read would win). Readable by its owner alone; in
// SharedSettingsDirectory() by the folder's group too, which the service's
// user and the shop's users belong to.
void SaveSettings(const std::string& path, const SystemSettings& settings, const RegionalSettings& saver);
// Saved by this account: FORMATO_DATA records its regional settings, which
// are the shop's when the shop's user saves (the dialogs' OK).
void SaveSettings(const std::string& path, const SystemSettings& settings);

// Reads the existing file into settings: every key found takes its value, the
// others keep theirs. Raises SettingsFailure, with the text of what failed,
// when it cannot be read.
void LoadSettings(const std::string& path, SystemSettings& settings);

// The file's values over empty ones; nothing when there is no file.
std::optional<SystemSettings> ReadSettingsForDialog(const std::string& path);

}  // namespace ligamor
