// The folder of refused lines after a technician's edits: each line keeps the
// reason of its own text, whatever was added, deleted, moved or fixed around it.
#include <gtest/gtest.h>

#include <functional>

#include "engine/line_keys.h"
#include "engine/refused_files.h"
#include "runtime/text1252.h"
#include "support/temp_dir.h"

namespace ligamor {
namespace {

const std::string kA = "I#25#MERCADO A";
const std::string kB = "I#26#PADARIA \xC7\xC3O";  // Windows-1252, as the point of sale writes it
const std::string kC = "I#27#BAR C";

std::vector<RefusedLine> Saved()
{
    return {{kA, "CLIENTE_06122026_143701.TXT", 1, "06/12/2026 14:37:01", "motivo a"},
            {kB, "CLIENTE_06122026_143701.TXT", 2, "06/12/2026 14:37:01", "motivo b: padrões"},
            {kC, "CLIENTE_07122026_090000.TXT", 3, "07/12/2026 09:00:00", "motivo c"}};
}

// "text|number|reason" of each line, as the next cycle sees them.
std::vector<std::string> Described(const std::vector<RefusedLine>& lines)
{
    std::vector<std::string> out;
    for (const RefusedLine& l : lines) out.push_back(l.bytes + "|" + std::to_string(l.lineNumber) + "|" + l.reason);
    return out;
}

std::string Replaced(std::string text, const std::string& what, const std::string& by)
{
    for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += by.size())
        text.replace(at, what.size(), by);
    return text;
}

TEST(RefusedFiles, EachLineKeepsItsReasonAfterATechniciansEdits)
{
    const std::string a = kA + "|1|motivo a", b = kB + "|2|motivo b: padrões", c = kC + "|3|motivo c";
    const auto none = [](const std::string& text) { return text + "|0|"; };
    const auto same = [](const std::string& reasons) { return reasons; };
    struct Row {
        const char* what;
        std::string lines;
        std::function<std::string(const std::string&)> reasons;  // from the reasons file as saved
        std::vector<std::string> seen;
    };
    const std::string fixedB = "I#26#PADARIA LTDA";
    const std::vector<Row> rows = {
        {"untouched", kA + "\r\n" + kB + "\r\n" + kC + "\r\n", same, {a, b, c}},
        {"a line added at the top", "I#28#NOVO\r\n" + kA + "\r\n" + kB + "\r\n" + kC + "\r\n", same,
         {none("I#28#NOVO"), a, b, c}},
        {"a line added at the end", kA + "\r\n" + kB + "\r\n" + kC + "\r\nI#28#NOVO\r\n", same,
         {a, b, c, none("I#28#NOVO")}},
        {"lines reordered", kC + "\r\n" + kA + "\r\n" + kB + "\r\n", same, {c, a, b}},
        {"a line deleted", kA + "\r\n" + kC + "\r\n", same, {a, c}},
        {"a line duplicated", kA + "\r\n" + kA + "\r\n" + kB + "\r\n" + kC + "\r\n", same, {a, none(kA), b, c}},
        {"a line fixed in place", kA + "\r\n" + fixedB + "\r\n" + kC + "\r\n", same,
         {a, fixedB + "|2|motivo b: padrões", c}},
        {"a line fixed and another deleted", kA + "\r\n" + fixedB + "\r\n", same, {a, none(fixedB)}},
        {"line ends LF, CR LF, and none at the end", kA + "\n" + kB + "\r\n" + kC, same, {a, b, c}},
        {"the reasons with LF alone", kA + "\r\n" + kB + "\r\n" + kC + "\r\n",
         [](const std::string& r) { return Replaced(r, "\r\n", "\n"); }, {a, b, c}},
        {"the reasons saved again in UTF-8 by an editor", kA + "\r\n" + kB + "\r\n" + kC + "\r\n",
         [](const std::string& r) { return "\xEF\xBB\xBF" + Utf8FromCp1252(r); },
         {a, kB + "|2|motivo b: padrÃµes", c}},
        {"the reasons deleted", kA + "\r\n" + kB + "\r\n", [](const std::string&) { return ""; },
         {none(kA), none(kB)}},
        {"an entry's header spoiled", kA + "\r\n" + kB + "\r\n" + kC + "\r\n",
         [](const std::string& r) { return Replaced(r, "Linha 2 ", "Linha dois "); }, {a, none(kB), c}},
        {"an entry's line moved to the next entry", kA + "\r\n" + kC + "\r\n",
         [&](const std::string& r) { return Replaced(r, "\r\n    " + kA + "\r\n", "\r\n"); }, {none(kA), c}},
        {"everything deleted", "", same, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const test::TempDir dir;
        SaveRefusedLines(dir.Path(), "CLIENTE.TXT", Saved());
        const std::string reasons = test::ReadBytes(dir / "CLIENTE_MOTIVOS.TXT");
        test::WriteBytes(dir / "CLIENTE.TXT", row.lines);
        test::WriteBytes(dir / "CLIENTE_MOTIVOS.TXT", row.reasons(reasons));
        EXPECT_EQ(Described(LoadRefusedLines(dir.Path(), "CLIENTE.TXT")), row.seen);
    }
}

// Equal lines keep their entries in order; the first of them goes first.
TEST(RefusedFiles, EqualLinesAreToldApartByTheirPlace)
{
    const test::TempDir dir;
    std::vector<RefusedLine> saved = Saved();
    saved[1].bytes = kA;
    SaveRefusedLines(dir.Path(), "CLIENTE.TXT", saved);
    EXPECT_EQ(Described(LoadRefusedLines(dir.Path(), "CLIENTE.TXT")),
              (std::vector<std::string>{kA + "|1|motivo a", kA + "|2|motivo b: padrões", kC + "|3|motivo c"}));
    test::WriteBytes(dir / "CLIENTE.TXT", kC + "\r\n" + kA + "\r\n");
    EXPECT_EQ(Described(LoadRefusedLines(dir.Path(), "CLIENTE.TXT")),
              (std::vector<std::string>{kC + "|3|motivo c", kA + "|1|motivo a"}));
}

// A code with an accent reads in the reasons as the point of sale wrote it.
TEST(RefusedFiles, AReasonNamingACodeKeepsItsAccents)
{
    const test::TempDir dir;
    const std::string item = "I#70#1#CAF\xC9#1#1#1";
    const std::string reason = WaitingFor(KeysOfLine(3, item).needs.at(1));
    EXPECT_EQ(reason, "aguardando o produto CAFÉ");
    SaveRefusedLines(dir.Path(), "ITEMPREVENDA.TXT",
                     {{item, "ITEMPREVENDA07122026_090000.TXT", 1, "07/12/2026 09:00:00", reason}});
    EXPECT_NE(test::ReadBytes(dir / "ITEMPREVENDA_MOTIVOS.TXT").find(Cp1252(": aguardando o produto CAFÉ\r\n")),
              std::string::npos);
    EXPECT_EQ(LoadRefusedLines(dir.Path(), "ITEMPREVENDA.TXT").at(0).reason, reason);
}

}  // namespace
}  // namespace ligamor
