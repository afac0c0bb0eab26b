#include "win32/wide_text.h"

#include <windows.h>

#include "runtime/win32_support.h"

namespace ligamor {

namespace {

std::wstring Widen(std::string_view bytes, UINT codePage)
{
    return detail::Wide(std::string(bytes), codePage);
}

}  // namespace

std::wstring WideFromCp1252(std::string_view bytes)
{
    return Widen(bytes, 1252);
}

std::wstring WideFromUtf8(std::string_view utf8)
{
    return Widen(utf8, CP_UTF8);
}

std::wstring WideFromLocal(std::string_view text)
{
    return Widen(text, CP_ACP);
}

std::string LocalFromWide(std::wstring_view text)
{
    return detail::Narrow(std::wstring(text));
}

std::string GroupThousands(std::size_t n)
{
    const std::string digits = std::to_string(n);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += '.';
        grouped += digits[i];
    }
    return grouped;
}

std::wstring ProgressText(const std::string& fileName, std::size_t done, std::size_t total)
{
    return WideFromCp1252(fileName) + L": " + WideFromUtf8(GroupThousands(done)) + L" de " +
           WideFromUtf8(GroupThousands(total)) + L" linhas";
}

}  // namespace ligamor
