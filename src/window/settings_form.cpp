#include "window/settings_form.h"

#include <optional>
#include <utility>

#include "runtime/failures.h"
#include "runtime/paths.h"
#include "runtime/run_handler.h"
#include "runtime/text1252.h"

namespace ligamor {

namespace {

std::string TextOf(const SettingsFormView& view, std::string SystemSettings::*setting)
{
    for (const SettingsFormField& field : kSettingsFormFields)
        if (field.setting == setting) return view.Text(field);
    return {};
}

}  // namespace

bool ShownInUpperCase(const SettingsFormField& field)
{
    return field.letterCase == LetterCase::Upper ||
           (field.letterCase == LetterCase::UpperWhereNamesIgnoreCase && kFileNamesIgnoreLetterCase);
}

SettingsForm::SettingsForm(SettingsFormServices& services, std::string initialFolder)
    : services_(services), initialFolder_(std::move(initialFolder))
{
}

std::string SettingsForm::InitialText(const SettingsFormField& field) const
{
    const std::string_view folder = field.initialFolder;
    if (folder.empty()) return field.initialText;
    std::string text = initialFolder_;
    for (char c : folder) text += c == '/' ? kPathSeparator : c;
    return text;
}

void SettingsForm::Show(SettingsFormView& view)
{
    for (const SettingsFormField& field : kSettingsFormFields) view.SetText(field, InitialText(field));
    RunHandler(services_.messages, [&] {
        readFailed_ = true;  // until the read below comes through
        std::optional<SystemSettings> read = ReadSettingsForDialog(services_.settingsPath);
        readFailed_ = false;
        if (!read) {
            services_.messages.InformationBox(NotConfiguredMessage());
            services_.timer.SetInterval(0);
        }
        // Without a file every field is emptied, the initial texts included.
        const SystemSettings values = read.value_or(SystemSettings{});
        for (const SettingsFormField& field : kSettingsFormFields) view.SetText(field, values.*field.setting);
        keptLines_ = values.OtherLines;
    });
}

void SettingsForm::Test(const SettingsFormView& view)
{
    RunHandler(services_.messages, [&] {
        const std::string name =
            ComposeDatabaseName(TextOf(view, &SystemSettings::Server), TextOf(view, &SystemSettings::DatabasePath));
        try {
            ConnectDatabase(services_.dtmain, name, TextOf(view, &SystemSettings::UserName),
                            TextOf(view, &SystemSettings::Password));
            // "Coneão" is the text users know; deliberate, do not correct it.
            services_.messages.PlainMessage(Cp1252("Coneão realizada com sucesso."));
        } catch (...) {
            // The connection layer's own text is not shown here.
            services_.messages.ErrorBox(Cp1252("Erro de Conexão."));
            throw SilentAbort{};
        }
    });
}

void SettingsForm::Accept(const SettingsFormView& view)
{
    values_ = SystemSettings{};
    for (const SettingsFormField& field : kSettingsFormFields) values_.*field.setting = view.Text(field);
    // Written back after the eight, in their order and byte for byte: without
    // them OK would switch TRANSACAO and RECUSADAS off.
    values_.OtherLines = keptLines_;
    accepted_ = true;
}

bool SettingsForm::Close()
{
    if (!accepted_) return false;
    accepted_ = false;
    // The fields never showed that file: OK would replace every setting and
    // every kept line with the texts the dialog starts with.
    if (readFailed_)
        throw SettingsFailure(Cp1252("As configurações de ") + Cp1252FromLocal(services_.settingsPath) +
                              Cp1252(" não puderam ser lidas quando esta janela abriu: o arquivo não foi "
                                     "substituído, para que nada se perca."));
    SaveSettings(services_.settingsPath, values_);
    return true;
}

bool IsIntervalDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

bool IntervalKeyAccepted(char32_t typed)
{
    return typed < 0x20 || typed == 127 || IsIntervalDigit(typed);
}

std::wstring IntervalDigits(std::wstring_view pasted)
{
    std::wstring digits;
    for (wchar_t c : pasted)
        if (IsIntervalDigit(static_cast<char32_t>(c))) digits += c;
    return digits;
}

}  // namespace ligamor
