#pragma once
// frmConfiguracao, "Configurações do Sistema", decided once for every toolkit
// that draws it: which field shows which setting and how, what showing the
// dialog does, "Testar", OK, and what the interval field lets in. A toolkit's
// dialog only moves text between its widgets and this form, and draws them.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "config/settings.h"
#include "config/settings_keys.h"
#include "db/dtmmain.h"
#include "runtime/messages.h"
#include "runtime/timer.h"

namespace ligamor {

// A field of the dialog: a row of the settings keys that names a widget
// (config/settings_keys.h holds its label, place, letter case and input).
using SettingsFormField = SettingsKey;

// The dialog's fields, in their order on screen, which is the tab order.
inline constexpr auto kSettingsFormFields = [] {
    constexpr auto shown = [](const SettingsKey& key) { return key.widget != nullptr; };
    std::array<SettingsFormField, std::ranges::count_if(kSettingsKeys, shown)> fields{};
    std::ranges::copy_if(kSettingsKeys, fields.begin(), shown);
    return fields;
}();

// True when the field shows and stores its letters in upper case on this
// platform. The dialog upper-cases them itself (case mapping is the
// toolkit's), both what is typed and what it is given.
bool ShownInUpperCase(const SettingsFormField& field);

// What a dialog's widgets do for the form. Texts are in the settings file's
// encoding (the system's code page).
class SettingsFormView {
public:
    virtual ~SettingsFormView() = default;
    // What the field's widget shows, in upper case where ShownInUpperCase.
    virtual std::string Text(const SettingsFormField& field) const = 0;
    virtual void SetText(const SettingsFormField& field, const std::string& text) = 0;
};

// What the dialog works with; the main window hands over its own.
struct SettingsFormServices {
    std::string settingsPath;  // the full path of ConfigLigamor.csi
    Messages& messages;
    Timer& timer;              // the polling timer: a missing file stops it
    DataModule& dtmain;        // "Testar" connects conmain itself
};

class SettingsForm {
public:
    // initialFolder: where the initial directory texts lie, ending with the
    // path separator (the user's home on Linux, C:\ on Windows).
    SettingsForm(SettingsFormServices& services, std::string initialFolder);

    // The dialog's first show: the initial texts, then the file's values. Without a file the
    // not-configured box comes, polling stops and every field is emptied; a
    // file that cannot be read leaves the initial texts after the error
    // report. The file's lines that no field shows are kept for OK.
    void Show(SettingsFormView& view);
    // "Testar": connects conmain with the values on screen and says how it
    // went; saves nothing.
    void Test(const SettingsFormView& view);
    // OK: the values on screen, the kept lines after them, become what is
    // saved once the dialog has closed.
    void Accept(const SettingsFormView& view);
    // The dialog has closed: writes the file if OK closed it, and says
    // whether it did. Cancel, Escape and the close box write nothing; nor
    // does OK after a file that could not be read (that raises, and the file
    // stays as it was). A file
    // that cannot be written raises here, outside any toolkit's handler, so
    // that the menu command reports it.
    bool Close();

    SettingsFormServices& Services() const { return services_; }
    // The text a field shows before the file is read.
    std::string InitialText(const SettingsFormField& field) const;

private:
    SettingsFormServices& services_;
    std::string initialFolder_;
    std::vector<std::string> keptLines_;
    bool readFailed_ = false;
    bool accepted_ = false;
    SystemSettings values_{};  // what OK took from the screen
};

// The interval field: a typed character reaches it when it is a digit or a
// control character (Backspace, Enter, Ctrl+V; Tab and Escape belong to the
// dialog); pasted text keeps its digits alone.
bool IntervalKeyAccepted(char32_t typed);
bool IsIntervalDigit(char32_t c);
std::wstring IntervalDigits(std::wstring_view pasted);

}  // namespace ligamor
