// Our own record files and the status file, whole, in the released shape, cut
// by a power cut and damaged: read back, or refused naming the file and line,
// never skipped and never guessed.
#include "engine_fixture.h"

#include <functional>
#include <optional>

#include "engine/applied_not_moved.h"
#include "engine/integration_health.h"
#include "engine/record_file.h"
#include "engine/set_aside_claims.h"
#include "runtime/text1252.h"

namespace ligamor {
namespace {

using Kind = RecordFileFailure::Kind;

const ReadInputFiles kApplied = {
    {0, "/loja/ENVIO/CLIENTE.TXT", {2049, 131, 4, 1'796'000'000'000'000'000, 1'796'000'000'000'000'001}},
    {3, "/loja/EN VIO/ITEMPREVENDA.TXT", {2049, 132, 0, -5, 9'223'372'036'854'775'807}},
};

// What the record keeps of a file: all but the name it will be moved under.
std::vector<std::string> Described(const ReadInputFiles& files)
{
    std::vector<std::string> out;
    for (const ReadInputFile& f : files)
        out.push_back(std::to_string(f.row) + "|" + f.path + "|" + std::to_string(f.identity.device) + "|" +
                      std::to_string(f.identity.inode) + "|" + std::to_string(f.identity.size) + "|" +
                      std::to_string(f.identity.mtimeNs) + "|" + std::to_string(f.identity.ctimeNs));
    return out;
}

std::vector<SetAsideClaim> Claims()
{
    const RefusedLine line{"I#26#PADARIA\xC7", "CLIENTE_06122026_143701.TXT", 2, "06/12/2026 14:37:01",
                           "O campo Tipo Cpf fora dos padrões."};
    SetAsideClaim a{0, "/loja/ENVIO/CLIENTE.TXT", {2049, 131}, line, true, {2049, 140, 10, 5, 6}};
    SetAsideClaim b = a;
    b.row = 3;
    b.inFolder = false;
    b.line.lineNumber = 7;
    b.line.reason = "aguardando a pré-venda 70";
    return {a, b};
}

HealthFacts Facts()
{
    return {.polling = true, .intervalMs = 5000, .activatedNs = 1, .lastCycleEndNs = 2,
            .failure = "Erro ao Conectar em Banco de Dados.", .setAsideLines = 1, .oldestSetAside = "CLIENTE.TXT: x"};
}

// A claim as the released version wrote it.
std::string ReleasedLine(const SetAsideClaim& c)
{
    const auto hex = [](const std::string& bytes) {
        std::string out = "x";
        for (const unsigned char b : bytes) out += "0123456789abcdef"[b >> 4], out += "0123456789abcdef"[b & 15];
        return out;
    };
    const FileIdentity& id = c.folderBefore;
    return std::to_string(c.row) + " " + (c.inFolder ? "1" : "0") + " " + std::to_string(c.line.lineNumber) + " " +
           std::to_string(c.input.device) + " " + std::to_string(c.input.inode) + " " + std::to_string(id.device) +
           " " + std::to_string(id.inode) + " " + std::to_string(id.size) + " " + std::to_string(id.mtimeNs) + " " +
           std::to_string(id.ctimeNs) + " " + hex(c.line.bytes) + " " + hex(c.line.fromFile) + " " +
           hex(c.line.since) + " " + hex(c.line.reason) + " " + c.path + "\r\n";
}

std::string Replaced(std::string bytes, const std::string& what, const std::string& by)
{
    return bytes.replace(bytes.find(what), what.size(), by);
}

enum class File { Aplicados, Separadas, Estado };

// What reading the file gave: the count of what it read, or the failure.
struct Outcome {
    std::optional<std::size_t> read;
    Kind kind = Kind::Damaged;
    std::size_t line = 0;
    std::string message;
};

class RecordFile : public ::testing::Test {
protected:
    std::string PathOf(File file) const
    {
        return file == File::Aplicados   ? dir / kAppliedNotMovedName
               : file == File::Separadas ? dir / kSetAsideClaimsName
                                         : StatusFilePath(dir.Path());
    }

