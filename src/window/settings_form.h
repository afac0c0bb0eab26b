#pragma once
// frmConfiguracao, "Configurações do Sistema", decided once for every toolkit
// that draws it: which field shows which setting and how, what showing the
// dialog does, "Testar", OK, and what the interval field lets in. A toolkit's
// dialog only moves text between its widgets and this form, and draws them.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "config/settings.h"
#include "db/dtmmain.h"
#include "runtime/messages.h"
#include "runtime/timer.h"

namespace ligamor {

// How a field's letters are shown and stored.
enum class LetterCase {
    AsTyped,
    Upper,
    // Upper where file names do not tell letter case apart (Windows). Linux
    // tells /home/loja/envio/ from /HOME/LOJA/ENVIO/: there the path stays as
    // typed, or the integration would look in a directory the user never chose.
    UpperWhereNamesIgnoreCase,
};

// What a field lets in: any text, or the digits of a number of milliseconds.
enum class FieldInput { Text, Digits };

// One field of the dialog: a row of kSettingsFormFields.
struct SettingsFormField {
    std::string SystemSettings::*setting;
    // The widget's name in every dialog (its objectName in Qt).
    const char* widget;
    LetterCase letterCase = LetterCase::AsTyped;
    FieldInput input = FieldInput::Text;
    // Shown before the file is read, and so after a read that failed: a text,
    // or a folder under the dialog's initial folder ("/" between its parts).
    const char* initialText = "";
    const char* initialFolder = "";
};

// The dialog's fields, in their order on screen, which is the tab order.
inline constexpr auto kSettingsFormFields = std::to_array<SettingsFormField>({
    {&SystemSettings::Server, "edtservidor", LetterCase::Upper},
    {&SystemSettings::DatabasePath, "edtcaminho"},
    {&SystemSettings::UserName, "edtusuario"},
    // Shown in clear, as the file keeps it.
    {&SystemSettings::Password, "edtsenha"},
    {&SystemSettings::SendDirectory, "edtcaminhoenvio", LetterCase::UpperWhereNamesIgnoreCase, FieldInput::Text, "",
     "VELDOR SISTEMAS/MARBELO PAF-ECF/ENVIO/"},
    {&SystemSettings::ResponseDirectory, "edtcaminhoretorno", LetterCase::UpperWhereNamesIgnoreCase, FieldInput::Text,
     "", "VELDOR SISTEMAS/MARBELO PAF-ECF/RESPOSTA/"},
    {&SystemSettings::IntervalText, "edtempoverificacao", LetterCase::AsTyped, FieldInput::Digits, "5000"},
    {&SystemSettings::LogDirectory, "edtcaminholog", LetterCase::UpperWhereNamesIgnoreCase, FieldInput::Text, "",
     "VELDOR SISTEMAS/MARBELO PAF-ECF/RESPOSTA/"},
});

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
