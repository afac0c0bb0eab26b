// Lines per second that a real integration cycle applies for each input file,
// without and with a progress hook, beside isql-fb running the same
// data-changing statements, each committed on its own, on identical fresh
// databases.
//   bench_transactions_throughput [lines per file, default 10000]
// Built with LIGAMOR_BENCH_WINDOW (bench_transactions_throughput_window), the
// hook is the window's own, over a progress bar on screen (offscreen when no
// display is set); without it, a hook of the same rhythm without Qt.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/directories.h"
#include "engine/holder_control.h"
#include "engine/integration_health.h"

#ifdef LIGAMOR_BENCH_WINDOW
#include <QApplication>
#include <QProgressBar>

#include "ui/status_bar_parts.h"
#include "ui/window_progress.h"
#endif

#include "engine/directories.h"
#include "engine/integration_parts.h"
#include "support/recording_seams.h"
#include "support/shop_folders.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

using namespace ligamor;
using Seconds = std::chrono::duration<double>;

namespace {


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

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t m = values.size() / 2;
    return values.size() % 2 ? values[m] : (values[m - 1] + values[m]) / 2;
}

template <class F> double Time(F work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return Seconds(std::chrono::steady_clock::now() - start).count();
}

#ifndef LIGAMOR_BENCH_WINDOW
// The window's rhythm without the window: the clock read after every line,
// something done only when an interval has passed.
class ClockProgress : public CycleProgress {
public:
    void LineApplied(const std::string&, std::size_t done, std::size_t) override
    {
        const auto now = std::chrono::steady_clock::now();
        if (done == 0 || now >= next_) {
            ++turns;
            next_ = now + std::chrono::milliseconds(50);
        }
    }
    bool StopRequested() override { return false; }
    long turns = 0;

private:
    std::chrono::steady_clock::time_point next_{};
};
#endif

// The time spent inside a hook, apart from the lines' own: the wall-clock
// comparison of two cycles moves by several per cent with the machine's disk
// and load, this does not.
class TimedProgress : public CycleProgress {
public:
    explicit TimedProgress(CycleProgress& hook) : hook_(hook) {}
    void LineApplied(const std::string& fileName, std::size_t done, std::size_t total) override
    {
        const auto start = std::chrono::steady_clock::now();
        hook_.LineApplied(fileName, done, total);
        inside += std::chrono::steady_clock::now() - start;
    }
    bool StopRequested() override { return hook_.StopRequested(); }
    std::chrono::steady_clock::duration inside{};

private:
    CycleProgress& hook_;
};

// A database of its own with its own directories, and the cycle over them.
struct CycleWorld {
    CycleWorld(const test::TempDir& work, const std::string& name, CycleProgress* progress)
        : database(test::CreateShopDatabase(work.Path(), name + ".FDB"))
    {
        test::RunIsql(database, test::kShopCodes);
        ConnectDatabase(dtmain, database, "SYSDBA", "masterkey");
        test::UseShopFolders(settings, work / (name + "/"));
        integration.quietTime = std::chrono::milliseconds(0);
        integration.progress = progress;
        // As every front end does, the hooked cycle holds its send directory:
        // it then publishes its progress and reads the windows' requests.
        // LIGAMOR_BENCH_HOLDER=0 leaves that out, to see what it costs.
        const char* holder = std::getenv("LIGAMOR_BENCH_HOLDER");
        if (progress && !(holder && std::string(holder) == "0")) {
            ForceDirectoryPath(settings.SendDirectory);
            ForceDirectoryPath(settings.LogDirectory);
            integration.state.sendDirectoryLock.Acquire(settings.SendDirectory + kSendDirectoryLockName);
            NoteHolder(integration);
            NoteHealth(integration);
        }
    }

    // Every cycle moves its file under a stamp of its own.
    double Cycle(const char* file, const std::string& lines, int cycleNo)
    {
        test::WriteBytes(settings.SendDirectory + file, lines);
        clock.now.minute = cycleNo / 60;
        clock.now.second = cycleNo % 60;
        return Time([&] { RunIntegrationCycle(integration, view); });
    }

