#pragma once

#include "places/place.h"

#include <array>
#include <cstddef>
#include <random>
#include <vector>

namespace vistado::test {

// Great-circle distance by the haversine formula: the tests' own measure, independent of the
// chords the lookups search by.
double haversineKm(Position a, Position b);

// A position drawn evenly from the rectangle of latitudes and longitudes.
Position uniformPosition(std::mt19937& random, double latLow, double latHigh, double lonLow, double lonHigh);

// A position drawn evenly from the earth's surface.
Position anywhere(std::mt19937& random);

// The oracle of nearest-place searches: a scan over every place.
class BruteForce {
public:
    explicit BruteForce(std::vector<Position> places);

    // The number of the place nearest to `at`; of places at the same distance the first.
    std::size_t nearest(Position at) const;
    Position position(std::size_t place) const { return places[place]; }

private:
    std::vector<Position> places;
    std::vector<std::array<double, 3>> points;  // on the unit sphere, where nearer is nearer
};

}  // namespace vistado::test
