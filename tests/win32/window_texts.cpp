// Reads back what a running window shows, for the tests that drive ligamor.exe
// on a display: each visible top-level window whose caption starts with the
// argument, then its controls, one line each as "class x y width height: text"
// (the place on the screen, where a click reaches it), in UTF-8.
// Exit status 1 when no such window is shown.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const std::wstring& wide)
{
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring TextOf(HWND window)
{
    // WM_GETTEXT with a time limit: a window busy in a cycle must not hang us.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return L"?";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        5000, &copied);
    text.resize(copied);
    return text;
}

void Print(HWND window)
{
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    RECT r{};
    GetWindowRect(window, &r);
    const std::wstring place = L" " + std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
                               std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top);
    const std::string line = Utf8(std::wstring(name) + place + L": " + TextOf(window)) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
}

struct Search {
    std::wstring prefix;
    int found = 0;
};

BOOL CALLBACK EachChild(HWND child, LPARAM)
{
    Print(child);
    return TRUE;
}

BOOL CALLBACK EachTopLevel(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    if (!IsWindowVisible(window)) return TRUE;
    wchar_t caption[512] = L"";
    GetWindowTextW(window, caption, 512);
    if (std::wstring(caption).rfind(search->prefix, 0) != 0) return TRUE;
    ++search->found;
    Print(window);
    EnumChildWindows(window, EachChild, 0);
    return TRUE;
}

}  // namespace

int main()
{
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    Search search;
    if (count > 1) search.prefix = args[1];
    LocalFree(args);
    EnumWindows(EachTopLevel, reinterpret_cast<LPARAM>(&search));
    std::fflush(stdout);
    return search.found > 0 ? 0 : 1;
}
