// PRODUTO.TXT and ITEMPREVENDA.TXT (its products and pre-sales stored before
// the clock runs) side by side, each cell a process of its own so that its
// peak RSS is its own, on the embedded engine and on the tests' loopback
// server (its rows only with LIGAMOR_TEST_FB_PORT, i.e. under
// scripts/with-test-firebird):
//   ISQL             isql-fb running the clean file's INSERT statements, as
//                    ligamor runs them, in one transaction on a fresh copy of
//                    the same seeded database: the reference (its process
//                    alone is timed, and its RSS is isql's);
//   LINHA            TRANSACAO=LINHA, a commit per line;
//   ARQUIVO-ANTES    TRANSACAO=ARQUIVO, each line's statements alone
//                    (linesPerBlock 0);
//   ARQUIVO          TRANSACAO=ARQUIVO, lines run a block at a time
//                    (linesPerBlock: kLinesPerBlock, or --block);
//   ARQUIVO+SEPARAR  the same with RECUSADAS=SEPARAR and every 100th line
//                    refused by the database (a product's quantity that is
//                    no number, an item's too large for its column).
// After the table, each per-file cell's (and isql-fb's) peak RSS at the
// largest line count against that at the smallest.
// Each cycle's result is checked (rows stored, lines set aside, no box, the
// clean cells' logs of one size, isql-fb's texts those that ligamor runs); a
// wrong one stops the benchmark.
//
//   scripts/with-test-firebird build-run/bench_file_transaction [LINES...]
//       [--cells ISQL,LINHA,ARQUIVO-ANTES,ARQUIVO,ARQUIVO+SEPARAR]
//       [--files PRODUTO,ITEMPREVENDA] [--engines embedded,server]
//       [--per-line-up-to N] [--block N]
// LINES: the files' line counts, 10000 100000 unless given. LINHA runs only
// up to --per-line-up-to lines (100000 unless given): a file of 1,000,000
// lines takes it about an hour. --block: the lines per block of ARQUIVO and
// ARQUIVO+SEPARAR, e.g. to choose it:
//   bench_file_transaction 100000 --files PRODUTO --engines embedded --cells ISQL,ARQUIVO --block 50
// The README's figures are this run, Release build (preset run, build-run/):
//   scripts/with-test-firebird build-run/bench_file_transaction 10000 100000 1000000
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <map>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "bench_file_lines.h"
#include "db/sql_values.h"
#include "engine/directories.h"
#include "engine/integration_log.h"
#include "engine/integration_parts.h"
#include "engine/refused_files.h"
#include "support/recording_seams.h"
#include "support/shop_folders.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

extern char** environ;

using namespace ligamor;

namespace {

constexpr int kRefusedEvery = 100;
const std::vector<std::string> kCells{"ISQL", "LINHA", "ARQUIVO-ANTES", "ARQUIVO", "ARQUIVO+SEPARAR"};
const std::vector<std::string> kFiles{"PRODUTO", "ITEMPREVENDA"};

struct World {
    World(const test::TempDir& work, const std::string& engine, TransactionMode mode, RefusedLinesMode refused,
          std::size_t block)
        : database(test::CreateShopDatabase(work.Path(), "BENCH.FDB"))
    {
        test::RunIsql(database, test::kShopCodes);
        if (engine == "server") {
            const test::ServerValues values = test::LoopbackServer();
            databaseName = ComposeDatabaseName(values.server, database);
            password = values.password;
        } else {
            databaseName = ComposeDatabaseName("LOCAL", database);
        }
        Connect();
        test::UseShopFolders(settings, work / "");
        settings.Transaction = mode;
        settings.RefusedLines = refused;
        integration.quietTime = std::chrono::milliseconds(0);
        integration.linesPerBlock = block;
    }

    void Connect() { ConnectDatabase(dtmain, databaseName, userName, password); }

