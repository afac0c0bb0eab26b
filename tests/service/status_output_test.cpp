// What a monitoring agent parses: --status --json is valid JSON and the
// one-line status is one line of UTF-8, whatever bytes a failure's text or a
// path holds (a Windows-1252 file name, a control character, CR LF).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <random>

#include "engine/health.h"
#include "runtime/text1252.h"

namespace ligamor::test {
namespace {

std::string AnyBytes(std::mt19937& random)
{
    std::uniform_int_distribution<int> length(0, 40), byte(0, 255), pick(0, 3);
    std::string text;
    for (int n = length(random); n > 0; --n) {
        switch (pick(random)) {
        case 0: text += "\r\n"; break;
        case 1: text += "ção"; break;  // well-formed UTF-8 must stay as it is
        default: text += static_cast<char>(byte(random)); break;
        }
    }
    return text;
}

void ExpectOneUtf8Line(const std::string& line)
{
    EXPECT_EQ(Utf8Repaired(line), line);
    for (const char c : line) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << line;
    // Nor a C1 control, U+0080 to U+009F.
    for (std::size_t i = 0; i + 1 < line.size(); ++i)
        EXPECT_FALSE(line[i] == '\xC2' && static_cast<unsigned char>(line[i + 1]) < 0xA0) << line;
}

TEST(StatusOutput, AnyFailureTextAndAnyPathGiveValidJsonAndOneLine)
{
    std::mt19937 random(20261207);
    for (int i = 0; i < 3000; ++i) {
        HealthFacts facts;
        facts.polling = i % 3 != 0;
        facts.intervalMs = i * 7;
        facts.failure = i % 2 ? AnyBytes(random) : "";
        facts.setAsideLines = i % 5 == 0;
        facts.oldestSetAside = AnyBytes(random);
        facts.holder = static_cast<HolderKind>(i % 4);
        facts.holderUser = AnyBytes(random);
        facts.pausedBy = AnyBytes(random);
        facts.progressFile = i % 2 ? AnyBytes(random) : "";
        const WaitingFile oldest{AnyBytes(random), 1};
        const Health health = WorkOutHealth(facts, oldest, 3'000'000'000'000);
        const std::string line = HealthLine(health);
        ExpectOneUtf8Line(line);

        const nlohmann::json status = nlohmann::json::parse(HealthJson(health));
        EXPECT_EQ(status["linha"], line);
        EXPECT_EQ(status["codigo"], HealthExitCode(health.state));
        EXPECT_EQ(status["estado"], HealthWord(health.state));
        EXPECT_EQ(status["integrador"].is_null(), facts.holder == HolderKind::Unknown);

        const std::string none = "Nenhuma integração em execução no diretório de envio " + AnyBytes(random) + ".";
        const nlohmann::json without = nlohmann::json::parse(StatusWithoutHealthJson("nenhuma", 2, none));
        EXPECT_EQ(without["linha"], OneUtf8Line(none));
        ExpectOneUtf8Line(OneUtf8Line(none));
    }
}

TEST(StatusOutput, TextsKeepWhatIsReadable)
{
    // A path kept in Windows-1252 shows as typed; UTF-8 stays; line ends are blanks.
    EXPECT_EQ(OneUtf8Line("C:\\LOJA\\A\xC7\xC3O\\\r\nENVIO\x01"), "C:\\LOJA\\AÇÃO\\ ENVIO");
    EXPECT_EQ(OneUtf8Line("ação"), "ação");
    // NEL and the other C1 controls are blanks too; a no-break space stays.
    EXPECT_EQ(OneUtf8Line("A\xC2\x85" "B\xC2\x9F" "C\xC2\xA0" "D\xC2\x80"), "A B C\xC2\xA0" "D");
    EXPECT_EQ(Utf8Repaired("\xED\xA0\x80"), "í\xC2\xA0\xE2\x82\xAC");  // a surrogate is no UTF-8
}

TEST(StatusOutput, IntervalsAsAPersonReadsThem)
{
    const std::vector<std::pair<long long, std::string>> rows = {
        {0, "0 s"},          {500, "0,5 s"},  {250, "0,25 s"},   {1, "0,001 s"},        {5000, "5 s"},
        {1500, "1,5 s"},     {60000, "1 min"}, {90000, "1 min 30 s"}, {3'600'000, "1 h"}, {5'430'500, "1 h 30 min 30,5 s"},
    };
    for (const auto& [ms, text] : rows) EXPECT_EQ(IntervalText(ms), text) << ms;
}

}  // namespace
}  // namespace ligamor::test
