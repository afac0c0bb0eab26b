#pragma once
// The clock seam and the regional settings that format and read dates.
#include <string>

namespace ligamor {

struct DateTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // One reading gives date and time together, so that a text never pairs
    // one day's date with the next day's time.
    virtual DateTime Now() const = 0;
};

class SystemClock : public Clock {
public:
    DateTime Now() const override;
};

// Nanoseconds since 1970 on the wall clock, the scale of file times.
long long WallClockNs();

// Seconds and nanoseconds since 1970 on that scale. 64 bits of nanoseconds
// reach from 1677 to 2262; a time outside (a file dated 2300, as a file system
// allows) is held at the nearest end instead of overflowing.
long long NsSince1970(long long seconds, long long nanoseconds);

// to - from, held at the ends of 64 bits.
long long ElapsedNs(long long from, long long to);

enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

struct RegionalSettings {
    DateOrder order = DateOrder::DayMonthYear;
    char dateSeparator = '/';
    char timeSeparator = ':';
};

// The system's date order and separators: on Linux LC_TIME's, where the
// C/POSIX locale counts as none and gives the Brazilian dd/mm/yyyy, "/" and
// ":"; on Windows the user's regional settings.
RegionalSettings PlatformRegionalSettings();

// "dd/mm/yyyy" with the regional date separator.
std::string FormatDate(const DateTime& t, char dateSeparator);
// "hh:mm:ss" with the regional time separator.
std::string FormatTime(const DateTime& t, char timeSeparator);
// "mm/dd/yyyy" with the given separator (statements use "/").
std::string FormatDateMonthFirst(const DateTime& t, char dateSeparator);

// Reads a date in the regional short date format: its order and separator,
// one or two digits for day and month, four digits for the year or two read
// in the window 1950-2049 ("99" is 1999, "25" 2025). Anything else, or no real calendar date, raises InvalidDate.
DateTime ParseShortDate(const std::string& text, const RegionalSettings& regional);

}  // namespace ligamor
