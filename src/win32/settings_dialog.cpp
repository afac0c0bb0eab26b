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
#include "window/settings_dialog_frame.h"

namespace ligamor {

namespace {

// The controls around the fields, from the resource script, and where they
// stand.
struct FramePlace {
    int id;
    DialogRect rect;
    FieldBox box = FieldBox::Dialog;
};
const auto kFramePlaces = std::to_array<FramePlace>({
    {IDC_GROUPBOX1, kSettingsDialogFrame.databaseGroup},
    {IDC_BTNCAMINHO, kSettingsDialogFrame.pickDatabase, FieldBox::DatabaseGroup},
    {IDC_BTNTESTAR, kSettingsDialogFrame.test, FieldBox::DatabaseGroup},
    {IDC_BEVEL1, kSettingsDialogFrame.bevel},
    {IDOK, kSettingsDialogFrame.ok},
    {IDCANCEL, kSettingsDialogFrame.cancel},
});

// The fields and their labels are made from the settings keys when the
// dialog opens, in the table's order from IDC_FIELDS on: each label's ID is
// its field's minus one.
int FieldId(const SettingsFormField& field)
{
    for (std::size_t i = 0; i < kSettingsFormFields.size(); ++i)
        if (std::string_view(kSettingsFormFields[i].widget) == field.widget)
            return IDC_FIELDS + 2 * static_cast<int>(i) + 1;
    return 0;
}

int FieldId(std::string SystemSettings::*setting)
{
    for (const SettingsFormField& field : kSettingsFormFields)
        if (field.setting == setting) return FieldId(field);
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

// Each field and its label where the table places them, with the field's
// letter case and input; in the tab order after the database group's
// buttons, which take no focus, and before OK and Cancelar.
void MakeFields(HWND dialog, DialogState& state)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const WPARAM font = static_cast<WPARAM>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    HWND previous = GetDlgItem(dialog, IDC_BTNTESTAR);
    for (const SettingsFormField& field : kSettingsFormFields) {
        const int id = FieldId(field);
        const DialogRect at = InDialog(LabelRect(field.place), field.place.box);
        HWND label = CreateWindowExW(0, L"Static", WideFromUtf8(field.label).c_str(),
                                     WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, at.left, at.top, at.width, at.height,
                                     dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id - 1)), instance, nullptr);
        const DialogRect place = InDialog(FieldRect(field.place), field.place.box);
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL |
                            (ShownInUpperCase(field) ? ES_UPPERCASE : 0);
        HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", style, place.left, place.top, place.width,
                                    place.height, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                    nullptr);
        for (HWND control : {label, edit}) {
            SendMessageW(control, WM_SETFONT, font, FALSE);
            SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            previous = control;
        }
        FitLabel(label, at.width - 2, state);
        if (field.input == FieldInput::Digits) SetWindowSubclass(edit, IntervalField, 1, 0);
    }
}

void Lay(HWND dialog, DialogState& state)
{
    RECT frame{0, 0, kSettingsDialogFrame.client.width, kSettingsDialogFrame.client.height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)));
    // Centred on the screen's work area.
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    MoveWindow(dialog, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, width, height, FALSE);
    for (const FramePlace& p : kFramePlaces) {
        const DialogRect at = InDialog(p.rect, p.box);
        MoveWindow(GetDlgItem(dialog, p.id), at.left, at.top, at.width, at.height, FALSE);
    }
    MakeFields(dialog, state);
    // OK and Cancelar in Arial, 16 pixels high.
    state.buttonFont = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
    SendDlgItemMessageW(dialog, IDOK, WM_SETFONT, reinterpret_cast<WPARAM>(state.buttonFont), FALSE);
    SendDlgItemMessageW(dialog, IDCANCEL, WM_SETFONT, reinterpret_cast<WPARAM>(state.buttonFont), FALSE);
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
        SetDlgItemTextW(dialog, FieldId(&SystemSettings::DatabasePath), file.data());
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
        // The focus on the first field: the one the system would choose was
        // picked before the fields were made.
        SetFocus(GetDlgItem(dialog, FieldId(kSettingsFormFields.front())));
        return FALSE;
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
