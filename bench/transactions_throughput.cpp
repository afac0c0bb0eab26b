// Lines per second that a real integration cycle applies for each input file,
// beside isql-fb running the same data-changing statements, each committed on
// its own, on an identical fresh database.
//   bench_transactions_throughput [lines per file, default 10000]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "db/dtmmain.h"
#include "engine/directories.h"
#include "engine/record_processors.h"
#include "engine/untfuncoes.h"
#include "support/recording_seams.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

using namespace ligamor;
using Seconds = std::chrono::duration<double>;

namespace {

class NoView : public LogView {
public:
    void Clear() override {}
    void SetWhole(std::string_view) override {}
    void AppendTail(std::string_view) override {}
    bool EditedSinceFill() const override { return false; }
};

const char* kSeed =
    "insert into UF (cduf, sguf) values (35, 'SP');"
    "insert into ALIQUOTA (cdaliquota, nmaliquota) values (3, 'T1');"
    "insert into UNIDADE (cdunidade, nmunidade, nmreduzido, usuinclusao, compinclusao, usualteracao, compalteracao) "
    "values (0, 'UN', 'UN', 'MASTER', 'MASTER', 'MASTER', 'MASTER');"
    "commit;";

// One input file split into rounds; each round's lines and the same rows as
// isql-fb statements, each committed on its own.
struct Kind {
    const char* file;
    std::vector<std::string> lines;
    std::vector<std::string> sql;
};

constexpr int kRounds = 10;

std::vector<Kind> Generate(int n)
{
    std::vector<Kind> kinds{{"CLIENTE.TXT", {}, {}}, {"PRODUTO.TXT", {}, {}}, {"PREVENDA.TXT", {}, {}},
                            {"ITEMPREVENDA.TXT", {}, {}}};
    for (Kind& kind : kinds) {
        kind.lines.resize(kRounds);
        kind.sql.resize(kRounds);
    }
    const std::string migr = "'MIGRACAO', 'MIGRACAO', 'MIGRACAO', 'MIGRACAO'";
    for (int i = 1; i <= n; ++i) {
        const std::string k = std::to_string(i);
        const int r = (i - 1) * kRounds / n;
        kinds[0].lines[r] += "I#" + k + "#MERCADO " + k + " LTDA#MERCADO " + k +
                          "#RUA DAS FLORES 10#CP 12#CENTRO#SAO PAULO#SP#01000000#11#22#33#12345678901#1500,00\r\n";
        kinds[0].sql[r] += "INSERT INTO CLIENTE(CDCLIENTE, CDSTCLIENTE, NMCLIENTE, RZSOCIAL, TPPESSOA, DSENDERECO, "
                        "NUCXPOSTAL, NMBAIRRO, NMCIDADE, CDUF, NUCEP, NUFONE1, NUFONE2, NUFONE3, NUIDENTID, NUCPF, "
                        "VLLIMITE, USUINCLUSAO, COMPINCLUSAO, USUALTERACAO, COMPALTERACAO) VALUES(" +
                        k + ",1, 'MERCADO " + k + "', 'MERCADO " + k +
                        " LTDA', 'F', 'RUA DAS FLORES 10', 'CP 12', 'CENTRO', 'SAO PAULO','35', '01000000', '11', "
                        "'', '22', '33', '12345678901', 1500.00, " +
                        migr + ");\ncommit;\n";
        kinds[1].lines[r] += "I#" + k + "#PRODUTO " + k + "#T1#10,5#UN#8,20#12,90\r\n";
        kinds[1].sql[r] += "INSERT INTO DETALHE(CDDETALHE, NMDETALHE, CDALIQUOTA, QTESTOQUE, CDUNIDADE, CDTPPRODUTO, "
                        "QTESTMIN, QTESTMAX, VLCOMPRA, VLVENDA, CDPRODUTO, CDTPSEXO, USUINCLUSAO, COMPINCLUSAO, "
                        "USUALTERACAO, COMPALTERACAO, CDFORMAPECA, CDTAMANHO, CDALTERNATIVO) VALUES(" +
                        k + ", 'PRODUTO " + k + "', '3', '10.5', 0, 1,'0', '0','8.20', '12.90', 1,1," + migr +
                        ", 1,1,1);\ncommit;\n";
        kinds[2].lines[r] += "I#" + k + "#" + k + "##" + k + "#05/03/2024#10/03/2024#350,75\r\n";
        kinds[2].sql[r] += "INSERT INTO PEDIDOCOMPRACLIENTE(CDFUNCIONARIO, CDPEDIDOCOMPRACLIENTE, NUDAV, CDCLIENTE, "
                        "CDSTPEDIDOCOMPRACLIENTE, CDCONDPAGTO, DTEMISSAO, DTPREVENTREGA, VLTOTAL, USUINCLUSAO, "
                        "COMPINCLUSAO, USUALTERACAO, COMPALTERACAO, DTINCLUSAO, HRINCLUSAO, DTALTERACAO, "
                        "HRALTERACAO) VALUES(110," +
                        k + ", '" + k + "', " + k + ", 1, 1, '03/05/2024', '03/10/2024', '350.75', " + migr +
                        ", '12/06/2026', '14:37:01', '12/06/2026', '14:37:01');\ncommit;\n";
        kinds[3].lines[r] += "I#" + k + "#1#" + k + "#2,5#4,10#10,25\r\n";
        kinds[3].sql[r] += "INSERT INTO ITPEDIDOCOMPRACLIENTE(CDPEDIDOCOMPRACLIENTE, NUITPEDIDOCOMPRACLIENTE, "
                        "CDDETALHE, CDUNIDADE, CDDIGITADO, QTITEM, VLUNITARIO, VLTOTAL, USUINCLUSAO, COMPINCLUSAO, "
                        "USUALTERACAO, COMPALTERACAO, DTINCLUSAO, HRINCLUSAO, DTALTERACAO, HRALTERACAO) VALUES(" +
                        k + ", 1, " + k + ", 0, 1, 2.5, 4.10, 10.25, " + migr +
                        ", '12/06/2026', '14:37:01', '12/06/2026', '14:37:01');\ncommit;\n";
    }
    return kinds;
}

template <class F> double Time(F work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return Seconds(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    const int n = argc > 1 ? std::atoi(argv[1]) : 10000;
    const std::vector<Kind> kinds = Generate(n);

    test::TempDir work;
    const std::string cycleDb = test::CreateShopDatabase(work.Path(), "CICLO.FDB");
    const std::string isqlDb = test::CreateShopDatabase(work.Path(), "ISQL.FDB");
    test::RunIsql(cycleDb, kSeed);
    test::RunIsql(isqlDb, kSeed);

    FbClientLoader loader;
    test::RecordingMessages messages;
    test::FakeTimer timer;
    test::FixedClock clock;
    DataModule dtmain{loader};
    ConnectDatabase(dtmain, cycleDb, "SYSDBA", "masterkey");
    RecordContext ctx{dtmain, messages, clock, RegionalSettings{}};
    SystemSettings settings;
    settings.SendDirectory = work / "ENVIO/";
    settings.ResponseDirectory = work / "RESPOSTA/";
    settings.LogDirectory = work / "LOG/";
    settings.IntervalMs = 5000;
    for (const std::string& d : {settings.SendDirectory, settings.ResponseDirectory, settings.LogDirectory})
        ForceDirectoryPath(d);
    Integration integration{settings, dtmain, messages, timer, clock, RegionalSettings{}, SettingsFilePath(work.Path()),
                            StandardInputFileTable(ctx)};
    integration.quietTime = std::chrono::milliseconds(0);
    NoView view;

    std::printf("%-18s %12s %12s %8s\n", "file", "cycle l/s", "isql-fb l/s", "ratio");
    // Cycle and isql-fb take turns, round by round, so that both meet the
    // same load of the machine.
    int cycleNo = 0;
    for (const Kind& kind : kinds) {
        double cycle = 0, isql = 0;
        for (int r = 0; r < kRounds; ++r) {
            test::WriteBytes(settings.SendDirectory + kind.file, kind.lines[r]);
            // Every cycle moves its file under a stamp of its own.
            ++cycleNo;
            clock.now.minute = cycleNo / 60;
            clock.now.second = cycleNo % 60;
            cycle += Time([&] { RunIntegrationCycle(integration, view); });
            const std::string& script = kind.sql[r];
            isql += Time([&] { test::RunIsql(isqlDb, script); });
        }
        const double cycleRate = n / cycle, isqlRate = n / isql;
        std::printf("%-18s %12.0f %12.0f %8.2f\n", kind.file, cycleRate, isqlRate, cycleRate / isqlRate);
    }
    dtmain.conmain.Disconnect();  // isql-fb reads the database next
    const std::string rows = test::ReadValue(cycleDb, "select count(*) from ITPEDIDOCOMPRACLIENTE");
    if (rows != std::to_string(n) || !messages.shown.empty()) {
        std::fprintf(stderr, "the cycle did not store every line (%s items)\n", rows.c_str());
        return 1;
    }
    return 0;
}
