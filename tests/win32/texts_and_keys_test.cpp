// The Windows window's texts and the interval field's keys.
#include <gtest/gtest.h>

#include <string>

#include "runtime/text1252.h"
#include "win32/settings_dialog.h"
#include "win32/wide_text.h"
#include "window/window_appearance.h"

namespace ligamor {
namespace {

TEST(WindowTexts, ProgressGroupsThousandsWithAPoint)
{
    const auto shown = [](const char* name, std::size_t done, std::size_t total) {
        return WideFromCp1252(ProgressText(name, done, total));
    };
    EXPECT_EQ(shown("PRODUTO.TXT", 4500, 20000), L"PRODUTO.TXT: 4.500 de 20.000 linhas");
    EXPECT_EQ(shown("CLIENTE.TXT", 0, 999), L"CLIENTE.TXT: 0 de 999 linhas");
    EXPECT_EQ(shown("ITEM.TXT", 1234567, 1000000), L"ITEM.TXT: 1.234.567 de 1.000.000 linhas");
}

TEST(WindowTexts, Windows1252BytesReachTheScreenAsTheirCharacters)
{
    EXPECT_EQ(WideFromCp1252(Cp1252("Configurações do Sistema")), L"Configura\u00e7\u00f5es do Sistema");
    EXPECT_EQ(WideFromCp1252("\x80\x93"), L"\u20ac\u201c");
    EXPECT_EQ(WideFromUtf8("Informação"), L"Informa\u00e7\u00e3o");
}

TEST(IntervalField, OnlyDigitsAndControlKeysAreTyped)
{
    for (wchar_t c : std::wstring(L"0123456789\b\r\n\t\x1b\x16\x7f")) EXPECT_TRUE(IntervalKeyAccepted(c)) << int(c);
    for (wchar_t c : std::wstring(L"a -+.,Z\u00b2\u0663")) EXPECT_FALSE(IntervalKeyAccepted(c)) << int(c);
}

TEST(IntervalField, PasteKeepsTheDigits)
{
    EXPECT_EQ(IntervalDigits(L" 5.000 ms"), L"5000");
    EXPECT_EQ(IntervalDigits(L"abc"), L"");
    EXPECT_EQ(IntervalDigits(L"\u0663" L"12"), L"12");
}

}  // namespace
}  // namespace ligamor
