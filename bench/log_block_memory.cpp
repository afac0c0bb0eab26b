// Peak RSS of one file's log block of 10,000 and of n lines (default
// 1,000,000) of about 150 bytes, from the first text to the end of the append:
// spooled by LogBlock, and held in a list of texts for AppendToIntegrationLog
// as before, for comparison. Each cell runs in a process of its own, so that
// its peak RSS is its own.
//   bench_log_block_memory [lines]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/integration_log.h"
#include "engine/log_block.h"
#include "support/temp_dir.h"

using namespace ligamor;

namespace {

// About 150 bytes, as a customer's log text is.
std::string Text(int n)
{
    return " INSERCAO - CLIENTE -  Data: 06/12/2026 Hora: 14:37:01 Codigo: " + std::to_string(1000000 + n) +
           " Nome: MERCADO BOA VISTA LTDA Cidade: PORTO ALEGRE UF: RS CEP: 90010000";
}

// One cell: "<seconds> <peak RSS in KiB> <log bytes>" on standard output.
int RunOne(const std::string& how, int lines)
{
    test::TempDir dir;
    const auto start = std::chrono::steady_clock::now();
    if (how == "spool") {
        LogBlock block(dir.Path());
        for (int i = 0; i < lines; ++i) block.Add(Text(i));
        block.AppendToLog();
    } else {
        std::vector<std::string> texts;
        for (int i = 0; i < lines; ++i) texts.push_back(Text(i));
        AppendToIntegrationLog(dir.Path(), texts);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const std::size_t bytes = test::ReadBytes(IntegrationLogPath(dir.Path())).size();
    std::printf("%.3f %ld %zu\n", seconds, usage.ru_maxrss, bytes);
    return 0;
}

struct Cell {
    double seconds = 0;
    long rssKiB = 0;
    std::size_t logBytes = 0;
};

bool RunChild(const char* self, const char* how, int lines, Cell& cell)
{
    const std::string command = std::string(self) + " --one " + how + " " + std::to_string(lines);
    FILE* child = popen(command.c_str(), "r");
    if (!child) return false;
    const int read = std::fscanf(child, "%lf %ld %zu", &cell.seconds, &cell.rssKiB, &cell.logBytes);
    return pclose(child) == 0 && read == 3;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--one") == 0) return RunOne(argv[2], std::atoi(argv[3]));
    const int n = argc > 1 ? std::atoi(argv[1]) : 1000000;
    std::printf("%-7s %9s %8s %11s %9s\n", "block", "lines", "seconds", "peak RSS", "log");
    for (const char* how : {"spool", "list"}) {
        for (const int lines : {10000, n}) {
            Cell cell;
            if (!RunChild(argv[0], how, lines, cell)) {
                std::fprintf(stderr, "%s %d failed\n", how, lines);
                return 1;
            }
            std::printf("%-7s %9d %8.2f %8.1f MB %6.1f MB\n", how, lines, cell.seconds, cell.rssKiB / 1024.0,
                        cell.logBytes / 1048576.0);
            std::fflush(stdout);
        }
    }
    std::printf("spool: LogBlock; list: the texts in a vector for AppendToIntegrationLog\n");
    return 0;
}
