#include "places/placeindex.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace vistado::bench {
namespace {

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

// Positions spread evenly over the sphere (most of them far from any city) or over Europe's
// land and coasts (most of them with a city within reach, so names are fetched).
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

void BM_NearestPlace(benchmark::State& state)
{
    static const PlaceIndex index;
    const std::vector<Position> positions = randomPositions(state.range(0) != 0);
    std::size_t next = 0;
    std::size_t found = 0;
    for (auto _ : state) {
        const auto match = index.nearest(positions[next]);
        found += match.has_value();
        benchmark::DoNotOptimize(match);
        next = (next + 1) % positions.size();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["with_place"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_NearestPlace)->ArgName("europe")->Arg(0)->Arg(1);

}  // namespace
}  // namespace vistado::bench

BENCHMARK_MAIN();
