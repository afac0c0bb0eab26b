#include "win32/settings_dialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "config/settings.h"
#include "runtime/failures.h"
#include "runtime/run_handler.h"
#include "runtime/text1252.h"
#include "win32/resource_ids.h"
#include "win32/wide_text.h"

namespace ligamor {

namespace {

// Where each control stands in pixels (left, top, width, height; the first
// group's relative to the dialog, as the group box starts at its top left).
struct Place {
    int id;
    RECT rect;  // left, top, width, height
};
constexpr int kGroupTop = 2;
const std::array<Place, 23> kPlaces = {{
    {IDC_GROUPBOX1, {0, 2, 583, 135}},
    {IDC_LABEL1, {24, kGroupTop + 32, 56, 14}},
    {IDC_EDTSERVIDOR, {80, kGroupTop + 24, 145, 21}},
    {IDC_LABEL2, {24, kGroupTop + 60, 56, 14}},
    {IDC_EDTCAMINHO, {80, kGroupTop + 52, 377, 21}},
    {IDC_BTNCAMINHO, {458, kGroupTop + 52, 23, 19}},
    {IDC_BTNTESTAR, {488, kGroupTop + 48, 89, 32}},
    {IDC_LABEL7, {24, kGroupTop + 84, 56, 14}},
    {IDC_EDTUSUARIO, {80, kGroupTop + 76, 145, 21}},
    {IDC_LABEL8, {24, kGroupTop + 109, 56, 14}},
    {IDC_EDTSENHA, {80, kGroupTop + 101, 145, 21}},
    {IDC_LABEL3, {8, 152, 264, 14}},
    {IDC_EDTCAMINHOENVIO, {272, 144, 310, 21}},
    {IDC_LABEL4, {8, 184, 264, 14}},
    {IDC_EDTCAMINHORETORNO, {272, 176, 310, 21}},
    {IDC_LABEL5, {8, 216, 264, 14}},
    {IDC_EDTEMPOVERIFICACAO, {272, 208, 73, 21}},
    {IDC_LABEL6, {8, 248, 264, 14}},
    {IDC_EDTCAMINHOLOG, {272, 240, 310, 21}},
    {IDC_BEVEL1, {0, 272, 583, 60}},
    {IDOK, {118, 285, 113, 33}},
    {IDCANCEL, {334, 285, 113, 33}},
    {0, {0, 0, 583, 332}},  // the client area
}};

// Which field shows which setting, in the file's order.
using SettingsField = std::pair<std::string SystemSettings::*, int>;
const std::array<SettingsField, 8> kSettingsFields = {{
    {&SystemSettings::Server, IDC_EDTSERVIDOR},
    {&SystemSettings::DatabasePath, IDC_EDTCAMINHO},
    {&SystemSettings::UserName, IDC_EDTUSUARIO},
    {&SystemSettings::Password, IDC_EDTSENHA},
    {&SystemSettings::SendDirectory, IDC_EDTCAMINHOENVIO},
    {&SystemSettings::ResponseDirectory, IDC_EDTCAMINHORETORNO},
    {&SystemSettings::IntervalText, IDC_EDTEMPOVERIFICACAO},
    {&SystemSettings::LogDirectory, IDC_EDTCAMINHOLOG},
}};

// Letters shown and stored in upper case. Windows paths do not tell letter
// case apart, so the directory fields keep the upper case that the Linux
// dialog gives up.
bool UpperCase(int id)
{
    return id == IDC_EDTSERVIDOR || id == IDC_EDTCAMINHOENVIO || id == IDC_EDTCAMINHORETORNO ||
           id == IDC_EDTCAMINHOLOG;
}

struct DialogState {
    SettingsDialogServices& services;
    HFONT buttonFont = nullptr;
    std::vector<HFONT> labelFonts;
    // The fields' values at OK, saved once the dialog has closed, so that a
    // failure to write reaches the menu command.
    SystemSettings values{};
    // The file's lines that no field shows (TRANSACAO, RECUSADAS, any other):
    // written back in their place, or OK would switch those settings off.
    std::vector<std::string> keptLines{};
};

std::wstring FieldText(HWND dialog, int id)
{
    HWND field = GetDlgItem(dialog, id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    if (UpperCase(id) && !text.empty()) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::string FieldValue(HWND dialog, int id)
{
    return LocalFromWide(FieldText(dialog, id));
}

void SetField(HWND dialog, int id, const std::wstring& text)
{
    std::wstring shown = text;
    if (UpperCase(id) && !shown.empty()) CharUpperBuffW(shown.data(), static_cast<DWORD>(shown.size()));
    SetDlgItemTextW(dialog, id, shown.c_str());
}

// The interval field: typed characters pass IntervalKeyAccepted, pasted text
// keeps only its digits.
LRESULT CALLBACK IntervalField(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_CHAR && !IntervalKeyAccepted(static_cast<wchar_t>(wParam))) return 0;
    if (message == WM_PASTE) {
        std::wstring pasted;
        if (IsClipboardFormatAvailable(CF_UNICODETEXT) && OpenClipboard(field)) {
            if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
                    pasted = text;
                    GlobalUnlock(data);
                }
            }
            CloseClipboard();
        }
        const std::wstring digits = IntervalDigits(pasted);
        SendMessageW(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(digits.c_str()));
        return 0;
    }
    return DefSubclassProc(field, message, wParam, lParam);
}

// The labels were laid out for a narrow 8-point font; where the font that
// stands in for it is wider, the label's font is narrowed until it ends
// before its field instead of wrapping or running under it.
void FitLabel(HWND label, int width, DialogState& state)
{
    const int length = GetWindowTextLengthW(label);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(label, text.data(), length + 1);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    LOGFONTW logical{};
    GetObjectW(font, sizeof logical, &logical);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), length, &size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    if (size.cx <= width) return;
    logical.lfWidth = std::max<LONG>(1, metrics.tmAveCharWidth * width / size.cx);
    HFONT narrow = CreateFontIndirectW(&logical);
    state.labelFonts.push_back(narrow);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(narrow), FALSE);
}

