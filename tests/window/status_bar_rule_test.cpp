// How both windows share the status bar between the banner, the health and a
// cycle's progress.
#include <gtest/gtest.h>

#include "window/status_bar_rule.h"

namespace ligamor {
namespace {

struct Sharing {
    const char* name;
    StatusBarNeeds needs;
    StatusBarShares parts;
    friend void PrintTo(const Sharing& row, std::ostream* out) { *out << row.name; }
};

const Sharing kSharing[] = {
    {"BetweenCyclesEachTextWhole", {581, 250, 270, 0}, {{0, 311, false}, {311, 270, false}, {581, 0, false}}},
    {"BetweenCyclesALongFailureHidesTheBanner", {581, 250, 900, 0}, {{0, 0, true}, {0, 581, true}, {581, 0, false}}},
    // The window at its size during a long cycle, its health "normal".
    {"DuringACycleTheBannerYieldsFirst", {581, 250, 270, 190}, {{0, 51, true}, {51, 270, false}, {321, 260, false}}},
    {"TheHealthIsShortenedBeforeTheProgress", {581, 250, 900, 190}, {{0, 0, true}, {0, 391, true}, {391, 190, false}}},
    {"AProgressWiderThanTheBarKeepsItsText", {581, 250, 100, 300}, {{0, 181, true}, {181, 100, false}, {281, 300, false}}},
    {"WhoIntegratesKeepsTwoFifthsBeforeALongHealth", {581, 400, 900, 0, true},
     {{0, 232, true}, {232, 349, true}, {581, 0, false}}},
    {"TheProgressIsCutOnlyWhereNothingElseIsLeft", {150, 250, 270, 190}, {{0, 0, true}, {0, 0, true}, {0, 150, true}}},
};

class StatusBarSharing : public ::testing::TestWithParam<Sharing> {};

TEST_P(StatusBarSharing, TheProgressFirstThenTheHealthThenTheBanner)
{
    EXPECT_EQ(ShareStatusBar(GetParam().needs), GetParam().parts);
}

INSTANTIATE_TEST_SUITE_P(Rule, StatusBarSharing, ::testing::ValuesIn(kSharing),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ligamor
