// How many files per second the engine reads the GPS position of, as
// `vistado-meta --gps` does, and the same figure for one process of
// vistado-meta, jhead and exiv2 over all files (the last two when installed).
//
//   bench_gps [benchmark options] [FOLDER]
// The folder may also be given by VISTADO_BENCH_DIR; by default it is the
// sample files' JPEG folder.

#include "meta/gpsposition.h"
#include "meta/imgdata.h"
#include "meta/settings.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

std::vector<std::string> files;

std::vector<std::string> ImageFiles(const std::string& folder)
{
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (entry.is_regular_file() && (extension == ".jpg" || extension == ".jpeg" || extension == ".jpe"))
            found.push_back(entry.path().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

// Runs a program with its output thrown away; false when it cannot start.
bool RunQuietly(const std::vector<std::string>& command)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const bool started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (started)
        waitpid(pid, &status, 0);
    return started;
}

bool Installed(const std::string& program)
{
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

void SetFileRate(benchmark::State& state)
{
    state.counters["files_per_second"] =
        benchmark::Counter(static_cast<double>(files.size()), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_EngineGps(benchmark::State& state)
{
    vistado::SetDecimalSeparator('.');
    vistado::SetGpsRenderingMode(0);
    size_t positions = 0;
    for (auto _ : state) {
        for (const std::string& file : files) {
            vistado::TimgData image(vistado::kDecodeAll);
            if (image.OpenImage(file) && image.ExifPresent())
                positions += !vistado::GpsPositionText(*image.exifDecoder).empty();
        }
    }
    benchmark::DoNotOptimize(positions);
    SetFileRate(state);
}

void BM_Process(benchmark::State& state, std::vector<std::string> command)
{
    command.insert(command.end(), files.begin(), files.end());
    for (auto _ : state)
        RunQuietly(command);
    SetFileRate(state);
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    std::string folder = VISTADO_CORPUS_DIR "/jpeg";
    if (const char* fromEnvironment = std::getenv("VISTADO_BENCH_DIR"))
        folder = fromEnvironment;
    if (argc > 1)
        folder = argv[1];
    if (!std::filesystem::is_directory(folder)) {
        std::cerr << "bench_gps: no folder " << folder << "\n";
        return 1;
    }
    files = ImageFiles(folder);
    std::cerr << "bench_gps: " << files.size() << " files in " << folder << "\n";

    benchmark::RegisterBenchmark("engine_gps", BM_EngineGps);
    benchmark::RegisterBenchmark("vistado-meta --gps", BM_Process,
                                 std::vector<std::string>{VISTADO_META_TOOL, "--gps"})
        ->UseRealTime();
    if (Installed("jhead"))
        benchmark::RegisterBenchmark("jhead", BM_Process, std::vector<std::string>{"jhead"})->UseRealTime();
    if (Installed("exiv2"))
        benchmark::RegisterBenchmark("exiv2 -g Exif.GPSInfo", BM_Process,
                                     std::vector<std::string>{"exiv2", "-q", "-g", "Exif.GPSInfo", "-pt"})
            ->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
