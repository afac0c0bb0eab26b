// The log view's refill on a large log: the first full load, then the refill
// at a tick that added nothing and at one that added 100 lines, and what the
// view costs in memory beside the idle window. The log is written in pieces,
// so that the benchmark itself never holds it and the idle figure is the
// window's own.
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "bench_log_lines.h"
#include "engine/integration_log.h"
#include "support/temp_dir.h"
#include "ui/log_view_edit.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

long PeakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

long RssMb()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024) / 1024;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 1000000;

    ligamor::test::TempDir dir;
    const std::string path = ligamor::IntegrationLogPath(dir.Path());
    const double megabytes = static_cast<double>(ligamor::bench::WriteLines(path, 0, lines)) / 1e6;

    ligamor::LogViewEdit view;
    view.resize(581, 522);
    view.show();
    app.processEvents();
    const long idle = RssMb();

    auto start = Clock::now();
    ligamor::ReloadLogView(view, path);
    app.processEvents();
    const double full = Seconds(start);
    const long peak = PeakRssMb();
    const long held = RssMb();

    start = Clock::now();
    ligamor::ReloadLogView(view, path);
    app.processEvents();
    const double nothing = Seconds(start);

    ligamor::bench::WriteLines(path, lines, 100);
    start = Clock::now();
    ligamor::ReloadLogView(view, path);
    app.processEvents();
    const double hundred = Seconds(start);

    std::printf("log: %d lines, %.1f MB, view holds %zu lines\n", lines, megabytes, view.Lines().Count());
    std::printf("first full load:        %9.3f s\n", full);
    std::printf("refill, nothing added:  %9.6f s (%.4f%% of the full load)\n", nothing, 100 * nothing / full);
    std::printf("refill, 100 lines added:%9.6f s (%.4f%% of the full load)\n", hundred, 100 * hundred / full);
    std::printf("memory: idle window %ld MB, peak during the load %ld MB (+%ld), held after it %ld MB (+%ld)\n", idle,
                peak, peak - idle, held, held - idle);
    return 0;
}