    Outcome Read(File file, const std::string& bytes)
    {
        test::WriteBytes(PathOf(file), bytes);
        Outcome outcome;
        try {
            if (file == File::Aplicados) {
                applied = LoadAppliedNotMoved(dir.Path());
                outcome.read = applied.size();
            } else if (file == File::Separadas) {
                claims = LoadSetAsideClaims(dir.Path());
                outcome.read = claims.size();
            } else {
                EXPECT_TRUE(ReadStatusFile(dir.Path(), facts));
                outcome.read = 1;
            }
        } catch (const RecordFileFailure& f) {
            outcome.kind = f.Reason();
            outcome.line = f.Line();
            outcome.message = f.Message();
        }
        return outcome;
    }

    test::TempDir dir;
    ReadInputFiles applied;
    std::vector<SetAsideClaim> claims;
    HealthFacts facts;
};

std::string Cut(const std::string& bytes, std::size_t dropped)
{
    return bytes.substr(0, bytes.size() - dropped);
}

std::string Changed(std::string bytes, std::size_t at, char to)
{
    bytes[at] = to;
    return bytes;
}

TEST_F(RecordFile, WhatIsReadOrRefusedForEachShapeOfFile)
{
    const std::string applied2 = AppliedNotMovedText(kApplied);
    const std::string claims2 = SetAsideClaimsText(Claims());
    const std::string status = HealthFactsText(Facts());
    const std::size_t lastRecord = claims2.rfind("\r\n", claims2.size() - 3) - 5;  // inside its checksum
    const std::string releasedStatus =
        "LEITURA=1\r\nINTERVALO_MS=5000\r\nATIVADA_NS=1\r\nULTIMO_CICLO_NS=2\r\nFALHA=\r\nSEPARADAS=0\r\n"
        "SEPARADA_MAIS_ANTIGA=\r\n";
    const std::string secondStatus =
        "VERSAO=2\r\nLEITURA=1\r\nINTERVALO_MS=5000\r\nATIVADA_NS=1\r\nULTIMO_CICLO_NS=2\r\nFALHA=\r\nSEPARADAS=0\r\n"
        "SEPARADA_MAIS_ANTIGA=\r\nDESLIGADA=\r\nULTIMA_FALHA_NS=0\r\nLINHAS_APLICADAS=3\r\nVERIFICACAO=8d64cb71\r\n";
    struct Row {
        const char* what;
        File file;
        std::string bytes;
        std::optional<std::size_t> read;  // how many records; nothing: refused
        Kind kind = Kind::Damaged;
        std::size_t line = 0;
    };
    const std::vector<Row> rows = {
        {"whole", File::Aplicados, applied2, 2},
        {"whole", File::Separadas, claims2, 2},
        {"whole", File::Estado, status, 1},
        {"the released shape, a path with a blank", File::Aplicados,
         "0 2049 131 4 1796000000000000000 1796000000000000001 /loja/ENVIO/CLIENTE.TXT\r\n"
         "3 2049 132 0 -5 9223372036854775807 /loja/EN VIO/ITEMPREVENDA.TXT\r\n",
         2},
        {"the released shape", File::Separadas, ReleasedLine(Claims()[0]) + ReleasedLine(Claims()[1]), 2},
        {"the released shape, seven keys", File::Estado, releasedStatus, 1},
        {"the second version, ten keys", File::Estado, secondStatus, 1},
        {"the second version with a key it never had", File::Estado,
         Replaced(secondStatus, "VERIFICACAO", "EXECUCAO_UNICA_NS=1\r\nVERIFICACAO"), {}, Kind::Damaged, 12},
        {"cut in the middle of its last record", File::Separadas, claims2.substr(0, lastRecord), {}, Kind::Cut, 3},
        {"cut between two records", File::Aplicados, Cut(applied2, applied2.size() - applied2.rfind("fim")), {},
         Kind::Cut, 4},
        {"cut, its last block zeros", File::Aplicados, Cut(applied2, 30) + std::string(4096, '\0'), {}, Kind::Cut, 3},
        {"empty", File::Aplicados, "", {}, Kind::Cut, 1},
        {"empty", File::Separadas, std::string(512, '\0'), {}, Kind::Cut, 1},
        {"empty", File::Estado, "", {}, Kind::Cut, 1},
        {"cut", File::Estado, status.substr(0, status.find("SEPARADAS")), {}, Kind::Cut, 7},
        {"the released shape cut in its path", File::Aplicados, "0 2049 131 4 5 6 /loja/ENV", {}, Kind::Cut, 1},
        {"a byte changed in a record", File::Separadas, Changed(claims2, claims2.find("\r\n") + 10, '7'), {},
         Kind::Damaged, 2},
        {"a record lost from the middle", File::Aplicados,
         applied2.substr(0, applied2.find("\r\n") + 2) + applied2.substr(applied2.find("\r\n3 ") + 2), {},
         Kind::Damaged, 2},
        {"bytes after its end", File::Aplicados, applied2 + "0", {}, Kind::Damaged, 5},
        {"the other record's bytes", File::Aplicados, claims2, {}, Kind::Damaged, 1},
        {"row -1", File::Aplicados, "-1 2049 131 4 5 6 /loja/ENVIO/CLIENTE.TXT\r\n", {}, Kind::Damaged, 1},
        {"row 4", File::Aplicados, "4 2049 131 4 5 6 /loja/ENVIO/CLIENTE.TXT\r\n", {}, Kind::Damaged, 1},
        {"a hex digit that is none", File::Separadas,
         "0 1 2 2049 131 2049 140 10 5 6 x3F x x x /loja/ENVIO/CLIENTE.TXT\r\n", {}, Kind::Damaged, 1},
        {"a line without its CR", File::Aplicados, "0 2049 131 4 5 6 /loja/ENVIO/CLIENTE.TXT\n", {}, Kind::Damaged, 1},
        {"a huge interval", File::Estado, Replaced(releasedStatus, "=5000", "=99999999999"), {}, Kind::Damaged, 2},
        {"a very negative time", File::Estado, Replaced(releasedStatus, "_NS=1", "_NS=-99999999999999999999"), {},
         Kind::Damaged, 3},
        {"a wrong checksum", File::Estado, Replaced(status, "=5000", "=6000"), {}, Kind::Damaged, 23},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const Outcome outcome = Read(row.file, row.bytes);
        EXPECT_EQ(outcome.read, row.read) << outcome.message;
        if (row.read) continue;
        EXPECT_EQ(outcome.kind, row.kind);
        EXPECT_EQ(outcome.line, row.line) << outcome.message;
        EXPECT_NE(outcome.message.find("\"" + PathOf(row.file) + "\""), std::string::npos) << outcome.message;
    }
}

TEST_F(RecordFile, WrittenAndReadBackUnchangedInEitherShape)
{
    EXPECT_EQ(Read(File::Aplicados, AppliedNotMovedText(kApplied)).read, 2u);
    EXPECT_EQ(Described(applied), Described(kApplied));
    EXPECT_EQ(Read(File::Separadas, SetAsideClaimsText(Claims())).read, 2u);
    EXPECT_EQ(claims, Claims());
    EXPECT_EQ(Read(File::Estado, HealthFactsText(Facts())).read, 1u);
    EXPECT_EQ(facts, Facts());
    // The shape on disk, which later versions must go on reading.
    const FileIdentity id{2049, 131, 4, 1'796'000'000'000'000'000, 1'796'000'000'000'000'001};
    EXPECT_EQ(AppliedNotMovedText({{1, "/LOJA/ENVIO/PRODUTO.TXT", id}}),
              "ligamor .ligamor.aplicados 2 c5582f23\r\n"
              "1 2049 131 4 1796000000000000000 1796000000000000001 x2f4c4f4a412f454e56494f2f50524f4455544f2e545854 "
              "469f9be6\r\nfim 1 524dc856\r\n");
    // What the released version wrote reads as the same records.
    Read(File::Aplicados, "3 2049 132 0 -5 9223372036854775807 /loja/EN VIO/ITEMPREVENDA.TXT\r\n");
    EXPECT_EQ(Described(applied), Described({kApplied[1]}));
    Read(File::Separadas, ReleasedLine(Claims()[1]));
    EXPECT_EQ(claims, std::vector<SetAsideClaim>{Claims()[1]});
}

// What a person sees: the file named, and which of the two it is.
TEST_F(RecordFile, TheFailureSaysWhichFileAndWhetherItWasCutOrDamaged)
{
    const std::string path = PathOf(File::Separadas);
    const std::string whole = SetAsideClaimsText(Claims());
    EXPECT_EQ(Utf8FromCp1252(Read(File::Separadas, whole.substr(0, whole.size() - 40)).message),
              "O arquivo \"" + path +
                  "\" foi cortado na linha 3 (a gravação foi interrompida, como numa queda de energia); a "
                  "integração fica parada, sem adivinhar o que ele dizia, até que alguém o confira");
    EXPECT_EQ(Utf8FromCp1252(Read(File::Separadas, Changed(whole, whole.find("\r\n") + 10, '7')).message),
              "O arquivo \"" + path +
                  "\" está danificado na linha 2: soma de verificação errada; a integração fica parada, sem "
                  "adivinhar o que ele dizia, até que alguém o confira");
}

// A shop upgrading with a file applied but not moved: the cycle only moves it.
// A damaged record stops the cycle before any file is applied.
class RecordFileCycle : public test::EngineTest {};

TEST_F(RecordFileCycle, TheReleasedRecordIsHonouredAndADamagedOneStopsTheCycle)
{
    test::WriteBytes(Send("PRODUTO.TXT"), "p1\r\n");
    FileIdentity id;
    ASSERT_TRUE(StatFile(Send("PRODUTO.TXT"), id));
    test::WriteBytes(Send(kAppliedNotMovedName),
                     "1 " + std::to_string(id.device) + " " + std::to_string(id.inode) + " " + std::to_string(id.size) +
                         " " + std::to_string(id.mtimeNs) + " " + std::to_string(id.ctimeNs) + " " +
                         Send("PRODUTO.TXT") + "\r\n");
    RunIntegrationCycle(integration, view);
    EXPECT_EQ(seen, std::vector<std::string>{});
    EXPECT_EQ(test::ListDir(settings.ResponseDirectory), std::set<std::string>{"PRODUTO_06122026_143701.TXT"});
    EXPECT_EQ(test::ListDir(settings.SendDirectory), std::set<std::string>{});

    test::WriteBytes(Send("PRODUTO.TXT"), "p2\r\n");
    test::WriteBytes(Send(kAppliedNotMovedName), "1 2049 131 4 5 6 /loja/ENVIO/PRODUTO.TXT\r\n1 2049");
    timer.SetInterval(5000);
    try {
        RunIntegrationCycle(integration, view);
        ADD_FAILURE() << "the cycle went on";
    } catch (const RecordFileFailure& f) {
        EXPECT_EQ(f.Reason(), Kind::Cut);
        EXPECT_NE(f.Message().find(Send(kAppliedNotMovedName)), std::string::npos) << f.Message();
    }
    EXPECT_EQ(seen, std::vector<std::string>{});
    EXPECT_EQ(test::ListDir(settings.SendDirectory),
              (std::set<std::string>{"PRODUTO.TXT", kAppliedNotMovedName}));
    EXPECT_EQ(timer.interval, 0);
}

}  // namespace
}  // namespace ligamor
