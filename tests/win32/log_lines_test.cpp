// The Windows log view's lines: what a fill and the appends after it show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32/log_lines.h"

namespace ligamor {
namespace {

struct FillCase {
    const char* name;
    std::string whole;
    std::vector<std::string> appends;
    std::vector<std::string> lines;
};

std::vector<std::string> Shown(const LogLines& lines)
{
    std::vector<std::string> shown;
    for (std::size_t i = 0; i < lines.Count(); ++i) shown.emplace_back(lines.Line(i));
    return shown;
}

TEST(LogLines, FillsAndAppends)
{
    const std::vector<FillCase> cases = {
        {"empty log", "", {}, {""}},
        {"CR LF lines", "a\r\nbb\r\n", {}, {"a", "bb", ""}},
        {"LF and a lone CR end lines too", "a\nb\rc", {}, {"a", "b", "c"}},
        {"append continues the open line", "a\r\nb", {"c\r\nd\r\n"}, {"a", "bc", "d", ""}},
        {"CR LF split between two appends is one line end", "a\r", {"\nb\r\n"}, {"a", "b", ""}},
        {"CR then CR LF split is two line ends", "a\r\r", {"\nb"}, {"a", "", "b"}},
        {"Windows-1252 bytes kept", "INSER\xC7\xC3O\r\n", {"C\xD3" "DIGO"}, {"INSER\xC7\xC3O", "C\xD3" "DIGO"}},
        {"append to an empty view", "", {"x\r\n", "y"}, {"x", "y"}},
    };
    for (const FillCase& c : cases) {
        LogLines lines;
        lines.SetWhole(c.whole);
        for (const std::string& tail : c.appends) lines.Append(tail);
        EXPECT_EQ(Shown(lines), c.lines) << c.name;
        std::string all = c.whole;
        for (const std::string& tail : c.appends) all += tail;
        EXPECT_EQ(lines.Bytes(), all) << c.name;
    }
}

TEST(LogLines, LongestLineFollowsAppendsAndRefills)
{
    LogLines lines;
    lines.SetWhole("short\r\nthe longest line\r\nmid\r\n");
    EXPECT_EQ(lines.Longest(), 1u);
    lines.Append("an even longer line than that\r\n");
    EXPECT_EQ(lines.Longest(), 3u);
    lines.SetWhole("x\r\nyy");
    EXPECT_EQ(lines.Longest(), 1u);
    lines.Clear();
    EXPECT_EQ(lines.Count(), 1u);
    EXPECT_EQ(lines.Line(0), "");
}

}  // namespace
}  // namespace ligamor
