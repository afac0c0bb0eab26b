// The standard streams on Windows.
#include "runtime/console.h"

#include <algorithm>

#include "runtime/win32_support.h"

namespace ligamor {

namespace {

using detail::HandleOwner;

// A click in a console window with quick edit on starts a selection, and
// every write to the console waits until the selection ends: one stray click
// would stop the integration. Quick edit is off while the program writes and
// is given back at its exit.
class QuickEditOff {
public:
    QuickEditOff()
        : input_(CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr))
    {
        if (!input_.valid() || !GetConsoleMode(input_.get(), &mode_) || !(mode_ & ENABLE_QUICK_EDIT_MODE)) return;
        changed_ = SetConsoleMode(input_.get(), (mode_ | ENABLE_EXTENDED_FLAGS) & ~ENABLE_QUICK_EDIT_MODE);
    }
    ~QuickEditOff()
    {
        if (changed_) SetConsoleMode(input_.get(), mode_ | ENABLE_EXTENDED_FLAGS);
    }
    QuickEditOff(const QuickEditOff&) = delete;
    QuickEditOff& operator=(const QuickEditOff&) = delete;

private:
    HandleOwner input_;
    DWORD mode_ = 0;
    bool changed_ = false;
};

void WriteToConsole(HANDLE console, const std::string& utf8Text)
{
    static QuickEditOff quickEditOff;
    const std::wstring text = detail::Wide(utf8Text, CP_UTF8);
    std::size_t done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 16384));
        if (!WriteConsoleW(console, text.data() + done, chunk, &written, nullptr) || written == 0) return;
        done += written;
    }
}

void WriteToFile(HANDLE file, const std::string& utf8Text)
{
    std::string bytes;
    bytes.reserve(utf8Text.size() + 8);
    for (const char c : utf8Text) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) ||
            written == 0)
            return;
        done += written;
    }
}

}  // namespace

void WriteText(StandardStream stream, const std::string& utf8Text)
{
    const HANDLE handle = GetStdHandle(stream == StandardStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;  // started without one
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) WriteToConsole(handle, utf8Text);
    else WriteToFile(handle, utf8Text);
}

bool ErrorStreamIsJournal()
{
    return false;
}

}  // namespace ligamor
