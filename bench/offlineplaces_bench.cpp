// The offline place lookup: the gazetteer (its first lookup with the loading of its file, its
// lookups per second, the memory it keeps) beside libgeonames' city index it replaces.
#include "places/gazetteer.h"
#include "places/offlineplaces.h"
#include "places/placeindex.h"

#include <benchmark/benchmark.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace vistado {
namespace {

// Where the program finds it, here the build tree's.
const std::filesystem::path& gazetteerFile()
{
    static const std::filesystem::path file = OfflinePlaces::defaultGazetteerFile();
    return file;
}

bool gazetteerMissing(benchmark::State& state)
{
    if (std::filesystem::exists(gazetteerFile()))
        return false;
    state.SkipWithError(("no gazetteer at " + gazetteerFile().string()).c_str());
    return true;
}

double residentMegabytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmRSS:"))
            return std::stod(line.substr(6)) / 1024.0;
    return 0.0;
}

// Positions spread evenly over the sphere (most of them far from any place) or over Europe's
// land and coasts (most of them with a place within reach, so names are fetched).
std::vector<Position> randomPositions(bool europe)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<Position> positions(100000);
    for (Position& at : positions) {
        if (europe)
            at = {36.0 + 24.0 * unit(random), -10.0 + 40.0 * unit(random)};
        else
            at = {std::asin(2.0 * unit(random) - 1.0) * 180.0 / std::numbers::pi, -180.0 + 360.0 * unit(random)};
    }
    return positions;
}

template <typename Lookup>
void lookups(benchmark::State& state, const Lookup& lookup)
{
    const std::vector<Position> positions = randomPositions(state.range(0) != 0);
    std::size_t next = 0;
    std::size_t found = 0;
    for (auto _ : state) {
        const auto match = lookup.nearest(positions[next]);
        found += match.has_value();
        benchmark::DoNotOptimize(match);
        next = (next + 1) % positions.size();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["with_place"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}

// Mapping and checking the file and the first lookup, as the first photo of a run pays for
// them. The single first one also pays for reading the file from the disk cache.
void BM_GazetteerFirstLookup(benchmark::State& state)
{
    if (gazetteerMissing(state))
        return;
    for (auto _ : state) {
        const Gazetteer gazetteer(gazetteerFile());
        benchmark::DoNotOptimize(gazetteer.nearest({47.4167, 10.9833}));
    }
}
BENCHMARK(BM_GazetteerFirstLookup)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GazetteerFirstLookup)->Unit(benchmark::kMillisecond);

void BM_GazetteerNearest(benchmark::State& state)
{
    if (gazetteerMissing(state))
        return;
    static const Gazetteer gazetteer(gazetteerFile());
    lookups(state, gazetteer);
}
BENCHMARK(BM_GazetteerNearest)->ArgName("europe")->Arg(0)->Arg(1);

// Names in German, as a German desktop asks for them (C.UTF-8 with LANGUAGE=de stands in for
// an installed de_DE locale).
void BM_GazetteerNearestGerman(benchmark::State& state)
{
    if (gazetteerMissing(state))
        return;
    static const Gazetteer gazetteer(gazetteerFile());
    setenv("LANGUAGE", "de", 1);
    std::setlocale(LC_MESSAGES, "C.UTF-8");
    lookups(state, gazetteer);
    std::setlocale(LC_MESSAGES, "C");
    unsetenv("LANGUAGE");
}
BENCHMARK(BM_GazetteerNearestGerman)->ArgName("europe")->Arg(1);

// The memory the gazetteer keeps: the process's resident memory after a million lookups all
// over the earth, beyond what it held before the file was opened (which reads every record
// once), and the file's size.
void BM_GazetteerResidentMemory(benchmark::State& state)
{
    if (gazetteerMissing(state))
        return;
    const std::vector<Position> positions = randomPositions(false);
    for (auto _ : state) {
        const double before = residentMegabytes();
        const Gazetteer gazetteer(gazetteerFile());
        for (int i = 0; i < 1000000; ++i)
            benchmark::DoNotOptimize(gazetteer.nearest(positions[i % positions.size()]));
        state.counters["resident_MB"] = residentMegabytes() - before;
    }
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(gazetteerFile())) / (1024.0 * 1024.0);
}
BENCHMARK(BM_GazetteerResidentMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// The peer: libgeonames' 24,000 cities, indexed when the program starts.
void BM_PlaceIndexBuild(benchmark::State& state)
{
    for (auto _ : state) {
        const PlaceIndex index;
        benchmark::DoNotOptimize(index.size());
    }
}
// The single first build also pays for loading the city list out of libgeonames, as the
// program does once at its start; the repeated builds show the index alone.
BENCHMARK(BM_PlaceIndexBuild)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlaceIndexBuild)->Unit(benchmark::kMillisecond);

void BM_PlaceIndexNearest(benchmark::State& state)
{
    static const PlaceIndex index;
    lookups(state, index);
}
BENCHMARK(BM_PlaceIndexNearest)->ArgName("europe")->Arg(0)->Arg(1);

}  // namespace
}  // namespace vistado

BENCHMARK_MAIN();