bool IsLabel(int id)
{
    return id == IDC_LABEL1 || id == IDC_LABEL2 || id == IDC_LABEL3 || id == IDC_LABEL4 || id == IDC_LABEL5 ||
           id == IDC_LABEL6 || id == IDC_LABEL7 || id == IDC_LABEL8;
}

void Lay(HWND dialog, DialogState& state)
{
    for (const Place& p : kPlaces) {
        if (p.id == 0) {
            RECT frame{0, 0, p.rect.right, p.rect.bottom};
            AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                               static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)));
            // Centred on the screen's work area.
            RECT area{};
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
            const int width = frame.right - frame.left;
            const int height = frame.bottom - frame.top;
            MoveWindow(dialog, area.left + (area.right - area.left - width) / 2,
                       area.top + (area.bottom - area.top - height) / 2, width, height, FALSE);
            continue;
        }
        MoveWindow(GetDlgItem(dialog, p.id), p.rect.left, p.rect.top, p.rect.right, p.rect.bottom, FALSE);
        if (IsLabel(p.id)) FitLabel(GetDlgItem(dialog, p.id), p.rect.right - 2, state);
    }
    // OK and Cancelar in Arial, 16 pixels high.
    state.buttonFont = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
    SendDlgItemMessageW(dialog, IDOK, WM_SETFONT, reinterpret_cast<WPARAM>(state.buttonFont), FALSE);
    SendDlgItemMessageW(dialog, IDCANCEL, WM_SETFONT, reinterpret_cast<WPARAM>(state.buttonFont), FALSE);
    SetWindowSubclass(GetDlgItem(dialog, IDC_EDTEMPOVERIFICACAO), IntervalField, 1, 0);
}

// Before the file is read: what stays on screen when reading it fails.
void InitialTexts(HWND dialog)
{
    const std::wstring response = L"C:\\VELDOR SISTEMAS\\MARBELO PAF-ECF\\RESPOSTA\\";
    SetField(dialog, IDC_EDTCAMINHOENVIO, L"C:\\VELDOR SISTEMAS\\MARBELO PAF-ECF\\ENVIO\\");
    SetField(dialog, IDC_EDTCAMINHORETORNO, response);
    SetField(dialog, IDC_EDTCAMINHOLOG, response);
    SetField(dialog, IDC_EDTEMPOVERIFICACAO, L"5000");
}

