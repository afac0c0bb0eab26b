// Lines per second of PRODUTO.TXT and ITEMPREVENDA.TXT (with its pre-sales)
// committed per line (TRANSACAO=LINHA) and in one transaction per file
// (TRANSACAO=ARQUIVO), each also with refused lines set aside
// (RECUSADAS=SEPARAR: a savepoint per line in one transaction), on the
// embedded engine and on the tests' loopback server, with the peak RSS of a
// cycle of a tenth of the lines beside it.
// Each cell runs in a process of its own, so that its peak RSS is its own.
//   scripts/with-test-firebird bench_file_transaction [lines, default 100000]
// Without LIGAMOR_TEST_FB_PORT the server rows are left out.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/directories.h"
#include "engine/integration_log.h"
#include "engine/integration_parts.h"
#include "support/recording_seams.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

using namespace ligamor;

namespace {

const char* kSeed =
    "insert into ALIQUOTA (cdaliquota, nmaliquota) values (3, 'T1');"
    "insert into UNIDADE (cdunidade, nmunidade, nmreduzido, usuinclusao, compinclusao, usualteracao, compalteracao) "
    "values (0, 'UN', 'UN', 'MASTER', 'MASTER', 'MASTER', 'MASTER');"
    "commit;";

constexpr int kItemsPerPreSale = 10;
constexpr int kProductsForItems = 1000;

// Written line by line: the bench's own memory must not grow with the file.
void WriteLines(const std::string& path, const char* file, int first, int count)
{
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) std::exit(2);
    for (int i = first; i < first + count; ++i) {
        const std::string k = std::to_string(i);
        if (std::strcmp(file, "PRODUTO.TXT") == 0)
            std::fprintf(out, "I#%s#PRODUTO %s#T1#10,5#UN#8,20#12,90\r\n", k.c_str(), k.c_str());
        else if (std::strcmp(file, "PREVENDA.TXT") == 0)
            std::fprintf(out, "I#%s#%s##1#05/03/2024#10/03/2024#350,75\r\n", k.c_str(), k.c_str());
        else
            std::fprintf(out, "I#%d#%d#%d#2,5#4,10#10,25\r\n", (i - 1) / kItemsPerPreSale + 1,
                         (i - 1) % kItemsPerPreSale + 1, (i - 1) % kProductsForItems + 1);
    }
    std::fclose(out);
}

struct World {
    World(const test::TempDir& work, const std::string& server, TransactionMode mode, RefusedLinesMode refused)
    {
        const std::string path = test::CreateShopDatabase(work.Path(), "BENCH.FDB");
        test::RunIsql(path, kSeed);
        const test::ServerValues values = server.empty() ? test::ServerValues{} : test::LoopbackServer();
        ConnectDatabase(dtmain, ComposeDatabaseName(server.empty() ? "LOCAL" : values.server, path),
                        values.userName, server.empty() ? "masterkey" : values.password);
        settings.SendDirectory = work / "ENVIO/";
        settings.ResponseDirectory = work / "RESPOSTA/";
        settings.LogDirectory = work / "LOG/";
        settings.IntervalMs = 5000;
        settings.Transaction = mode;
        settings.RefusedLines = refused;
        for (const std::string& d : {settings.SendDirectory, settings.ResponseDirectory, settings.LogDirectory})
            ForceDirectoryPath(d);
        integration.quietTime = std::chrono::milliseconds(0);
    }

