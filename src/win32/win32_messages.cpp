#include "win32/win32_messages.h"

#include <windows.h>

#include "win32/wide_text.h"

namespace ligamor {

namespace {

void ShowBox(UINT icon, const std::wstring& caption, const std::string& text)
{
    // Owned by the active window (the main window or the dialog), which it
    // disables; before the window exists the box holds the whole thread.
    HWND owner = GetActiveWindow();
    MessageBoxW(owner, WideFromCp1252(text).c_str(), caption.c_str(),
                MB_OK | icon | (owner ? MB_APPLMODAL : MB_TASKMODAL) | MB_SETFOREGROUND);
}

}  // namespace

std::wstring ApplicationTitle()
{
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, n);
    name = name.substr(name.find_last_of(L"\\/") + 1);
    const std::size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

void Win32Messages::InformationBox(const std::string& text)
{
    ShowBox(MB_ICONINFORMATION, WideFromUtf8("Informação"), text);
}

void Win32Messages::ErrorBox(const std::string& text)
{
    ShowBox(MB_ICONERROR, L"Erro", text);
}

void Win32Messages::PlainMessage(const std::string& text)
{
    ShowBox(0, ApplicationTitle(), text);
}

void Win32Messages::ErrorReport(const std::string& text)
{
    ShowBox(MB_ICONERROR, ApplicationTitle(), text);
}

}  // namespace ligamor