void FormShow(HWND dialog, DialogState& state)
{
    SettingsDialogServices& services = state.services;
    RunHandler(services.messages, [&] {
        std::optional<SystemSettings> read = ReadSettingsForDialog(services.settingsPath);
        if (!read) {
            services.messages.InformationBox(NotConfiguredMessage());
            services.timer.SetInterval(0);
        }
        // Without a file every field is emptied, the initial texts included.
        const SystemSettings values = read.value_or(SystemSettings{});
        for (const auto& [member, id] : kSettingsFields) SetField(dialog, id, WideFromLocal(values.*member));
        state.keptLines = values.OtherLines;
    });
}

void btnTestarClick(HWND dialog, DialogState& state)
{
    SettingsDialogServices& services = state.services;
    RunHandler(services.messages, [&] {
        const std::string name =
            ComposeDatabaseName(FieldValue(dialog, IDC_EDTSERVIDOR), FieldValue(dialog, IDC_EDTCAMINHO));
        try {
            ConnectDatabase(services.dtmain, name, FieldValue(dialog, IDC_EDTUSUARIO),
                            FieldValue(dialog, IDC_EDTSENHA));
            // "Coneão" is the text users know; deliberate, do not correct it.
            services.messages.PlainMessage(Cp1252("Coneão realizada com sucesso."));
        } catch (...) {
            // The connection layer's own text is not shown here.
            services.messages.ErrorBox(Cp1252("Erro de Conexão."));
            throw SilentAbort{};
        }
    });
}

void btnCaminhoClick(HWND dialog, DialogState& state)
{
    RunHandler(state.services.messages, [&] {
        std::vector<wchar_t> file(32768, L'\0');
        // "Banco de Dados InterBase|*.gdb|Banco de Dados FireBird|*.fdb"
        static const wchar_t filter[] = L"Banco de Dados InterBase\0*.gdb\0Banco de Dados FireBird\0*.fdb\0";
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = dialog;
        ofn.lpstrFilter = filter;
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = file.data();
        ofn.nMaxFile = static_cast<DWORD>(file.size());
        ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
        if (!GetOpenFileNameW(&ofn) || file[0] == L'\0') return;
        SetDlgItemTextW(dialog, IDC_EDTCAMINHO, file.data());
    });
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        state = reinterpret_cast<DialogState*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        Lay(dialog, *state);
        InitialTexts(dialog);
        FormShow(dialog, *state);
        return TRUE;  // the focus on the first field, edtservidor
    case WM_COMMAND:
        if (!state || HIWORD(wParam) != BN_CLICKED) return FALSE;
        switch (LOWORD(wParam)) {
        case IDOK:
            for (const auto& [member, id] : kSettingsFields) state->values.*member = FieldValue(dialog, id);
            state->values.OtherLines = state->keptLines;
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:  // Cancelar, Escape and the close box
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDC_BTNTESTAR: btnTestarClick(dialog, *state); return TRUE;
        case IDC_BTNCAMINHO: btnCaminhoClick(dialog, *state); return TRUE;
        default: return FALSE;
        }
    case WM_DESTROY:
        if (state && state->buttonFont) DeleteObject(state->buttonFont);
        if (state)
            for (HFONT font : state->labelFonts) DeleteObject(font);
        return FALSE;
    default: return FALSE;
    }
}

}  // namespace

bool IntervalKeyAccepted(wchar_t typed)
{
    return typed < 0x20 || typed == 127 || (typed >= L'0' && typed <= L'9');
}

std::wstring IntervalDigits(const std::wstring& pasted)
{
    std::wstring digits;
    for (wchar_t c : pasted)
        if (c >= L'0' && c <= L'9') digits += c;
    return digits;
}

bool ShowConfigurationDialog(HWND owner, SettingsDialogServices& services)
{
    DialogState state{services, nullptr, {}, {}, {}};
    const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_FRMCONFIGURACAO), owner,
                                           DialogProcedure, reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return false;
    SaveSettings(services.settingsPath, state.values);
    return true;
}

}  // namespace ligamor
