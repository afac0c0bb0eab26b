// The log view's refill on a large log: the first full load, then the refill
// at a tick that added nothing and at one that added 100 lines.
#include <sys/resource.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <string>

#include "engine/integration_log.h"
#include "runtime/text1252.h"
#include "runtime/text_file.h"
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

std::string LogLine(int n)
{
    // About 100 bytes, as the record processors write them, accents included.
    char number[16];
    std::snprintf(number, sizeof number, "%07d", n);
    return ligamor::Cp1252(" INSERÇÃO - CLIENTE -  Data: 06/12/2026 Hora: 14:37:01 Código: ") + number +
           " Nome: JOAO DA SILVA LTDA\r\n";
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 1000000;

    ligamor::test::TempDir dir;
    const std::string path = ligamor::IntegrationLogPath(dir.Path());
    std::string log;
    for (int i = 0; i < lines; ++i) log += LogLine(i);
    ligamor::test::WriteBytes(path, log);
    const double megabytes = static_cast<double>(log.size()) / 1e6;
    log.clear();
    log.shrink_to_fit();

    ligamor::LogViewEdit view;
    view.resize(581, 522);
    view.show();
    const long rssBefore = PeakRssMb();

    auto start = Clock::now();
    ligamor::ReloadLogView(view, path);
    app.processEvents();
    const double full = Seconds(start);
    const long rssAfter = PeakRssMb();

    start = Clock::now();
    ligamor::ReloadLogView(view, path);
    app.processEvents();
    const double nothing = Seconds(start);

    std::string added;
    for (int i = 0; i < 100; ++i) added += LogLine(lines + i);
    ligamor::AppendToFile(path, added);
    start = Clock::now();
    ligamor::ReloadLogView(view, path);
    app.processEvents();
    const double hundred = Seconds(start);

    std::printf("log: %d lines, %.1f MB, view holds %d lines\n", lines, megabytes, view.blockCount());
    std::printf("first full load:        %9.3f s, peak RSS %ld MB (before the load %ld MB)\n", full, rssAfter,
                rssBefore);
    std::printf("refill, nothing added:  %9.6f s (%.4f%% of the full load)\n", nothing, 100 * nothing / full);
    std::printf("refill, 100 lines added:%9.6f s (%.4f%% of the full load)\n", hundred, 100 * hundred / full);
    return 0;
}
