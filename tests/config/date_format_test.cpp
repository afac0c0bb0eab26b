// FORMATO_DATA: the shop's date order and separators, recorded by whoever
// saves the settings and used by every face that reads them.
#include "config/date_format.h"

#include <gtest/gtest.h>

#include "config/settings.h"
#include "support/temp_dir.h"

namespace ligamor {
namespace {

constexpr auto dmy = DateOrder::DayMonthYear;
constexpr auto mdy = DateOrder::MonthDayYear;
constexpr auto ymd = DateOrder::YearMonthDay;

TEST(DateFormat, AValueNamesTheOrderAndSeparatorsOrNothing)
{
    struct Row {
        const char* value;
        bool read;
        DateOrder order = dmy;
        char dateSeparator = 0;
        char timeSeparator = 0;
    };
    const Row rows[] = {
        {"dd/mm/aaaa hh:mm:ss", true, dmy, '/', ':'},
        {"MM/dd/yyyy", true, mdy, '/', ':'},
        {"aaaa-mm-dd hh.mm", true, ymd, '-', '.'},
        {"  d.M.aa \t", true, dmy, '.', ':'},
        {"yyyy/MM/dd  HH:mm:ss ", true, ymd, '/', ':'},
        {"", false},
        {"dd/mm", false},
        {"dd/mm/aaaa/", false},
        {"dd/aaaa/mm", false},
        {"dd-mm/aaaa", false},
        {"dd//mm/aaaa", false},
        {"ddmmaaaa", false},
        {"dd mm aaaa", false},
        {"dd1mm1aaaa", false},
        {"dd/dd/aaaa", false},
        {"dd/mm/aaaa 12:00", false},
        {"dd/mm/aaaa hh:mm:ss:zz", false},
        {"dd/mm/aaaa mm:hh", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        const std::optional<RegionalSettings> r = ReadDateFormatValue(row.value);
        ASSERT_EQ(r.has_value(), row.read);
        if (!r) continue;
        EXPECT_EQ(r->order, row.order);
        EXPECT_EQ(r->dateSeparator, row.dateSeparator);
        EXPECT_EQ(r->timeSeparator, row.timeSeparator);
    }
    // What a save writes for a user of year-first dates with "-" and ".".
    EXPECT_EQ(DateFormatValue({ymd, '-', '.'}), "aaaa-mm-dd hh.mm.ss");
}

// The file's FORMATO_DATA wins over the account's regional settings; without
// one, or with one nobody can read, the account's stay, and the rule says so.
TEST(DateFormat, TheShopsRuleIsTheFilesWhenItHasAReadableOne)
{
    const RegionalSettings account{mdy, '-', '.'};
    struct Row {
        std::optional<std::string> value;
        DateRuleSource source;
        DateOrder order;
        char dateSeparator;
    };
    const Row rows[] = {
        {std::nullopt, DateRuleSource::Account, mdy, '-'},
        {"dd/mm/aaaa hh:mm:ss", DateRuleSource::SettingsFile, dmy, '/'},
        {"dia/mes/ano", DateRuleSource::Unreadable, mdy, '-'},
    };
    for (const Row& row : rows) {
        SystemSettings settings;
        settings.DateFormat = row.value;
        const DateRule rule = ShopDateRule(settings, account);
        EXPECT_EQ(rule.source, row.source);
        EXPECT_EQ(rule.regional.order, row.order);
        EXPECT_EQ(rule.regional.dateSeparator, row.dateSeparator);
    }
}

// Every save records the saver's date format where the old one stood; a later
// duplicate, which a reader would take instead, goes.
TEST(DateFormat, ASaveRecordsTheSaversFormatInPlaceOfTheFilesOwn)
{
    test::TempDir dir;
    const std::string file = SettingsFilePath(dir.Path());
    test::WriteBytes(file, "OUTRA=1\r\nFORMATO_DATA=dd/mm/aaaa\r\nRECUSADAS=SEPARAR\r\nFORMATO_DATA=x\r\n");
    SystemSettings s;
    LoadSettings(file, s);
    EXPECT_EQ(s.DateFormat, "x");
    SaveSettings(file, s, {mdy, '/', ':'});
    const std::string eight = "SERVIDOR=\r\nCAMINHO=\r\nUSUARIO=\r\nSENHA=\r\nDIRETORIO_ENVIO=\r\n"
                              "DIRETORIO_RESPOSTA=\r\nTEMPO_COMUNICACAO=\r\nDIRETORIO_LOG=\r\n";
    EXPECT_EQ(test::ReadBytes(file),
              eight + "OUTRA=1\r\nFORMATO_DATA=mm/dd/aaaa hh:mm:ss\r\nRECUSADAS=SEPARAR\r\n");
    LoadSettings(file, s);
    EXPECT_EQ(s.DateFormat, "mm/dd/aaaa hh:mm:ss");
    test::WriteBytes(file, eight);
    LoadSettings(file, s);
    EXPECT_FALSE(s.DateFormat);
}

}  // namespace
}  // namespace ligamor
