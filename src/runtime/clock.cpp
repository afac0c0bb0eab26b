#include "runtime/clock.h"

#include <langinfo.h>
#include <locale.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "runtime/failures.h"

namespace ligamor {

DateTime SystemClock::Now() const
{
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

namespace {

std::string LcTimeName()
{
    for (const char* var : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v) return v;
    }
    return "C";
}

bool IsPosixLocale(const std::string& name)
{
    return name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

// Expands the composite conversions that some locales use for their dates.
std::string ExpandComposites(std::string fmt)
{
    std::string out;
    for (std::size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] == '%' && i + 1 < fmt.size()) {
            char c = fmt[i + 1];
            if (c == 'D') { out += "%m/%d/%y"; ++i; continue; }
            if (c == 'F') { out += "%Y-%m-%d"; ++i; continue; }
            if (c == 'T') { out += "%H:%M:%S"; ++i; continue; }
        }
        out += fmt[i];
    }
    return out;
}

}  // namespace

RegionalSettings PlatformRegionalSettings()
{
    RegionalSettings result;
    std::string name = LcTimeName();
    if (IsPosixLocale(name)) return result;
    locale_t loc = newlocale(LC_TIME_MASK, name.c_str(), static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) return result;

    std::string dateFmt = ExpandComposites(nl_langinfo_l(D_FMT, loc));
    std::string timeFmt = ExpandComposites(nl_langinfo_l(T_FMT, loc));
    freelocale(loc);

    std::string fields;
    char separator = 0;
    for (std::size_t i = 0; i + 1 < dateFmt.size(); ++i) {
        if (dateFmt[i] != '%') continue;
        char c = dateFmt[i + 1];
        if (c == 'd' || c == 'e') fields += 'd';
        else if (c == 'm') fields += 'm';
        else if (c == 'Y' || c == 'y') fields += 'y';
        else continue;
        if (separator == 0 && i + 2 < dateFmt.size() && dateFmt[i + 2] != '%') separator = dateFmt[i + 2];
        ++i;
    }
    if (fields == "mdy") result.order = DateOrder::MonthDayYear;
    else if (fields == "ymd") result.order = DateOrder::YearMonthDay;
    else if (fields == "dmy") result.order = DateOrder::DayMonthYear;
    if (separator != 0 && separator != ' ') result.dateSeparator = separator;

    std::size_t h = timeFmt.find("%H");
    if (h == std::string::npos) h = timeFmt.find("%I");
    if (h != std::string::npos && h + 2 < timeFmt.size() && timeFmt[h + 2] != '%' && timeFmt[h + 2] != ' ')
        result.timeSeparator = timeFmt[h + 2];
    return result;
}

namespace {

std::string TwoDigits(int v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

std::string FourDigits(int v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d", v);
    return buf;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysIn(int y, int m)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

}  // namespace

std::string FormatDate(const DateTime& t, char sep)
{
    return TwoDigits(t.day) + sep + TwoDigits(t.month) + sep + FourDigits(t.year);
}

std::string FormatTime(const DateTime& t, char sep)
{
    return TwoDigits(t.hour) + sep + TwoDigits(t.minute) + sep + TwoDigits(t.second);
}

std::string FormatDateMonthFirst(const DateTime& t, char sep)
{
    return TwoDigits(t.month) + sep + TwoDigits(t.day) + sep + FourDigits(t.year);
}

DateTime ParseShortDate(const std::string& text, const RegionalSettings& regional)
{
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == regional.dateSeparator) parts.emplace_back();
        else if (std::isdigit(static_cast<unsigned char>(c))) parts.back() += c;
        else throw InvalidDate(text);
    }
    if (parts.size() != 3) throw InvalidDate(text);

    int dayIdx = 0, monthIdx = 1, yearIdx = 2;
    if (regional.order == DateOrder::MonthDayYear) { monthIdx = 0; dayIdx = 1; }
    if (regional.order == DateOrder::YearMonthDay) { yearIdx = 0; monthIdx = 1; dayIdx = 2; }

    const std::string& d = parts[dayIdx];
    const std::string& m = parts[monthIdx];
    const std::string& y = parts[yearIdx];
    if (d.empty() || d.size() > 2 || m.empty() || m.size() > 2 || (y.size() != 2 && y.size() != 4))
        throw InvalidDate(text);

    DateTime result;
    result.day = std::stoi(d);
    result.month = std::stoi(m);
    result.year = std::stoi(y) + (y.size() == 2 ? 2000 : 0);
    if (result.year < 1 || result.month < 1 || result.month > 12 || result.day < 1 ||
        result.day > DaysIn(result.year, result.month))
        throw InvalidDate(text);
    return result;
}

}  // namespace ligamor
