// The settings file as a person may leave it: every line read by one of the
// eight keys or kept, once, in its order; saved and read again it gives the
// same settings, so a save never loses a line the dialog does not show.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "config/settings.h"
#include "config/settings_keys.h"
#include "fuzz_support.h"

using namespace ligamor;

namespace {

// As the save tells them: a FORMATO_DATA line that names no other setting.
bool IsDateFormatLine(const std::string& line)
{
    const std::string keyPart = line.substr(0, line.find('='));
    return keyPart.find("FORMATO_DATA") != std::string::npos && keyPart.find("TRANSACAO") == std::string::npos &&
           keyPart.find("RECUSADAS") == std::string::npos;
}

std::vector<std::string> WithoutDateFormat(std::vector<std::string> lines)
{
    std::erase_if(lines, IsDateFormatLine);
    return lines;
}

// A save writes the saver's FORMATO_DATA, once, in place of the file's: the
// other kept lines come back as they were.
bool Same(const SystemSettings& saved, const SystemSettings& read)
{
    for (const SettingsKey& key : kSettingsKeys)
        if (key.setting && saved.*key.setting != read.*key.setting) return false;
    return saved.Transaction == read.Transaction && saved.RefusedLines == read.RefusedLines &&
           WithoutDateFormat(saved.OtherLines) == WithoutDateFormat(read.OtherLines) && read.DateFormat.has_value();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzz::ScratchFolder() + kSettingsFileName;
    fuzz::WriteFile(path, bytes);
    SystemSettings read;
    LoadSettings(path, read);

    // The model: a line whose part before its first "=" holds a key word sets
    // that key (the last such line wins); any other line but an empty one is kept.
    SystemSettings model;
    for (const std::string& line : fuzz::ModelLines(bytes)) {
        const std::size_t eq = line.find('=');
        const std::string keyPart = line.substr(0, eq);
        bool known = false;
        for (const SettingsKey& key : kSettingsKeys) {
            if (!key.setting || keyPart.find(key.name) == std::string::npos) continue;
            model.*key.setting = eq == std::string::npos ? line : line.substr(eq + 1);
            known = true;
        }
        if (!known && !line.empty()) model.OtherLines.push_back(line);
    }
    for (const SettingsKey& key : kSettingsKeys)
        if (key.setting) FUZZ_EXPECT(read.*key.setting == model.*key.setting);
    FUZZ_EXPECT(read.OtherLines == model.OtherLines);

    SaveSettings(path, read);
    SystemSettings again;
    LoadSettings(path, again);
    FUZZ_EXPECT(Same(read, again));
    return 0;
}
