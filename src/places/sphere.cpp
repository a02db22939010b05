#include "places/sphere.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vistado {

bool validPosition(Position at)
{
    return std::isfinite(at.latitude) && std::isfinite(at.longitude) && std::abs(at.latitude) <= 90.0
        && std::abs(at.longitude) <= 180.0;
}

SpherePoint unitVector(Position at)
{
    const double lat = at.latitude * std::numbers::pi / 180.0;
    const double lon = at.longitude * std::numbers::pi / 180.0;
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

double chord2OfKm(double km)
{
    const double angle = km / kEarthRadiusKm;
    if (angle >= std::numbers::pi)
        return 4.0;
    const double chord = 2.0 * std::sin(angle / 2.0);
    return chord * chord;
}

double kmOfChord2(double chord2)
{
    return 2.0 * kEarthRadiusKm * std::asin(std::min(1.0, std::sqrt(chord2) / 2.0));
}

}  // namespace vistado
