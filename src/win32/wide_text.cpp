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

}  // namespace ligamor
