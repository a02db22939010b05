// Loading a GPS track: a GPX file of a million points (VISTADO_BENCH_POINTS changes the
// number), read in a child process so that its peak memory is the load's alone. Prints the
// load's wall time (load_s, the target is under 3 s), the processor time the child took
// (cpu_s, the same on a busy machine) and its peak resident memory (peak_rss_mb, the target is
// under 200 MB).
#include "gpxbuilder.h"

#include "track/track.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vistado {
namespace {

int64_t pointCount()
{
    const char* text = std::getenv("VISTADO_BENCH_POINTS");
    return text != nullptr && std::atoll(text) > 0 ? std::atoll(text) : 1000000;
}

// A logger's day: a point a second, a new segment every 10,000 points, heights everywhere.
// Written point by point, so that this process stays small before the child is forked.
std::string writeTrack(int64_t points)
{
    const char* temporary = std::getenv("TMPDIR");
    const std::filesystem::path file =
        std::filesystem::path(temporary != nullptr && *temporary != 0 ? temporary : "/tmp") /
        ("vistado-track-bench-" + std::to_string(getpid()) + ".gpx");
    std::ofstream out(file, std::ios::binary);
    out << test::gpxBegin() << "<trkseg>\n";
    for (int64_t i = 0; i < points; ++i) {
        if (i > 0 && i % 10000 == 0)
            out << "</trkseg>\n<trkseg>\n";
        out << test::gpxTrackPoint({1721037600.0 + static_cast<double>(i), 48.0 + i * 1e-6, 11.0 + i * 1e-6,
                                    500.0 + static_cast<double>(i % 1000) / 10});
    }
    out << "</trkseg>\n" << test::gpxEnd();
    return file.string();
}

void TrackLoad(benchmark::State& state)
{
    const int64_t points = pointCount();
    const std::string file = writeTrack(points);
    const double fileMegabytes = static_cast<double>(std::filesystem::file_size(file)) / (1024 * 1024);
    for (auto _ : state) {
        int seconds[2];
        if (pipe(seconds) != 0) {
            state.SkipWithError("no pipe");
            break;
        }
        const pid_t child = fork();
        if (child == 0) {
            const auto start = std::chrono::steady_clock::now();
            const Track track = readTrackFiles({file});
            const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            const bool whole = static_cast<int64_t>(track.points().size()) == points;
            _exit(write(seconds[1], &elapsed, sizeof elapsed) == sizeof elapsed && whole ? 0 : 1);
        }
        close(seconds[1]);
        double elapsed = 0;
        const bool reported = read(seconds[0], &elapsed, sizeof elapsed) == sizeof elapsed;
        close(seconds[0]);
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        if (!reported || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the load failed or lost points");
            break;
        }
        state.SetIterationTime(elapsed);
        state.counters["load_s"] = elapsed;
        state.counters["cpu_s"] = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                                  static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        state.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024;
    }
    state.counters["points"] = static_cast<double>(points);
    state.counters["file_mb"] = fileMegabytes;
    std::filesystem::remove(file);
}

BENCHMARK(TrackLoad)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vistado

BENCHMARK_MAIN();
