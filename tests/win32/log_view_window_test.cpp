// The Windows log view as a user reaches it: lines selected with the mouse
// and copied with Ctrl+C, and nothing typed or pasted changes what it shows.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "engine/integration_log.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"
#include "support/temp_dir.h"
#include "win32/log_view_window.h"

namespace ligamor {
namespace {

std::wstring Clipboard()
{
    std::wstring text;
    if (!OpenClipboard(nullptr)) return L"(no clipboard)";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

std::wstring Shown(HWND view)
{
    wchar_t text[256] = L"";
    SendMessageW(view, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

class LogViewWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        // Wine makes no window without a display: scripts/test-windows-window
        // runs these on its own.
        if (!frame) GTEST_SKIP() << "no display";
        ASSERT_TRUE(view.Create(frame, 1, RECT{0, 0, 380, 250}));
        AppendToIntegrationLog(dir.Path(), {"um", "dois", Cp1252("três")});
        ReloadLogView(view, IntegrationLogPath(dir.Path()));
    }
    void TearDown() override { DestroyWindow(frame); }

    test::TempDir dir;
    HWND frame = nullptr;
    LogViewWindow view;
};

TEST_F(LogViewWindowTest, ClickedLinesAreCopiedWithCtrlC)
{
    const auto click = [&](int y, WPARAM keys) {
        SendMessageW(view.Handle(), WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(20, y));
        SendMessageW(view.Handle(), WM_LBUTTONUP, keys, MAKELPARAM(20, y));
    };
    click(1, 0);
    SendMessageW(view.Handle(), WM_CHAR, 0x03, 0);  // Ctrl+C
    EXPECT_EQ(Clipboard(), L"um");

    // With Shift, down to below the last line: the empty line after the last
    // line end is copied as one more line end.
    click(240, MK_SHIFT);
    SendMessageW(view.Handle(), WM_CHAR, 0x03, 0);
    EXPECT_EQ(Clipboard(), L"um\r\ndois\r\ntr\u00eas\r\n");
}

TEST_F(LogViewWindowTest, NothingTypedOrPastedChangesWhatItShows)
{
    const std::wstring log = L"um\r\ndois\r\ntr\u00eas\r\n";
    ASSERT_EQ(Shown(view.Handle()), log);
    SendMessageW(view.Handle(), WM_CHAR, L'x', 0);
    SendMessageW(view.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed"));
    SendMessageW(view.Handle(), WM_PASTE, 0, 0);
    SendMessageW(view.Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(Shown(view.Handle()), log);
}

}  // namespace
}  // namespace ligamor
