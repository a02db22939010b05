#pragma once

#include "places/place.h"

#include <array>

namespace vistado {

inline constexpr double kEarthRadiusKm = 6371.0088;  // mean radius

// A position as a point on the unit sphere. The point nearest by straight-line (chord)
// distance is also the nearest by great-circle distance, so searches over such points need
// no special handling of the antimeridian or the poles.
using SpherePoint = std::array<double, 3>;

// Latitude within -90..90 and longitude within -180..180, both finite.
bool validPosition(Position at);

SpherePoint unitVector(Position at);

// Squared chord between two points, given as anything with three coordinates.
template <typename A, typename B>
double chord2(const A& a, const B& b)
{
    const double dx = a[0] - b[0], dy = a[1] - b[1], dz = a[2] - b[2];
    return dx * dx + dy * dy + dz * dz;
}

// Squared chord of an arc of km on the earth; the whole sphere beyond half its circumference.
double chord2OfKm(double km);

double kmOfChord2(double chord2);

}  // namespace vistado
