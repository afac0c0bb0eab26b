#include <gtest/gtest.h>

#include <windows.h>

#include "runtime/clock_windows.h"

namespace ligamor {
namespace {

struct LocaleRow {
    const wchar_t* name;
    DateOrder order;
    char dateSeparator;
    char timeSeparator;
};

TEST(WindowsRegionalSettings, ReadFromTheWindowsLocale)
{
    const LocaleRow rows[] = {
        {L"pt-BR", DateOrder::DayMonthYear, '/', ':'},
        {L"en-US", DateOrder::MonthDayYear, '/', ':'},
        {L"de-DE", DateOrder::DayMonthYear, '.', ':'},
        {L"ja-JP", DateOrder::YearMonthDay, '/', ':'},
    };
    for (const LocaleRow& row : rows) {
        SCOPED_TRACE(testing::Message() << static_cast<const void*>(row.name));
        const RegionalSettings r = RegionalSettingsOfLocale(row.name);
        EXPECT_EQ(r.order, row.order);
        EXPECT_EQ(r.dateSeparator, row.dateSeparator);
        EXPECT_EQ(r.timeSeparator, row.timeSeparator);
    }
}

TEST(WindowsRegionalSettings, TheUsersSettingsAreThoseOfTheUsersLocale)
{
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    ASSERT_GT(GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH), 0);
    const RegionalSettings user = PlatformRegionalSettings();
    const RegionalSettings named = RegionalSettingsOfLocale(name);
    EXPECT_EQ(user.order, named.order);
    EXPECT_EQ(user.dateSeparator, named.dateSeparator);
    EXPECT_EQ(user.timeSeparator, named.timeSeparator);
}

}  // namespace
}  // namespace ligamor
