#include <gtest/gtest.h>

#include "engine/log_text.h"
#include "engine/record_line.h"
#include "support/recording_seams.h"

namespace ligamor {
namespace {

using Fields = std::vector<std::string>;

TEST(SplitRecordLine, ThreeFields)
{
    auto r = SplitRecordLine("I#10#20", 3);
    EXPECT_EQ(r.operation, "I");
    EXPECT_EQ(r.fields, (Fields{"10", "", "20"}));

    r = SplitRecordLine("10#20#30", 3);
    EXPECT_EQ(r.operation, "I");
    EXPECT_EQ(r.fields, (Fields{"10", "20", "30"}));

    r = SplitRecordLine("U#10#20#30#", 3);
    EXPECT_EQ(r.operation, "U");
    EXPECT_EQ(r.fields, (Fields{"10", "20", "30"}));

    r = SplitRecordLine("U#10#20#30#40#50", 3);
    EXPECT_EQ(r.operation, "U");
    EXPECT_EQ(r.fields, (Fields{"10", "20", "30"}));

    r = SplitRecordLine("", 3);
    EXPECT_EQ(r.operation, "I");
    EXPECT_EQ(r.fields, (Fields{"", "", ""}));
}

TEST(SplitRecordLine, FourFieldsPutsTheLastTextIntoTheLastField)
{
    auto r = SplitRecordLine("I#10#20", 4);
    EXPECT_EQ(r.operation, "I");
    EXPECT_EQ(r.fields, (Fields{"10", "", "", "20"}));
}

TEST(SplitRecordLine, OperationField)
{
    auto r = SplitRecordLine("i#10#20", 3);
    EXPECT_EQ(r.operation, "I");
    EXPECT_EQ(r.fields, (Fields{"i", "10", "20"}));

    r = SplitRecordLine("U", 3);
    EXPECT_EQ(r.operation, "");
    EXPECT_EQ(r.fields, (Fields{"", "", "U"}));

    r = SplitRecordLine("UX#1#2#3", 3);
    EXPECT_EQ(r.operation, "UX");
    EXPECT_EQ(r.fields, (Fields{"1", "2", "3"}));

    r = SplitRecordLine("I # a # b ", 3);
    EXPECT_EQ(r.operation, "I ");
    EXPECT_EQ(r.fields, (Fields{" a ", "", " b "}));
}

TEST(CommaToPoint, OnlyTheFirstComma)
{
    EXPECT_EQ(CommaToPoint("0,5"), "0.5");
    EXPECT_EQ(CommaToPoint("12,50"), "12.50");
    EXPECT_EQ(CommaToPoint("1.234,56"), "1.234.56");
    EXPECT_EQ(CommaToPoint("1,2,3"), "1.2,3");
    EXPECT_EQ(CommaToPoint("7"), "7");
    EXPECT_EQ(CommaToPoint(""), "");
}

TEST(LogText, TitlesAreWindows1252Bytes)
{
    using K = RecordKindId;
    using O = LogOperation;
    EXPECT_EQ(LogTitle(K::Produto, O::Insert), " INSER\xC7\xC3O - PRODUTO -  Data: ");
    EXPECT_EQ(LogTitle(K::Produto, O::Update), " ATUALIZA\xC7\xC3O - PRODUTO  Data: ");
    EXPECT_EQ(LogTitle(K::Cliente, O::Insert), " INSER\xC7\xC3O - CLIENTE -  Data: ");
    EXPECT_EQ(LogTitle(K::Cliente, O::Update), " ATUALIZA\xC7\xC3O - CLIENTE -  Data: ");
    EXPECT_EQ(LogTitle(K::PreVenda, O::Insert), "INSER\xC7\xC3O - PRE-VENDA / DAV -  Data: ");
    EXPECT_EQ(LogTitle(K::PreVenda, O::Update), "ATUALIZA\xC7\xC3O - PRE-VENDA / DAV -  Data: ");
    EXPECT_EQ(LogTitle(K::ItemPreVenda, O::Insert), "INSER\xC7\xC3O - ITEM DO PRE-VENDA / DAV -  Data: ");
    EXPECT_EQ(LogTitle(K::ItemPreVenda, O::Update), "ATUALIZA\xC7\xC3O - ITEM DO PRE-VENDA / DAV -  Data: ");
}

TEST(LogText, DateTimeGapAndValues)
{
    test::FixedClock clock({2027, 2, 1, 9, 5, 7});
    const std::string title = LogTitle(RecordKindId::Cliente, LogOperation::Insert);
    EXPECT_EQ(ComposeLogText(title, clock, RegionalSettings{}, "25 | X"),
              title + "01/02/2027 Hora: 09:05:07       25 | X");
    RegionalSettings dotted{DateOrder::DayMonthYear, '.', '.'};
    EXPECT_EQ(ComposeLogText("T", clock, dotted, ""), "T01.02.2027 Hora: 09.05.07       ");
}

}  // namespace
}  // namespace ligamor