    double Cycle(const char* file, int first, int count)
    {
        WriteLines(settings.SendDirectory + file, file, first, count);
        ++clock.now.second;
        const auto start = std::chrono::steady_clock::now();
        RunIntegrationCycle(integration, view);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    long long Rows(const char* table)
    {
        return OpenQuery(dtmain, std::string("select count(*) from ") + table)->FirstAsInteger();
    }

    test::RecordingMessages messages;
    test::FakeTimer timer;
    test::FixedClock clock;
    IntegrationParts parts{{.messages = messages, .timer = timer, .clock = clock, .regional = RegionalSettings{}}};
    DataModule& dtmain = parts.dtmain;
    SystemSettings& settings = parts.settings;
    Integration& integration = parts.integration;
    NoLogView view;
};

// One cell: "<seconds> <peak RSS in KiB> <log bytes>" on standard output.
int RunOne(const std::string& engine, const char* file, const std::string& modes, int lines)
{
    const TransactionMode mode =
        modes.find("ARQUIVO") != std::string::npos ? TransactionMode::Arquivo : TransactionMode::Linha;
    const RefusedLinesMode refused =
        modes.find("SEPARAR") != std::string::npos ? RefusedLinesMode::Separar : RefusedLinesMode::Parar;
    test::TempDir work;
    World world(work, engine == "server" ? "server" : "", mode, refused);
    const bool items = std::strcmp(file, "ITEMPREVENDA.TXT") == 0;
    if (items) {
        // The products and pre-sales the items name, stored before the clock runs.
        world.settings.Transaction = TransactionMode::Arquivo;
        world.Cycle("PRODUTO.TXT", 1, kProductsForItems);
        world.Cycle("PREVENDA.TXT", 1, (lines + kItemsPerPreSale - 1) / kItemsPerPreSale);
        world.settings.Transaction = mode;
    }
    const double seconds = world.Cycle(file, 1, lines);
    const long long rows = world.Rows(items ? "ITPEDIDOCOMPRACLIENTE" : "DETALHE");
    if (rows != lines || !world.messages.shown.empty()) {
        std::fprintf(stderr, "the cycle stored %lld of %d lines\n", rows, lines);
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const std::string log = test::ReadBytes(IntegrationLogPath(world.settings.LogDirectory));
    std::printf("%.3f %ld %zu\n", seconds, usage.ru_maxrss, log.size());
    return 0;
}

struct Cell {
    double seconds = 0;
    long rssKiB = 0;
    std::size_t logBytes = 0;
};

bool RunChild(const char* self, const std::string& engine, const char* file, const char* mode, int lines, Cell& cell)
{
    const std::string command = std::string(self) + " --one " + engine + " " + file + " " + mode + " " +
                                std::to_string(lines);
    FILE* child = popen(command.c_str(), "r");
    if (!child) return false;
    const int read = std::fscanf(child, "%lf %ld %zu", &cell.seconds, &cell.rssKiB, &cell.logBytes);
    return pclose(child) == 0 && read == 3;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 6 && std::strcmp(argv[1], "--one") == 0)
        return RunOne(argv[2], argv[3], argv[4], std::atoi(argv[5]));
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    std::vector<std::string> engines{"embedded"};
    if (std::getenv("LIGAMOR_TEST_FB_PORT")) engines.push_back("server");

    std::printf("%-9s %-17s %-15s %8s %9s %7s %11s %11s %10s\n", "engine", "file", "mode", "seconds", "lines/s",
                "ratio", "RSS n/10", "RSS n", "log block");
    for (const std::string& engine : engines) {
        for (const char* file : {"PRODUTO.TXT", "ITEMPREVENDA.TXT"}) {
            double linhaRate = 0;
            for (const char* mode : {"LINHA", "ARQUIVO", "LINHA+SEPARAR", "ARQUIVO+SEPARAR"}) {
                Cell full, tenth;
                if (!RunChild(argv[0], engine, file, mode, n, full) ||
                    !RunChild(argv[0], engine, file, mode, n / 10, tenth)) {
                    std::fprintf(stderr, "%s %s %s failed\n", engine.c_str(), file, mode);
                    return 1;
                }
                const double rate = n / full.seconds;
                if (linhaRate == 0) linhaRate = rate;
                std::printf("%-9s %-17s %-15s %8.2f %9.0f %6.1fx %8.1f MB %8.1f MB %7.1f MB\n", engine.c_str(), file,
                            mode, full.seconds, rate, rate / linhaRate, tenth.rssKiB / 1024.0, full.rssKiB / 1024.0,
                            full.logBytes / 1048576.0);
                std::fflush(stdout);
            }
        }
    }
    std::printf("ratio: lines per second against LINHA on the same file and engine;\n"
                "RSS: peak resident size of the process that ran n/10 and n lines;\n"
                "log block: the file's log texts, held until its commit\n");
    return 0;
}