    double Cycle(const char* file, int count, int refusedEvery = 0)
    {
        if (!bench::WriteFile(settings.SendDirectory + file, file, count, refusedEvery)) std::exit(2);
        ++clock.now.second;
        const auto start = std::chrono::steady_clock::now();
        RunIntegrationCycle(integration, view);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    // The products and pre-sales that `lines` items name, stored before the
    // clock runs.
    void StoreForItems(int lines)
    {
        const TransactionMode mode = settings.Transaction;
        settings.Transaction = TransactionMode::Arquivo;
        Cycle("PRODUTO.TXT", bench::kProductsForItems);
        Cycle("PREVENDA.TXT", (lines + bench::kItemsPerPreSale - 1) / bench::kItemsPerPreSale);
        settings.Transaction = mode;
    }

    long long Rows(const char* table)
    {
        return OpenQuery(dtmain, std::string("select count(*) from ") + table)->FirstAsInteger();
    }

    std::string database;
    std::string databaseName;
    std::string userName = "SYSDBA";
    std::string password = "masterkey";
    test::RecordingMessages messages;
    test::FakeTimer timer;
    test::FixedClock clock;
    IntegrationParts parts{{.messages = messages, .timer = timer, .clock = clock, .regional = RegionalSettings{}}};
    DataModule& dtmain = parts.dtmain;
    SystemSettings& settings = parts.settings;
    Integration& integration = parts.integration;
    NoLogView view;
};

struct Timed {
    double seconds = 0;
    int status = -1;
    long rssKiB = 0;
};

// The peak resident size of a running process, in KiB; 0 once it is gone.
long PeakKiB(pid_t pid)
{
    FILE* status = std::fopen(("/proc/" + std::to_string(pid) + "/status").c_str(), "r");
    if (!status) return 0;
    long kiB = 0;
    char line[256];
    while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmHWM: %ld", &kiB) == 1) break;
    std::fclose(status);
    return kiB;
}

// isql-fb with the arguments, its output in outputPath; timed from its start
// to its end. Its peak RSS is read while it runs, every 10 ms: the rusage of
// a child counts the memory of the process that started it, until its exec.
Timed RunTimedIsql(const std::vector<std::string>& arguments, const std::string& outputPath)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    std::vector<std::string> all{"isql-fb"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    Timed timed;
    pid_t pid = 0;
    const auto start = std::chrono::steady_clock::now();
    const int spawned = posix_spawnp(&pid, "isql-fb", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return timed;
    std::atomic<bool> ended{false};
    std::atomic<long> peak{0};
    std::thread watch([&] {
        while (!ended) {
            peak = std::max(peak.load(), PeakKiB(pid));
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    int status = 0;
    const pid_t waited = waitpid(pid, &status, 0);
    timed.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ended = true;
    watch.join();
    if (waited != pid) return timed;
    timed.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    timed.rssKiB = peak;
    return timed;
}

const char* TableOf(const char* file)
{
    return bench::IsItems(file) ? "ITPEDIDOCOMPRACLIENTE" : "DETALHE";
}

// The script holds the texts that ligamor runs: a refused line shows its
// statement in its message. Per line, so that the check holds whatever a
// file's transaction does; the line leaves no row, its cycle fails, and its
// file is removed.
bool SameTextsAsLigamor(World& world, const char* file)
{
    const TransactionMode mode = world.settings.Transaction;
    world.settings.Transaction = TransactionMode::Linha;
    try {
        world.Cycle(file, 1, 1);
    } catch (const std::exception&) {
    }
    world.settings.Transaction = mode;
    std::remove((world.settings.SendDirectory + file).c_str());
    const std::string expected =
        CommandFailedText(bench::Insert(file, 1, true, SqlDate(world.clock.now), SqlTime(world.clock.now)));
    for (const test::Shown& box : world.messages.shown)
        if (box.text == expected) return true;
    std::fprintf(stderr, "expected the message:\n%s\n", expected.c_str());
    for (const test::Shown& box : world.messages.shown) std::fprintf(stderr, "shown:\n%s\n", box.text.c_str());
    return false;
}

int Wrong(const char* what, long long got, long long expected)
{
    std::fprintf(stderr, "%s: %lld, expected %lld\n", what, got, expected);
    return 1;
}

int RunIsqlCell(const std::string& engine, const char* file, int lines)
{
    test::TempDir work;
    World world(work, engine, TransactionMode::Arquivo, RefusedLinesMode::Parar, 0);
    if (bench::IsItems(file)) world.StoreForItems(lines);
    if (!SameTextsAsLigamor(world, file)) return Wrong("the script's statement is not ligamor's", 0, 1);
    // The clock the items' cycle would read.
    ++world.clock.now.second;
    const std::string script = work / "INSERTS.SQL";
    if (!bench::WriteIsqlScript(script, file, lines, SqlDate(world.clock.now), SqlTime(world.clock.now)))
        return Wrong("script not written", 0, 1);
    world.dtmain.conmain.Disconnect();

    std::vector<std::string> arguments{"-q", "-b"};
    if (engine == "server") arguments.insert(arguments.end(), {"-user", world.userName, "-password", world.password});
    arguments.insert(arguments.end(), {world.databaseName, "-i", script});
    const Timed isql = RunTimedIsql(arguments, work / "isql.out");
    const std::string output = test::ReadBytes(work / "isql.out");
    if (isql.status != 0 || output.find("Statement failed") != std::string::npos) {
        std::fprintf(stderr, "isql-fb failed (%d): %.2000s\n", isql.status, output.c_str());
        return 1;
    }
    world.Connect();
    const long long rows = world.Rows(TableOf(file));
    if (rows != lines) return Wrong("rows stored by isql-fb", rows, lines);
    std::printf("%.3f %ld 0\n", isql.seconds, isql.rssKiB);
    return 0;
}

// One cell: "<seconds> <peak RSS in KiB> <log bytes>" on standard output.
int RunOne(const std::string& engine, const char* file, const std::string& cell, int lines, std::size_t block)
{
    if (cell == "ISQL") return RunIsqlCell(engine, file, lines);
    const bool separar = cell == "ARQUIVO+SEPARAR";
    const TransactionMode mode = cell == "LINHA" ? TransactionMode::Linha : TransactionMode::Arquivo;
    test::TempDir work;
    World world(work, engine, mode, separar ? RefusedLinesMode::Separar : RefusedLinesMode::Parar,
                cell == "ARQUIVO-ANTES" ? 0 : block);
    if (bench::IsItems(file)) world.StoreForItems(lines);
    const double seconds = world.Cycle(file, lines, separar ? kRefusedEvery : 0);
    // Before anything else is read: the figure is the cycle's.
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);

    const long long refused = separar ? lines / kRefusedEvery : 0;
    const long long rows = world.Rows(TableOf(file));
    if (rows != lines - refused) return Wrong("rows stored", rows, lines - refused);
    const long long setAside =
        static_cast<long long>(LoadRefusedLines(RefusedFolder(world.settings.ResponseDirectory), file).size());
    if (setAside != refused) return Wrong("lines set aside", setAside, refused);
    if (!world.messages.shown.empty())
        return Wrong("boxes shown", static_cast<long long>(world.messages.shown.size()), 0);
    struct stat log {};
    if (stat(IntegrationLogPath(world.settings.LogDirectory).c_str(), &log) != 0) return Wrong("no log", 0, 1);
    std::printf("%.3f %ld %lld\n", seconds, usage.ru_maxrss, static_cast<long long>(log.st_size));
    return 0;
}

struct Cell {
    double seconds = 0;
    long rssKiB = 0;
    long long logBytes = 0;
};

bool RunChild(const char* self, const std::string& engine, const std::string& file, const std::string& cell,
              int lines, std::size_t block, Cell& result)
{
    const std::string command = std::string(self) + " --one " + engine + " " + file + " " + cell + " " +
                                std::to_string(lines) + " " + std::to_string(block);
    FILE* child = popen(command.c_str(), "r");
    if (!child) return false;
    const int read = std::fscanf(child, "%lf %ld %lld", &result.seconds, &result.rssKiB, &result.logBytes);
    return pclose(child) == 0 && read == 3;
}

struct Options {
    std::vector<int> counts;
    std::vector<std::string> cells = kCells;
    std::vector<std::string> files = kFiles;
    std::vector<std::string> engines{"embedded", "server"};
    int perLineUpTo = 100000;
    long block = static_cast<long>(kLinesPerBlock);
};

std::vector<std::string> SplitList(const std::string& list)
{
    std::vector<std::string> items;
    std::size_t from = 0;
    while (from <= list.size()) {
        const std::size_t comma = std::min(list.find(',', from), list.size());
        if (comma > from) items.push_back(list.substr(from, comma - from));
        from = comma + 1;
    }
    return items;
}

bool AllIn(const std::vector<std::string>& items, const std::vector<std::string>& known)
{
    return !items.empty() && std::all_of(items.begin(), items.end(), [&](const std::string& item) {
        return std::find(known.begin(), known.end(), item) != known.end();
    });
}

bool Selected(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) == 0) {
            if (i + 1 == argc) return false;
            const std::string value = argv[++i];
            if (arg == "--cells") options.cells = SplitList(value);
            else if (arg == "--files") options.files = SplitList(value);
            else if (arg == "--engines") options.engines = SplitList(value);
            else if (arg == "--per-line-up-to") options.perLineUpTo = std::atoi(value.c_str());
            else if (arg == "--block") options.block = std::atol(value.c_str());
            else return false;
        } else {
            options.counts.push_back(std::atoi(arg.c_str()));
            if (options.counts.back() < 1) return false;
        }
    }
    if (options.counts.empty()) options.counts = {10000, 100000};
    std::sort(options.counts.begin(), options.counts.end());
    return AllIn(options.cells, kCells) && AllIn(options.files, kFiles) &&
           AllIn(options.engines, {"embedded", "server"}) && options.block >= 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 7 && std::strcmp(argv[1], "--one") == 0)
        return RunOne(argv[2], argv[3], argv[4], std::atoi(argv[5]), std::strtoul(argv[6], nullptr, 10));
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: %s [LINES...] [--cells ISQL,LINHA,ARQUIVO-ANTES,ARQUIVO,ARQUIVO+SEPARAR] "
                             "[--files PRODUTO,ITEMPREVENDA] [--engines embedded,server] [--per-line-up-to N] "
                             "[--block N]\n", argv[0]);
        return 2;
    }
    if (!std::getenv("LIGAMOR_TEST_FB_PORT"))
        options.engines.erase(std::remove(options.engines.begin(), options.engines.end(), "server"),
                              options.engines.end());
    const std::size_t block = static_cast<std::size_t>(options.block);

    std::printf("lines per block of ARQUIVO and ARQUIVO+SEPARAR: %zu\n", block);
    std::printf("%-9s %-17s %8s %-15s %8s %9s %7s %8s %11s\n", "engine", "file", "lines", "cell", "seconds",
                "lines/s", "x isql", "RSS MB", "log bytes");
    std::map<std::tuple<std::string, std::string, std::string, int>, long> rss;
    for (const std::string& engine : options.engines) {
        for (const std::string& name : kFiles) {
            if (!Selected(options.files, name)) continue;
            const std::string file = name + ".TXT";
            for (int lines : options.counts) {
                double isqlRate = 0;
                long long cleanLogBytes = -1;
                for (const std::string& cell : kCells) {
                    if (!Selected(options.cells, cell) || (cell == "LINHA" && lines > options.perLineUpTo))
                        continue;
                    Cell result;
                    if (!RunChild(argv[0], engine, file, cell, lines, block, result)) {
                        std::fprintf(stderr, "%s %s %d %s failed\n", engine.c_str(), file.c_str(), lines,
                                     cell.c_str());
                        return 1;
                    }
                    // Every clean cycle logs the same texts, whatever its transactions.
                    if (cell == "LINHA" || cell == "ARQUIVO-ANTES" || cell == "ARQUIVO") {
                        if (cleanLogBytes < 0) cleanLogBytes = result.logBytes;
                        if (result.logBytes != cleanLogBytes) {
                            std::fprintf(stderr, "%s %s %d %s logged %lld bytes, the other clean cells %lld\n",
                                         engine.c_str(), file.c_str(), lines, cell.c_str(), result.logBytes,
                                         cleanLogBytes);
                            return 1;
                        }
                    }
                    const double rate = lines / result.seconds;
                    if (cell == "ISQL") isqlRate = rate;
                    rss[{engine, file, cell, lines}] = result.rssKiB;
                    char ratio[16] = "-", log[24] = "-";
                    if (isqlRate > 0) std::snprintf(ratio, sizeof ratio, "%.2f", rate / isqlRate);
                    if (cell != "ISQL") std::snprintf(log, sizeof log, "%lld", result.logBytes);
                    std::printf("%-9s %-17s %8d %-15s %8.2f %9.0f %7s %8.1f %11s\n", engine.c_str(), file.c_str(),
                                lines, cell.c_str(), result.seconds, rate, ratio, result.rssKiB / 1024.0, log);
                    std::fflush(stdout);
                }
            }
        }
    }
    std::printf("x isql: lines per second against isql-fb's on the same file, engine and lines;\n"
                "RSS: peak resident size of the cell's process (ISQL: of isql-fb);\n"
                "log bytes: the integration log's size after the cycle\n");

    const int least = options.counts.front(), most = options.counts.back();
    if (least == most) return 0;
    std::printf("\npeak RSS at %d lines against %d lines:\n", most, least);
    for (const std::string& engine : options.engines)
        for (const std::string& name : kFiles)
            for (const std::string& cell : kCells) {
                const std::string file = name + ".TXT";
                const auto small = rss.find({engine, file, cell, least}), large = rss.find({engine, file, cell, most});
                if (cell == "LINHA" || small == rss.end() || large == rss.end()) continue;
                std::printf("%-9s %-17s %-15s %8.1f MB -> %8.1f MB  %5.2fx\n", engine.c_str(), file.c_str(),
                            cell.c_str(), small->second / 1024.0, large->second / 1024.0,
                            static_cast<double>(large->second) / small->second);
            }
    return 0;
}
