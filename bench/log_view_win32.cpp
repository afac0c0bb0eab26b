// The Windows log view's refill on a large log, as bench/log_view.cpp
// measures the Qt view: the first full load, then the refill at a tick that
// added nothing and at one that added 100 lines, and the working set beside
// the idle window. Needs a display (under Wine, an X server).
#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_log_lines.h"
#include "engine/integration_log.h"
#include "support/temp_dir.h"
#include "win32/cycle_progress_bar.h"
#include "win32/log_view_window.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

PROCESS_MEMORY_COUNTERS Memory()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

long Mb(SIZE_T bytes)
{
    return static_cast<long>(bytes / (1024 * 1024));
}

// Paints what a fill changed, as the window would before the next message.
void Repaint(HWND window)
{
    UpdateWindow(window);
    ligamor::PumpMessages();
}

}  // namespace

int main(int argc, char* argv[])
{
    const int lines = argc > 1 ? std::atoi(argv[1]) : 1000000;

    ligamor::test::TempDir dir;
    const std::string path = ligamor::IntegrationLogPath(dir.Path());
    const double megabytes = static_cast<double>(ligamor::bench::WriteLines(path, 0, lines)) / 1e6;

    HWND frame = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 560, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    ligamor::LogViewWindow view;
    view.Create(frame, 1, RECT{0, 0, 581, 522});
    Repaint(frame);
    const long idle = Mb(Memory().WorkingSetSize);

    auto start = Clock::now();
    ligamor::ReloadLogView(view, path);
    Repaint(view.Handle());
    const double full = Seconds(start);
    const PROCESS_MEMORY_COUNTERS loaded = Memory();
    const long peak = Mb(loaded.PeakWorkingSetSize);
    const long held = Mb(loaded.WorkingSetSize);

    start = Clock::now();
    ligamor::ReloadLogView(view, path);
    Repaint(view.Handle());
    const double nothing = Seconds(start);

    ligamor::bench::WriteLines(path, lines, 100);
    start = Clock::now();
    ligamor::ReloadLogView(view, path);
    const double reloadOnly = Seconds(start);
    Repaint(view.Handle());
    const double hundred = Seconds(start);

    std::printf("log: %d lines, %.1f MB, view holds %zu lines\n", lines, megabytes, view.Lines().Count());
    std::printf("first full load:        %9.3f s\n", full);
    std::printf("refill, nothing added:  %9.6f s (%.4f%% of the full load)\n", nothing, 100 * nothing / full);
    std::printf("refill, 100 lines added:%9.6f s (%.4f%% of the full load), of which %.6f s before drawing\n",
                hundred, 100 * hundred / full, reloadOnly);
    std::printf("working set: idle window %ld MB, peak during the load %ld MB (+%ld), held after it %ld MB (+%ld)\n",
                idle, peak, peak - idle, held, held - idle);
    DestroyWindow(frame);
    return 0;
}
