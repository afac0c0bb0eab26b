// The clock and the regional settings on Windows: the local time and the
// user's locale (GetLocaleInfoEx).
#include <windows.h>

#include <iterator>
#include <string>

#include "runtime/clock.h"
#include "runtime/clock_windows.h"
#include "runtime/win32_support.h"

namespace ligamor {

DateTime SystemClock::Now() const
{
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

long long WallClockNs()
{
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    return detail::UnixNsFromFileTime(
        static_cast<long long>((static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime));
}

namespace {

std::wstring LocaleText(const wchar_t* localeName, LCTYPE item)
{
    wchar_t buffer[128] = {};
    const int n = GetLocaleInfoEx(localeName, item, buffer, static_cast<int>(std::size(buffer)));
    return n > 0 ? std::wstring(buffer) : std::wstring();
}

// The first character of a separator setting, when a date or time text can
// carry it as a single byte.
void SeparatorOf(const std::wstring& text, char& out)
{
    if (!text.empty() && text[0] > L' ' && text[0] <= L'~') out = static_cast<char>(text[0]);
}

}  // namespace

RegionalSettings RegionalSettingsOfLocale(const wchar_t* localeName)
{
    RegionalSettings result;
    // The order in which day, month and year first appear; quoted literals
    // ('de', 'г.') are skipped.
    std::string fields;
    bool quoted = false;
    for (wchar_t c : LocaleText(localeName, LOCALE_SSHORTDATE)) {
        if (c == L'\'') quoted = !quoted;
        if (quoted) continue;
        const char field = c == L'd' ? 'd' : c == L'M' ? 'm' : c == L'y' ? 'y' : 0;
        if (field && fields.find(field) == std::string::npos) fields += field;
    }
    if (fields == "mdy") result.order = DateOrder::MonthDayYear;
    else if (fields == "ymd") result.order = DateOrder::YearMonthDay;
    else if (fields == "dmy") result.order = DateOrder::DayMonthYear;
    SeparatorOf(LocaleText(localeName, LOCALE_SDATE), result.dateSeparator);
    SeparatorOf(LocaleText(localeName, LOCALE_STIME), result.timeSeparator);
    return result;
}

RegionalSettings PlatformRegionalSettings()
{
    return RegionalSettingsOfLocale(LOCALE_NAME_USER_DEFAULT);
}

}  // namespace ligamor
