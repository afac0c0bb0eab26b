// A file's lines run a block at a time in its transaction: what the shop gets
// is what the same files give line by line, whatever a block holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/integration_log.h"
#include "engine/integration_parts.h"
#include "engine/refused_files.h"
#include "engine/untfuncoes.h"
#include "support/recording_seams.h"
#include "support/shop_folders.h"
#include "support/shop_run.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

namespace ligamor::test {
namespace {

std::string Lines(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& line : lines) out += line + "\r\n";
    return out;
}

std::string Product(int code, const std::string& quantity = "10,5", const std::string& name = "")
{
    const std::string k = std::to_string(code);
    return "I#" + k + "#" + (name.empty() ? "PRODUTO " + k : name) + "#T1#" + quantity + "#UN#8,20#12,90";
}

// Twelve products, in blocks of four, one of them refused: by the database
// (a name too long for its column) or before its statement (no number).
std::string ProductsRefusedAt(std::initializer_list<int> refused, bool byTheDatabase)
{
    std::vector<std::string> lines;
    for (int code = 1; code <= 12; ++code) {
        const bool bad = std::find(refused.begin(), refused.end(), code) != refused.end();
        if (!bad) lines.push_back(Product(code));
        else if (byTheDatabase) lines.push_back(Product(code, "1", std::string(101, 'A')));
        else lines.push_back(Product(code, "X"));
    }
    return Lines(lines);
}

const Files kMixed = {
    {"CLIENTE.TXT",
     Lines({"I#25#MERCADO A#MERCADO A#RUA A#CP#CENTRO#CAMPINAS#SP#13000000#19#20#RG1#12345678901#0",
            "U#25#MERCADO B#MERCADO B#RUA B#CP#CENTRO#CAMPINAS#SP#13000000#19#20#RG1#12345678901#0",
            "I#26#BAR C#BAR C#RUA C#CP#VILA#CAMPINAS#SP##1###12345678000199#0",
            "I#025#MERCADO C#MERCADO C#RUA A#CP#CENTRO#CAMPINAS#SP#13000000#19#20#RG1#12345678901#0"})},
    {"PRODUTO.TXT", Lines({Product(1), Product(2), "U#1#ARROZ#3#3#0#1#2", "I#3#FEIJAO#T1#3#CX#1#2",
                           "I#4#MILHO#T1#3#CX#1#2", "I#002#SOJA#T1#1#UN#1#2", Product(5)})},
    {"PREVENDA.TXT", Lines({"I#70#55##25#05/03/2026#10/03/2026#350,75", "I#71##9#26#05/03/2026#10/03/2026#10,5",
                            "I#70#56##25#05/03/2026#10/03/2026#1,75"})},
    {"ITEMPREVENDA.TXT", Lines({"I#70#1#1#2,5#4,10#10,25", "I#70#2#2#1#4,10#4,10", "I#71#1#3#1#4,10#4,10",
                                "I#70#1#1#9#9,10#9,10", "I#71#2#5#1#4,10#4,10"})},
};

struct Row {
    const char* name;
    Files files;
    RefusedLinesMode refused;
    std::size_t linesPerBlock;
    bool fileStops;  // a refused line stops the file (RECUSADAS=PARAR)
    const char* schema = "";  // added to each shop's database before its cycles
};

// DETALHE numbered by a generator in a trigger, and one name refused by
// another: what runs twice shows in the numbers.
constexpr const char* kNumberedProducts =
    "ALTER TABLE DETALHE ADD NUREGISTRO INTEGER;"
    "CREATE GENERATOR G_REGISTRO;"
    "CREATE EXCEPTION E_PROIBIDO 'produto proibido';"
    "SET TERM ^;"
    "CREATE TRIGGER T_NUMERO FOR DETALHE BEFORE INSERT POSITION 0 AS BEGIN NEW.NUREGISTRO = GEN_ID(G_REGISTRO, 1); END^"
    "CREATE TRIGGER T_PROIBIDO FOR DETALHE BEFORE INSERT POSITION 1 AS BEGIN "
    "IF (NEW.NMDETALHE = 'PROIBIDO') THEN EXCEPTION E_PROIBIDO; END^"
    "SET TERM ;^"
    "COMMIT;";

// A shop whose database holds more than the shop's codes.
std::unique_ptr<Shop> ShopWith(const char* schema, TransactionMode mode, RefusedLinesMode refused,
                               std::size_t linesPerBlock)
{
    auto shop = std::make_unique<Shop>(mode, refused, linesPerBlock);
    if (*schema == '\0') return shop;
    shop->parts.dtmain.conmain.Disconnect();
    RunIsql(shop->database, schema);
    ConnectDatabase(shop->parts.dtmain, shop->database, "SYSDBA", "masterkey");
    return shop;
}

class PackedLines : public ::testing::TestWithParam<Row> {};

// Against the same files line by line, and in one transaction line after line.
TEST_P(PackedLines, GiveWhatEachLineAloneGives)
{
    const Row& row = GetParam();
    const Outcome packed = ShopWith(row.schema, TransactionMode::Arquivo, row.refused, row.linesPerBlock)->Run(row.files);
    const Outcome alone = ShopWith(row.schema, TransactionMode::Arquivo, row.refused, 0)->Run(row.files);
    const Outcome perLine = ShopWith(row.schema, TransactionMode::Linha, row.refused, row.linesPerBlock)->Run(row.files);

    EXPECT_EQ(packed.rows, alone.rows);
    EXPECT_EQ(packed.log, alone.log);
    EXPECT_EQ(packed.sent, alone.sent);
    EXPECT_EQ(packed.moved, alone.moved);
    EXPECT_EQ(packed.refused, alone.refused);
    EXPECT_EQ(packed.boxes, perLine.boxes);
    EXPECT_EQ(packed.boxes, alone.boxes);
    if (row.fileStops) {
        // Nothing of the file stays, and it waits in the send directory.
        EXPECT_EQ(packed.rows.find("PRODUTO 1 "), std::string::npos) << packed.rows;
        EXPECT_EQ(packed.sent, std::set<std::string>{"PRODUTO.TXT"});
        EXPECT_FALSE(packed.boxes.empty());
        return;
    }
    EXPECT_EQ(packed.rows, perLine.rows);
    EXPECT_EQ(packed.log, perLine.log);
    EXPECT_EQ(packed.moved, perLine.moved);
    EXPECT_EQ(packed.refused, perLine.refused);
}

const Row kRows[] = {
    {"MixedFilesInOneBlock", kMixed, RefusedLinesMode::Parar, 100, false},
    {"MixedFilesInBlocksOfTwo", kMixed, RefusedLinesMode::Separar, 2, false},
    {"RefusedByTheDatabaseFirstInItsBlock", {{"PRODUTO.TXT", ProductsRefusedAt({5}, true)}},
     RefusedLinesMode::Parar, 4, true},
    {"RefusedBeforeItsStatementInTheMiddle", {{"PRODUTO.TXT", ProductsRefusedAt({6}, false)}},
     RefusedLinesMode::Parar, 4, true},
    {"RefusedByTheDatabaseLastInItsBlock", {{"PRODUTO.TXT", ProductsRefusedAt({8}, true)}},
     RefusedLinesMode::Parar, 4, true},
    {"SetAsideFirstMiddleAndLast", {{"PRODUTO.TXT", ProductsRefusedAt({1, 6, 12}, true)}},
     RefusedLinesMode::Separar, 4, false},
    {"SetAsideBeforeTheirStatements", {{"PRODUTO.TXT", ProductsRefusedAt({4, 5, 10}, false)}},
     RefusedLinesMode::Separar, 4, false},
    {"StoredProductsFarApart",
     {{"PRODUTO.TXT", Lines({Product(500), Product(9001)})},
      {"PRODUTO.TXT", Lines({Product(7), Product(500, "2"), Product(20000), "I#9001#OUTRO#T1#1#UN#1#2", Product(9003)})}},
     RefusedLinesMode::Parar, 50, false},
    {"AUnitCreatedByASetAsideLine",
     {{"PRODUTO.TXT", Lines({"I#1#" + std::string(101, 'A') + "#T1#1#CX#1#2", "I#2#MILHO#T1#3#CX#1#2"})}},
     RefusedLinesMode::Separar, 50, false},
    {"SetAsideItemsHoldBackTheirPreSale",
     {{"PREVENDA.TXT", Lines({"I#70#55##25#05/03/2026#10/03/2026#350,75", "I#71##9#26#05/03/2026#10/03/2026#1"})},
      {"PRODUTO.TXT", Lines({Product(1), Product(2)})},
      {"ITEMPREVENDA.TXT", Lines({"I#70#1#1#2,5#4,10#10,25", "I#70#2#2#X#4,10#4,10", "I#70#3#1#1#4,10#4,10",
                                  "I#71#1#9999#1#4,10#4,10", "I#71#2#2#1#4,10#4,10"})}},
     RefusedLinesMode::Separar, 100, false},
    // A stored record named with more digits than the database reads in a
    // literal: per line its statement is refused, so it may not be answered
    // as the stored record in the block.
    {"AKeyTheDatabaseReadsOtherwiseRunsAlone",
     {{"PRODUTO.TXT", Lines({Product(1001)})},
      {"PREVENDA.TXT", Lines({"I#3##9#1#05/12/2026#10/12/2026#1"})},
      {"ITEMPREVENDA.TXT", Lines({"I#3#1#1001#1#1#1"})},
      {"PREVENDA.TXT", Lines({"I#3.0000000000000000000##9#1#05/12/2026#10/12/2026#1", "I#4##9#1#05/12/2026#10/12/2026#1"})},
      {"ITEMPREVENDA.TXT", Lines({"I#3#1.0000000000000000000#1001#1#1#1", "I#3#2#1001#1#1#1"})}},
     RefusedLinesMode::Separar, 50, false},
    // The unit a refused line created stays, as its own commit keeps it per
    // line: the next new unit takes the code after it.
    {"AUnitCreatedByARefusedLineStays",
     {{"PRODUTO.TXT", Lines({Product(1001), "I#1101#X#T1#1#NOVA#1,2,3#2", "I#1102#FEIJAO#T1#1#OUTRA#1#2",
                             "U#1001#ARROZ#1#1#2#1#2", "I#1103#" + std::string(101, 'B') + "#T1#1#MAIS#1#2",
                             "I#1104#MILHO#T1#1#MAIS#1#2"})}},
     RefusedLinesMode::Separar, 50, false},
    // A statement refused in a block runs once: a generator in a trigger
    // numbers the rows after it as per line.
    {"ARefusedStatementRunsOnce",
     {{"PRODUTO.TXT", Lines({Product(4000), "I#4001#PROIBIDO#T1#1#UN#1#2", "I#4002#ARROZ#T1#1#UN#1#2",
                             "I#4003#PROIBIDO#T1#1#UN#1#2", "I#4004#PROIBIDO#T1#1#UN#1#2", Product(4005)})}},
     RefusedLinesMode::Separar, 50, false, kNumberedProducts},
};

INSTANTIATE_TEST_SUITE_P(Files, PackedLines, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ligamor::test
