#include "runtime/clock.h"

#include <cctype>
#include <cstdio>
#include <limits>
#include <vector>

#include "runtime/failures.h"

namespace ligamor {

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

long long NsSince1970(long long seconds, long long nanoseconds)
{
    constexpr long long kMost = std::numeric_limits<long long>::max(), kLeast = std::numeric_limits<long long>::min();
    long long ns = 0;
    if (__builtin_mul_overflow(seconds, 1'000'000'000LL, &ns)) return seconds < 0 ? kLeast : kMost;
    if (__builtin_add_overflow(ns, nanoseconds, &ns)) return nanoseconds < 0 ? kLeast : kMost;
    return ns;
}

long long ElapsedNs(long long from, long long to)
{
    long long d = 0;
    if (__builtin_sub_overflow(to, from, &d))
        return to < from ? std::numeric_limits<long long>::min() : std::numeric_limits<long long>::max();
    return d;
}

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
    result.year = std::stoi(y);
    // Two digits read as the system's short dates read them: 1950 to 2049.
    if (y.size() == 2) result.year += result.year >= 50 ? 1900 : 2000;
    if (result.year < 1 || result.month < 1 || result.month > 12 || result.day < 1 ||
        result.day > DaysIn(result.year, result.month))
        throw InvalidDate(text);
    return result;
}

}  // namespace ligamor
