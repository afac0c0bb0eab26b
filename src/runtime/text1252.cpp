#include "runtime/text1252.h"

#include <array>
#include <cstdint>

namespace ligamor {
namespace {

// Code points of the bytes 0x80 to 0x9F; 0 marks the five unassigned bytes.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

char ByteOf(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

namespace {

// The length of the UTF-8 sequence at i, 0 when none starts there.
std::size_t SequenceLength(std::string_view utf8, std::size_t i)
{
    const auto b = static_cast<std::uint8_t>(utf8[i]);
    const std::size_t length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > utf8.size()) return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((static_cast<std::uint8_t>(utf8[i + k]) & 0xC0) != 0x80) return 0;
    return length;
}

}  // namespace

namespace detail {

std::string FromUtf8(std::string_view utf8, bool keepOtherBytes)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = SequenceLength(utf8, i);
        if (length == 0) {
            out += keepOtherBytes ? utf8[i] : '?';
            ++i;
            continue;
        }
        const auto b = static_cast<std::uint8_t>(utf8[i]);
        char32_t cp = length == 1 ? b : b & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) cp = (cp << 6) | (static_cast<std::uint8_t>(utf8[i + k]) & 0x3F);
        out += ByteOf(cp);
        i += length;
    }
    return out;
}

}  // namespace detail

std::string Cp1252(std::string_view utf8)
{
    return detail::FromUtf8(utf8, false);
}

namespace {

char32_t CodePointOf(char byte)
{
    const auto b = static_cast<std::uint8_t>(byte);
    if (b < 0x80 || b >= 0xA0) return b;
    return kHighControls[b - 0x80] ? kHighControls[b - 0x80] : 0xFFFD;
}

}  // namespace

std::string Utf8FromCp1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const char32_t cp = CodePointOf(c);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::string Utf8Repaired(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = SequenceLength(text, i);
        char32_t cp = 0;
        if (length > 0) {
            const auto b = static_cast<std::uint8_t>(text[i]);
            cp = length == 1 ? b : b & (0x7F >> length);
            for (std::size_t k = 1; k < length; ++k) cp = (cp << 6) | (static_cast<std::uint8_t>(text[i + k]) & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8 either.
        static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (length == 0 || cp < kLeast[length] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
            out += Utf8FromCp1252(text.substr(i, 1));
            ++i;
            continue;
        }
        out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

std::u16string Utf16FromCp1252(std::string_view bytes)
{
    std::u16string out(bytes.size(), u'\0');
    // Every Windows-1252 character lies in the Basic Multilingual Plane.
    for (std::size_t i = 0; i < bytes.size(); ++i) out[i] = static_cast<char16_t>(CodePointOf(bytes[i]));
    return out;
}

}  // namespace ligamor
