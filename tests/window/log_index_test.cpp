// The log index that both windows' views draw from: what a fill and the
// appends after it show, and lines read back from the log file.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/text1252.h"
#include "runtime/text_file.h"
#include "support/temp_dir.h"
#include "window/log_index.h"

namespace ligamor {
namespace {

struct FillCase {
    const char* name;
    std::string whole;
    std::vector<std::string> appends;
    std::vector<std::string> lines;
};

std::vector<std::u16string> Decoded(const std::vector<std::string>& lines)
{
    std::vector<std::u16string> decoded;
    for (const std::string& line : lines) decoded.push_back(Utf16FromCp1252(line));
    return decoded;
}

// The index of the log at path, given its bytes in pieces of the given size
// as ReloadLogView gives them.
LogIndex Filled(const std::string& path, const std::string& bytes, std::size_t piece)
{
    test::WriteBytes(path, bytes);
    FileIdentity id;
    StatFile(path, id);
    LogFillState fill;
    fill.path = path;
    fill.device = id.device;
    fill.inode = id.inode;
    LogIndex index;
    index.SetWhole(fill, bytes.substr(0, piece));
    for (std::size_t at = piece; at < bytes.size(); at += piece) index.Append(bytes.substr(at, piece));
    return index;
}

TEST(LogIndex, FillsAndAppends)
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
        LogIndex lines;
        lines.SetWhole({}, c.whole);
        std::size_t size = c.whole.size();
        for (const std::string& tail : c.appends) {
            lines.Append(tail);
            size += tail.size();
        }
        EXPECT_EQ(lines.Shown(0, lines.Count() + 1), Decoded(c.lines)) << c.name;
        EXPECT_EQ(lines.Size(), size) << c.name;
    }
}

TEST(LogIndex, LongestLineFollowsAppendsAndRefills)
{
    LogIndex lines;
    lines.SetWhole({}, "short\r\nthe longest line\r\nmid\r\n");
    EXPECT_EQ(lines.Longest(), 1u);
    lines.Append("an even longer line than that\r\n");
    EXPECT_EQ(lines.Longest(), 3u);
    lines.SetWhole({}, "x\r\nyy");
    EXPECT_EQ(lines.Longest(), 1u);
    lines.Clear();
    EXPECT_EQ(lines.Count(), 1u);
    EXPECT_EQ(lines.Shown(0, 1), std::vector<std::u16string>{u""});
}

TEST(LogIndex, LinesBeyondWhatIsKeptAreReadBackFromTheLog)
{
    // Forty thousand lines of every length and line end, in pieces that
    // split CR LFs.
    std::string bytes;
    std::vector<std::string> expected;
    const char* ends[] = {"\r\n", "\n", "\r"};
    for (int i = 0; i < 40000; ++i) {
        expected.push_back("linha " + std::to_string(i) + std::string(static_cast<std::size_t>(i % 97), '\xC7'));
        bytes += expected.back() + ends[i % 7 == 0 ? 1 + i % 2 : 0];
    }
    expected.emplace_back();
    test::TempDir dir;
    const LogIndex index = Filled(dir / "log.txt", bytes, 65537);

    ASSERT_EQ(index.Count(), expected.size());
    for (std::size_t first : {0u, 63u, 64u, 1000u, 12345u, 39990u}) {
        const std::vector<std::string> want(expected.begin() + first,
                                            expected.begin() + std::min(first + 12, expected.size()));
        EXPECT_EQ(index.Shown(first, 12), Decoded(want)) << first;
    }
    std::u16string text;
    for (std::size_t i = 500; i <= 700; ++i) text += Utf16FromCp1252(expected[i]) + (i < 700 ? u"\n" : u"");
    EXPECT_EQ(index.Text(500, 700, u"\n"), text);
    std::size_t longest = 0;
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (expected[i].size() > expected[longest].size()) longest = i;
    EXPECT_EQ(index.Longest(), longest);

    // Once the file is another one, only what is kept still shows.
    std::remove((dir / "log.txt").c_str());
    test::WriteBytes(dir / "log.txt", "other\r\n");
    EXPECT_EQ(index.Shown(12345, 1), std::vector<std::u16string>{u""});
    EXPECT_EQ(index.Shown(39999, 1), Decoded({expected[39999]}));
}

TEST(LogIndex, ALongLineIsShownCutAndCopiedWhole)
{
    const std::string longLine(100000, '\0');
    std::string bytes = "before\r\n" + longLine + "\r\nafter\r\n";
    for (int i = 0; i < 2000; ++i) bytes += "a line that pushes the long one out of what is kept\r\n";
    bytes += std::string(20000, 'y');
    test::TempDir dir;
    const LogIndex index = Filled(dir / "log.txt", bytes, 1 << 20);

    const std::vector<std::u16string> shown = index.Shown(1, 2);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], std::u16string(LogIndex::kShownBytes, u'\0'));
    EXPECT_EQ(shown[1], u"after");
    EXPECT_EQ(index.Text(0, 2, u"|"), u"before|" + std::u16string(longLine.size(), u'\0') + u"|after");
    EXPECT_EQ(index.Longest(), 1u);
    EXPECT_EQ(index.Shown(index.Count() - 1, 1), std::vector<std::u16string>{std::u16string(LogIndex::kShownBytes, u'y')});
}

}  // namespace
}  // namespace ligamor