    // The items stored, read once the connection is gone.
    std::string Items()
    {
        dtmain.conmain.Disconnect();
        return test::ReadValue(database, "select count(*) from ITPEDIDOCOMPRACLIENTE");
    }

    std::string database;
    test::RecordingMessages messages;
    test::FakeTimer timer;
    test::FixedClock clock;
    IntegrationParts parts{{.messages = messages, .timer = timer, .clock = clock, .regional = RegionalSettings{}}};
    DataModule& dtmain = parts.dtmain;
    SystemSettings& settings = parts.settings;
    Integration& integration = parts.integration;
    NoLogView view;
};

}  // namespace

int main(int argc, char** argv)
{
    const int n = argc > 1 ? std::atoi(argv[1]) : 10000;
    const std::vector<Kind> kinds = Generate(n);

#ifdef LIGAMOR_BENCH_WINDOW
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    StatusBarParts bar;
    bar.resize(580, 20);
    WindowProgress progress(bar);
    const char* hookName = "window";
#else
    ClockProgress progress;
    const char* hookName = "clock";
#endif

    TimedProgress timed(progress);
    test::TempDir work;
    CycleWorld plain(work, "CICLO", nullptr);
    CycleWorld hooked(work, "PROGRESSO", &timed);
    const std::string isqlDb = test::CreateShopDatabase(work.Path(), "ISQL.FDB");
    test::RunIsql(isqlDb, test::kShopCodes);

    std::printf("progress hook: %s\n", hookName);
    std::printf("%-18s %12s %12s %8s %8s %12s %8s\n", "file", "cycle l/s", "+hook l/s", "cost", "in hook",
                "isql-fb l/s", "ratio");
    // The three take turns, round by round, so that all meet the same load of
    // the machine; which cycle goes first alternates.
    int cycleNo = 0;
    double plainTotal = 0, hookedTotal = 0, insideTotal = 0;
    std::vector<double> allRatios;
    for (const Kind& kind : kinds) {
        double cycle = 0, withHook = 0, isql = 0;
        std::vector<double> ratios;
        timed.inside = {};
        for (int r = 0; r < kRounds; ++r) {
            ++cycleNo;
            double without = 0, with = 0;
            if (r % 2 == 0) {
                without = plain.Cycle(kind.file, kind.lines[r], cycleNo);
                with = hooked.Cycle(kind.file, kind.lines[r], cycleNo);
            } else {
                with = hooked.Cycle(kind.file, kind.lines[r], cycleNo);
                without = plain.Cycle(kind.file, kind.lines[r], cycleNo);
            }
            cycle += without;
            withHook += with;
            ratios.push_back(with / without);
            const std::string& script = kind.sql[r];
            isql += Time([&] { test::RunIsql(isqlDb, script); });
        }
        plainTotal += cycle;
        hookedTotal += withHook;
        const double cycleRate = n / cycle, hookRate = n / withHook, isqlRate = n / isql;
        const double inside = Seconds(timed.inside).count();
        insideTotal += inside;
        std::printf("%-18s %12.0f %12.0f %7.1f%% %7.2f%% %12.0f %8.2f\n", kind.file, cycleRate, hookRate,
                    100 * (Median(ratios) - 1), 100 * inside / withHook, isqlRate, cycleRate / isqlRate);
        allRatios.insert(allRatios.end(), ratios.begin(), ratios.end());
    }
    std::printf("%-18s %12.0f %12.0f %7.1f%% %7.2f%%\n", "all", 4 * n / plainTotal, 4 * n / hookedTotal,
                100 * (Median(allRatios) - 1), 100 * insideTotal / hookedTotal);
    std::printf("cost: the median, over rounds, of the cycle with the hook against the one without\n"
                "beside it, by the wall clock;\n"
                "in hook: the share of the hooked cycle's time spent inside the hook\n");
    for (CycleWorld* world : {&plain, &hooked}) {
        const std::string rows = world->Items();
        if (rows != std::to_string(n) || !world->messages.shown.empty()) {
            std::fprintf(stderr, "the cycle did not store every line (%s items)\n", rows.c_str());
            return 1;
        }
    }
    return 0;
}
