#include "win32/settings_dialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/run_handler.h"
#include "win32/resource_ids.h"
#include "win32/wide_text.h"

namespace ligamor {

namespace {

// Where each control stands in pixels (left, top, width, height; the first
// group's relative to the dialog, as the group box starts at its top left);
// a field also names its row of the form's table.
struct Place {
    int id;
    RECT rect;  // left, top, width, height
    const char* field = nullptr;
};
constexpr int kGroupTop = 2;
const auto kPlaces = std::to_array<Place>({
    {IDC_GROUPBOX1, {0, 2, 583, 135}},
    {IDC_LABEL1, {24, kGroupTop + 32, 56, 14}},
    {IDC_EDTSERVIDOR, {80, kGroupTop + 24, 145, 21}, "edtservidor"},
    {IDC_LABEL2, {24, kGroupTop + 60, 56, 14}},
    {IDC_EDTCAMINHO, {80, kGroupTop + 52, 377, 21}, "edtcaminho"},
    {IDC_BTNCAMINHO, {458, kGroupTop + 52, 23, 19}},
    {IDC_BTNTESTAR, {488, kGroupTop + 48, 89, 32}},
    {IDC_LABEL7, {24, kGroupTop + 84, 56, 14}},
    {IDC_EDTUSUARIO, {80, kGroupTop + 76, 145, 21}, "edtusuario"},
    {IDC_LABEL8, {24, kGroupTop + 109, 56, 14}},
    {IDC_EDTSENHA, {80, kGroupTop + 101, 145, 21}, "edtsenha"},
    {IDC_LABEL3, {8, 152, 264, 14}},
    {IDC_EDTCAMINHOENVIO, {272, 144, 310, 21}, "edtcaminhoenvio"},
    {IDC_LABEL4, {8, 184, 264, 14}},
    {IDC_EDTCAMINHORETORNO, {272, 176, 310, 21}, "edtcaminhoretorno"},
    {IDC_LABEL5, {8, 216, 264, 14}},
    {IDC_EDTEMPOVERIFICACAO, {272, 208, 73, 21}, "edtempoverificacao"},
    {IDC_LABEL6, {8, 248, 264, 14}},
    {IDC_EDTCAMINHOLOG, {272, 240, 310, 21}, "edtcaminholog"},
    {IDC_BEVEL1, {0, 272, 583, 60}},
    {IDOK, {118, 285, 113, 33}},
    {IDCANCEL, {334, 285, 113, 33}},
    {0, {0, 0, 583, 332}},  // the client area
});

int FieldId(const SettingsFormField& field)
{
    for (const Place& p : kPlaces)
        if (p.field && std::string_view(p.field) == field.widget) return p.id;
    return 0;
}

std::wstring Shown(std::wstring text, const SettingsFormField& field)
{
    if (ShownInUpperCase(field) && !text.empty()) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The dialog's fields as the form reads and fills them.
class DialogFields : public SettingsFormView {
public:
    explicit DialogFields(HWND dialog) : dialog_(dialog) {}

    std::string Text(const SettingsFormField& field) const override
    {
        HWND edit = GetDlgItem(dialog_, FieldId(field));
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
        return LocalFromWide(Shown(std::move(text), field));
    }
    void SetText(const SettingsFormField& field, const std::string& text) override
    {
        SetDlgItemTextW(dialog_, FieldId(field), Shown(WideFromLocal(text), field).c_str());
    }

private:
    HWND dialog_;
};

struct DialogState {
    SettingsForm& form;
    HFONT buttonFont = nullptr;
    std::vector<HFONT> labelFonts;
};

// A digits field (the interval): typed characters pass IntervalKeyAccepted, pasted text
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

// The labels are the dialog's static texts (the frame below is static too,
// but draws no text).
bool IsLabel(HWND control)
{
    wchar_t name[16] = L"";
    GetClassNameW(control, name, 16);
    return lstrcmpiW(name, L"Static") == 0 &&
           (static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE)) & SS_TYPEMASK) == SS_LEFTNOWORDWRAP;
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
        HWND control = GetDlgItem(dialog, p.id);
        MoveWindow(control, p.rect.left, p.rect.top, p.rect.right, p.rect.bottom, FALSE);
        if (IsLabel(control)) FitLabel(control, p.rect.right - 2, state);
    }
    // OK and Cancelar in Arial, 16 pixels high.
    state.buttonFont = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
    SendDlgItemMessageW(dialog, IDOK, WM_SETFONT, reinterpret_cast<WPARAM>(state.buttonFont), FALSE);
    SendDlgItemMessageW(dialog, IDCANCEL, WM_SETFONT, reinterpret_cast<WPARAM>(state.buttonFont), FALSE);
    // Each field's letter case and input, as the form's table gives them.
    for (const SettingsFormField& field : kSettingsFormFields) {
        HWND edit = GetDlgItem(dialog, FieldId(field));
        if (ShownInUpperCase(field)) SetWindowLongW(edit, GWL_STYLE, GetWindowLongW(edit, GWL_STYLE) | ES_UPPERCASE);
        if (field.input == FieldInput::Digits) SetWindowSubclass(edit, IntervalField, 1, 0);
    }
}

void btnCaminhoClick(HWND dialog, DialogState& state)
{
    RunHandler(state.form.Services().messages, [&] {
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
    case WM_INITDIALOG: {
        state = reinterpret_cast<DialogState*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        Lay(dialog, *state);
        DialogFields fields(dialog);
        state->form.Show(fields);
        return TRUE;  // the focus on the first field, edtservidor
    }
    case WM_COMMAND:
        if (!state || HIWORD(wParam) != BN_CLICKED) return FALSE;
        switch (LOWORD(wParam)) {
        case IDOK:
            state->form.Accept(DialogFields(dialog));
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:  // Cancelar, Escape and the close box
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDC_BTNTESTAR: state->form.Test(DialogFields(dialog)); return TRUE;
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

bool ShowConfigurationDialog(HWND owner, SettingsFormServices& services)
{
    SettingsForm form(services, "C:\\");
    DialogState state{form, nullptr, {}};
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_FRMCONFIGURACAO), owner, DialogProcedure,
                    reinterpret_cast<LPARAM>(&state));
    // Saved once the dialog has closed: a failure to write then reaches the
    // menu command, which reports it.
    return form.Close();
}

}  // namespace ligamor
