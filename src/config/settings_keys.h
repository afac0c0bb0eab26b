#pragma once
// Every key of ConfigLigamor.csi, once: its name, how a load reads it, what a
// save does with it and, for a key that the settings dialog shows, its field
// there. The file's reader and writer and both dialogs draw from this table:
// a new optional key is one row, a new field one row plus its widget in each
// dialog.
#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "config/date_format.h"
#include "config/settings.h"

namespace ligamor {

// What a save writes of a key.
enum class KeySave {
    // Written from its text by every save, in the table's order, before
    // every other line.
    Text,
    // Never written: its lines come back from a save as they were read.
    Kept,
    // Written by every save with the saver's own value, in place of the first
    // line of the file that names this key alone; later ones are dropped, as
    // the last one read would win; added last when there is none.
    SaversOwn,
};

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

// The box a field stands in: the database group (its places relative to the
// group's top left) or the dialog itself.
enum class FieldBox { DatabaseGroup, Dialog };

// Where a field stands, in pixels: its label's top left (the label runs up to
// the field), and the field's rectangle.
struct FieldPlace {
    FieldBox box = FieldBox::Dialog;
    int labelLeft = 0;
    int labelTop = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct SettingsKey {
    // Found anywhere in the part of a line before its first "=".
    const char* name;
    KeySave save;
    // One of the eight: the text that takes the value, untrimmed, from every
    // line that names the key (the last one wins); a load without such a line
    // keeps the text of an earlier one.
    std::string SystemSettings::*setting = nullptr;
    // An optional key, read only from lines that none of the eight reads:
    // sets its setting from the value of the last line that names it, or from
    // none, at every load.
    void (*read)(SystemSettings& settings, const std::optional<std::string>& last) = nullptr;
    // SaversOwn: the value that a save writes.
    std::string (*saversValue)(const RegionalSettings& saver) = nullptr;

    // A key that the dialog shows: the widget's name in every dialog (its
    // objectName in Qt); none for the others.
    const char* widget = nullptr;
    const char* label = "";  // UTF-8
    FieldPlace place{};
    LetterCase letterCase = LetterCase::AsTyped;
    FieldInput input = FieldInput::Text;
    // Shown before the file is read, and so after a read that failed: a text,
    // or a folder under the dialog's initial folder ("/" between its parts).
    const char* initialText = "";
    const char* initialFolder = "";
};

// The optional keys' readers.
void ReadTransactionMode(SystemSettings& settings, const std::optional<std::string>& last);
void ReadRefusedLinesMode(SystemSettings& settings, const std::optional<std::string>& last);
void ReadDateFormat(SystemSettings& settings, const std::optional<std::string>& last);

// The eight in the order the file is written, which is also the dialog's
// order on screen and its tab order; then the optional keys.
inline constexpr auto kSettingsKeys = std::to_array<SettingsKey>({
    {.name = "SERVIDOR", .save = KeySave::Text, .setting = &SystemSettings::Server,
     .widget = "edtservidor", .label = "Servidor.....:",
     .place = {FieldBox::DatabaseGroup, 24, 32, 80, 24, 145, 21}, .letterCase = LetterCase::Upper},
    {.name = "CAMINHO", .save = KeySave::Text, .setting = &SystemSettings::DatabasePath,
     .widget = "edtcaminho", .label = "Caminho....:", .place = {FieldBox::DatabaseGroup, 24, 60, 80, 52, 377, 21}},
    {.name = "USUARIO", .save = KeySave::Text, .setting = &SystemSettings::UserName,
     .widget = "edtusuario", .label = "Usuário......:", .place = {FieldBox::DatabaseGroup, 24, 84, 80, 76, 145, 21}},
    // Shown in clear, as the file keeps it.
    {.name = "SENHA", .save = KeySave::Text, .setting = &SystemSettings::Password,
     .widget = "edtsenha", .label = "Senha.......:", .place = {FieldBox::DatabaseGroup, 24, 109, 80, 101, 145, 21}},
    {.name = "DIRETORIO_ENVIO", .save = KeySave::Text, .setting = &SystemSettings::SendDirectory,
     .widget = "edtcaminhoenvio", .label = "Diretório de Armazenamento de Arquivo de Envio..........:",
     .place = {FieldBox::Dialog, 8, 152, 272, 144, 310, 21}, .letterCase = LetterCase::UpperWhereNamesIgnoreCase,
     .initialFolder = "VELDOR SISTEMAS/MARBELO PAF-ECF/ENVIO/"},
    {.name = "DIRETORIO_RESPOSTA", .save = KeySave::Text, .setting = &SystemSettings::ResponseDirectory,
     .widget = "edtcaminhoretorno", .label = "Diretório de Armazenamento de Arquivo de Retorno......:",
     .place = {FieldBox::Dialog, 8, 184, 272, 176, 310, 21}, .letterCase = LetterCase::UpperWhereNamesIgnoreCase,
     .initialFolder = "VELDOR SISTEMAS/MARBELO PAF-ECF/RESPOSTA/"},
    {.name = "TEMPO_COMUNICACAO", .save = KeySave::Text, .setting = &SystemSettings::IntervalText,
     .widget = "edtempoverificacao", .label = "Tempo ( em MiliSegundos ) de Verificação do Diretório..:",
     .place = {FieldBox::Dialog, 8, 216, 272, 208, 73, 21}, .input = FieldInput::Digits, .initialText = "5000"},
    // The log's initial folder is the response folder: deliberate.
    {.name = "DIRETORIO_LOG", .save = KeySave::Text, .setting = &SystemSettings::LogDirectory,
     .widget = "edtcaminholog", .label = "Salvar Log de Transação na Pasta................................:",
     .place = {FieldBox::Dialog, 8, 248, 272, 240, 310, 21}, .letterCase = LetterCase::UpperWhereNamesIgnoreCase,
     .initialFolder = "VELDOR SISTEMAS/MARBELO PAF-ECF/RESPOSTA/"},
    // TRANSACAO=ARQUIVO: one transaction per input file; LINHA, none or any
    // other value: each statement commits on its own.
    {.name = "TRANSACAO", .save = KeySave::Kept, .read = ReadTransactionMode},
    // RECUSADAS=SEPARAR: a line that the database or a record check refuses,
    // and the lines that depend on it, are set aside in the folder of refused
    // lines and the rest goes on; PARAR, none or any other value: such a line
    // stops the cycle, its file staying.
    {.name = "RECUSADAS", .save = KeySave::Kept, .read = ReadRefusedLinesMode},
    // How the shop writes dates, recorded by whoever saved last, so that every
    // face reads the input files' dates the same way (config/date_format.h).
    {.name = "FORMATO_DATA", .save = KeySave::SaversOwn, .read = ReadDateFormat, .saversValue = DateFormatValue},
});

// A row is whole: a written text has its setting, and a field its label and
// place, and only one of the eight shows a field. (The optional keys' readers
// are checked by the tests: a function's address is no constant here.)
constexpr bool WellFormed(const SettingsKey& key)
{
    const bool text = key.save == KeySave::Text;
    return text == (key.setting != nullptr) &&
           (!key.widget || (text && key.label[0] && key.place.width > 0 && key.place.height > 0));
}
static_assert(std::all_of(kSettingsKeys.begin(), kSettingsKeys.end(), WellFormed));

// True when the part of a line before its first "=" names the key.
bool NamesKey(const std::string& keyPart, const SettingsKey& key);

}  // namespace ligamor
