#include <gtest/gtest.h>

#include <array>

#include "runtime/clock.h"
#include "runtime/failures.h"

namespace ligamor {
namespace {

TEST(Dates, FormatWithTheGivenSeparators)
{
    DateTime t{2027, 2, 1, 9, 5, 7};
    EXPECT_EQ(FormatDate(t, '/'), "01/02/2027");
    EXPECT_EQ(FormatDate(t, '.'), "01.02.2027");
    EXPECT_EQ(FormatTime(t, ':'), "09:05:07");
    EXPECT_EQ(FormatDateMonthFirst(t, '/'), "02/01/2027");
}

TEST(Dates, ShortDatesFollowTheRegionalOrderAndSeparator)
{
    RegionalSettings br;
    DateTime d = ParseShortDate("5/3/2024", br);
    EXPECT_EQ((std::array{d.year, d.month, d.day}), (std::array{2024, 3, 5}));
    d = ParseShortDate("05/03/24", br);
    EXPECT_EQ((std::array{d.year, d.month, d.day}), (std::array{2024, 3, 5}));
    EXPECT_EQ(ParseShortDate("05/12/99", br).year, 1999);
    EXPECT_EQ(ParseShortDate("05/12/49", br).year, 2049);
    EXPECT_EQ(ParseShortDate("05/12/50", br).year, 1950);

    RegionalSettings de{DateOrder::DayMonthYear, '.', ':'};
    d = ParseShortDate("05.03.2024", de);
    EXPECT_EQ((std::array{d.year, d.month, d.day}), (std::array{2024, 3, 5}));

    RegionalSettings us{DateOrder::MonthDayYear, '/', ':'};
    d = ParseShortDate("03/05/2024", us);
    EXPECT_EQ((std::array{d.year, d.month, d.day}), (std::array{2024, 3, 5}));

    RegionalSettings iso{DateOrder::YearMonthDay, '-', ':'};
    d = ParseShortDate("2024-03-05", iso);
    EXPECT_EQ((std::array{d.year, d.month, d.day}), (std::array{2024, 3, 5}));
}

TEST(Dates, WhatIsNoCalendarDateIsRefused)
{
    RegionalSettings br;
    for (const char* bad : {"31/02/2024", "29/02/2023", "00/01/2024", "01/13/2024", "1/1/202", "", "01/01",
                            "01-01-2024", "01/01/2024 ", "a1/01/2024", "001/01/2024"}) {
        try {
            ParseShortDate(bad, br);
            ADD_FAILURE() << bad;
        } catch (const ConversionFailure& f) {
            EXPECT_EQ(std::string(f.what()), "'" + std::string(bad) + "' is not a valid date");
        }
    }
    DateTime leap = ParseShortDate("29/02/2024", br);
    EXPECT_EQ(leap.day, 29);
}

}  // namespace
}  // namespace ligamor
