#include <gtest/gtest.h>

#include <cstdlib>

#include "runtime/clock.h"

namespace ligamor {
namespace {

TEST(Dates, ThePosixLocaleGivesTheBrazilianDefaults)
{
    setenv("LC_ALL", "C.UTF-8", 1);
    RegionalSettings r = PlatformRegionalSettings();
    EXPECT_EQ(r.order, DateOrder::DayMonthYear);
    EXPECT_EQ(r.dateSeparator, '/');
    EXPECT_EQ(r.timeSeparator, ':');
}

}  // namespace
}  // namespace ligamor
