// The clock and the regional settings on POSIX systems: localtime_r and the
// LC_TIME locale's date and time formats.
#include "runtime/clock.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace ligamor {

DateTime SystemClock::Now() const
{
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

long long WallClockNs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return NsSince1970(ts.tv_sec, ts.tv_nsec);
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

}  // namespace ligamor
