#include "searchoracle.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace vistado::test {

namespace {

constexpr double kToRadians = std::numbers::pi / 180.0;

std::array<double, 3> pointOf(Position at)
{
    const double lat = at.latitude * kToRadians, lon = at.longitude * kToRadians;
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

}  // namespace

Position uniformPosition(std::mt19937& random, double latLow, double latHigh, double lonLow, double lonHigh)
{
    return {std::uniform_real_distribution<double>(latLow, latHigh)(random),
            std::uniform_real_distribution<double>(lonLow, lonHigh)(random)};
}

Position anywhere(std::mt19937& random)
{
    const double z = std::uniform_real_distribution<double>(-1.0, 1.0)(random);
    return {std::asin(z) / kToRadians, std::uniform_real_distribution<double>(-180.0, 180.0)(random)};
}

double haversineKm(Position a, Position b)
{
    const double dLat = (b.latitude - a.latitude) * kToRadians;
    const double dLon = (b.longitude - a.longitude) * kToRadians;
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2)
        + std::cos(a.latitude * kToRadians) * std::cos(b.latitude * kToRadians) * std::sin(dLon / 2)
            * std::sin(dLon / 2);
    return 2.0 * 6371.0088 * std::asin(std::min(1.0, std::sqrt(h)));
}

BruteForce::BruteForce(std::vector<Position> places) : places(std::move(places))
{
    for (const Position& place : this->places)
        points.push_back(pointOf(place));
}

std::size_t BruteForce::nearest(Position at) const
{
    const std::array<double, 3> target = pointOf(at);
    double best = std::numeric_limits<double>::infinity();
    std::size_t nearest = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double dx = points[i][0] - target[0], dy = points[i][1] - target[1], dz = points[i][2] - target[2];
        const double distance = dx * dx + dy * dy + dz * dz;
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

}  // namespace vistado::test
