// A date of an input line in the regional short date format: read only when
// it is a real calendar date in that order, the same as a simple model reads
// it, and a date read is read again the same from its own text.
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "runtime/clock.h"
#include "runtime/failures.h"

using namespace ligamor;

namespace {

std::optional<DateTime> Parse(const std::string& text, const RegionalSettings& regional)
{
    try {
        return ParseShortDate(text, regional);
    } catch (const ConversionFailure& f) {
        // Whole: a zero byte in the text does not end the message.
        const std::string message = "'" + text + "' is not a valid date";
        FUZZ_EXPECT(f.Message() == message);
        return std::nullopt;
    }
}

int Number(const std::string& digits)
{
    int value = 0;
    for (const char c : digits) value = value * 10 + (c - '0');
    return value;
}

// Three parts between separators, digits only: day and month of one or two,
// the year of four or two (1950-2049); then the calendar.
std::optional<DateTime> Model(const std::string& text, const RegionalSettings& regional)
{
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == regional.dateSeparator) parts.emplace_back();
        else if (c >= '0' && c <= '9') parts.back() += c;
        else return std::nullopt;
    }
    if (parts.size() != 3) return std::nullopt;
    const std::size_t d = regional.order == DateOrder::DayMonthYear   ? 0
                          : regional.order == DateOrder::MonthDayYear ? 1
                                                                      : 2;
    const std::size_t m = regional.order == DateOrder::MonthDayYear ? 0 : 1;
    const std::size_t y = regional.order == DateOrder::YearMonthDay ? 0 : 2;
    if (parts[d].empty() || parts[d].size() > 2 || parts[m].empty() || parts[m].size() > 2) return std::nullopt;
    if (parts[y].size() != 2 && parts[y].size() != 4) return std::nullopt;
    DateTime t;
    t.day = Number(parts[d]);
    t.month = Number(parts[m]);
    t.year = Number(parts[y]);
    if (parts[y].size() == 2) t.year += t.year >= 50 ? 1900 : 2000;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (t.year < 1 || t.month < 1 || t.month > 12 || t.day < 1) return std::nullopt;
    const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
    if (t.day > days[t.month - 1] + (t.month == 2 && leap ? 1 : 0)) return std::nullopt;
    return t;
}

bool Same(const DateTime& a, const DateTime& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    RegionalSettings regional;
    regional.order = static_cast<DateOrder>(data[0] % 3);
    regional.dateSeparator = static_cast<char>(data[1]);
    const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);

    const std::optional<DateTime> read = Parse(text, regional);
    const std::optional<DateTime> model = Model(text, regional);
    FUZZ_EXPECT(read.has_value() == model.has_value());
    if (!read) return 0;
    FUZZ_EXPECT(Same(*read, *model));
    if (regional.dateSeparator >= '0' && regional.dateSeparator <= '9') return 0;  // its digits would be separators
    const std::string day = FormatDate(*read, regional.dateSeparator);  // dd/mm/yyyy
    const std::string d = day.substr(0, 2), m = day.substr(3, 2), y = day.substr(6);
    const char s = regional.dateSeparator;
    const std::string again = regional.order == DateOrder::DayMonthYear   ? d + s + m + s + y
                              : regional.order == DateOrder::MonthDayYear ? m + s + d + s + y
                                                                          : y + s + m + s + d;
    const std::optional<DateTime> reread = Parse(again, regional);
    FUZZ_EXPECT(reread && Same(*reread, *read));
    return 0;
}
