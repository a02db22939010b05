// How many files per second the engine reads the GPS position of, as
// `vistado-meta --gps` does, and the same figure for one process of
// vistado-meta, jhead and exiv2 over all files (the last two when installed).
//
//   gps_bench [benchmark options] [FOLDER]
// The folder may also be given by VISTADO_BENCH_DIR; by default it is the
// sample files' JPEG folder.

#include "benchfiles.h"

#include "meta/gpsposition.h"
#include "meta/imgdata.h"
#include "meta/settings.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace vistado::bench {
namespace {

using vistado::bench::installed;
using vistado::bench::runQuietly;

std::vector<std::string> files;

void setFileRate(benchmark::State& state)
{
    state.counters["files_per_second"] =
        benchmark::Counter(static_cast<double>(files.size()), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_EngineGps(benchmark::State& state)
{
    vistado::setDecimalSeparator('.');
    vistado::setGpsRenderingMode(0);
    size_t positions = 0;
    for (auto _ : state) {
        for (const std::string& file : files) {
            vistado::TimgData image(vistado::kDecodeAll);
            if (image.OpenImage(file) && image.ExifPresent())
                positions += !vistado::gpsPositionText(*image.exifDecoder).empty();
        }
    }
    benchmark::DoNotOptimize(positions);
    setFileRate(state);
}

void BM_Process(benchmark::State& state, std::vector<std::string> command)
{
    command.insert(command.end(), files.begin(), files.end());
    for (auto _ : state)
        runQuietly(command);
    setFileRate(state);
}

}  // namespace
}  // namespace vistado::bench

int main(int argc, char** argv)
{
    using namespace vistado::bench;
    benchmark::Initialize(&argc, argv);
    const std::string folder = benchFolder(argc, argv);
    if (!std::filesystem::is_directory(folder)) {
        std::cerr << "gps_bench: no folder " << folder << "\n";
        return 1;
    }
    files = vistado::bench::jpegFiles(folder);
    std::cerr << "gps_bench: " << files.size() << " files in " << folder << "\n";

    benchmark::RegisterBenchmark("engine_gps", BM_EngineGps);
    benchmark::RegisterBenchmark("vistado-meta --gps", BM_Process,
                                 std::vector<std::string>{VISTADO_META_TOOL, "--gps"})
        ->UseRealTime();
    if (installed("jhead"))
        benchmark::RegisterBenchmark("jhead", BM_Process, std::vector<std::string>{"jhead"})->UseRealTime();
    if (installed("exiv2"))
        benchmark::RegisterBenchmark("exiv2 -g Exif.GPSInfo", BM_Process,
                                     std::vector<std::string>{"exiv2", "-q", "-g", "Exif.GPSInfo", "-pt"})
            ->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
