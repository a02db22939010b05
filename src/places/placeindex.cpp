#include "places/placeindex.h"

#include "places/geonameslib.h"

#include <libintl.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <stdexcept>

namespace vistado {

namespace {

constexpr double kEarthRadiusKm = 6371.0088;  // mean radius

struct CityFree {
    void operator()(GeonamesCity* city) const { geonames().city_free(city); }
};
using City = std::unique_ptr<GeonamesCity, CityFree>;

City city_at(int number)
{
    City city(geonames().getCity(number));
    if (!city)
        throw std::runtime_error("offline city list: no city number " + std::to_string(number));
    return city;
}

std::string text(const char* value)
{
    return value ? value : "";
}

bool valid(Position at)
{
    return std::isfinite(at.latitude) && std::isfinite(at.longitude) && std::abs(at.latitude) <= 90.0
        && std::abs(at.longitude) <= 180.0;
}

std::array<double, 3> unitVector(Position at)
{
    const double lat = at.latitude * std::numbers::pi / 180.0;
    const double lon = at.longitude * std::numbers::pi / 180.0;
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

double chord2(const std::array<double, 3>& a, const std::array<double, 3>& b)
{
    const double dx = a[0] - b[0], dy = a[1] - b[1], dz = a[2] - b[2];
    return dx * dx + dy * dy + dz * dz;
}

// Squared chord of an arc of km on the earth; the whole sphere beyond half its circumference.
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

Place placeOf(int number)
{
    const City city = city_at(number);
    GeonamesCity* c = city.get();
    return {text(geonames().city_get_name(c)),
            text(geonames().city_get_state(c)),
            text(geonames().city_get_country(c)),
            text(geonames().city_get_country_code(c)),
            {geonames().city_get_latitude(c), geonames().city_get_longitude(c)}};
}

}  // namespace

PlaceIndex::PlaceIndex()
{
    // gettext converts translations to the character set of LC_CTYPE unless the domain is
    // bound to one; names must stay UTF-8 whatever the locale.
    if (!bind_textdomain_codeset("geonames", "UTF-8"))
        throw std::runtime_error("offline city list: cannot select UTF-8 for its translations");

    const int count = geonames().getNCities();
    if (count <= 0)
        throw std::runtime_error("offline city list: no cities");
    nodes.reserve(static_cast<std::size_t>(count));
    for (int number = 0; number < count; ++number) {
        const City city = city_at(number);
        const Position at{geonames().city_get_latitude(city.get()), geonames().city_get_longitude(city.get())};
        nodes.push_back({unitVector(at), number, 0});
    }
    build(0, nodes.size());
}

// Splits each range on the coordinate it spreads most along: the points lie on a sphere's
// surface, where cycling through x, y and z would cut badly near the poles.
void PlaceIndex::build(std::size_t begin, std::size_t end)
{
    if (end - begin < 2)
        return;
    Point low = nodes[begin].point, high = low;
    for (std::size_t i = begin + 1; i < end; ++i)
        for (int k = 0; k < 3; ++k) {
            low[k] = std::min(low[k], nodes[i].point[k]);
            high[k] = std::max(high[k], nodes[i].point[k]);
        }
    int axis = 0;
    for (int k = 1; k < 3; ++k)
        if (high[k] - low[k] > high[axis] - low[axis])
            axis = k;

    const std::size_t middle = begin + (end - begin) / 2;
    std::nth_element(nodes.begin() + begin, nodes.begin() + middle, nodes.begin() + end,
                     [axis](const Node& a, const Node& b) { return a.point[axis] < b.point[axis]; });
    nodes[middle].axis = axis;
    build(begin, middle);
    build(middle + 1, end);
}

void PlaceIndex::search(std::size_t begin, std::size_t end, const Point& target, Best& best) const
{
    if (begin >= end)
        return;
    const std::size_t middle = begin + (end - begin) / 2;
    const Node& node = nodes[middle];
    const double distance2 = chord2(node.point, target);
    if (distance2 <= best.chord2) {
        best.chord2 = distance2;
        best.city = node.city;
    }
    const double offset = target[node.axis] - node.point[node.axis];
    const bool lowFirst = offset < 0;
    search(lowFirst ? begin : middle + 1, lowFirst ? middle : end, target, best);
    if (offset * offset <= best.chord2)
        search(lowFirst ? middle + 1 : begin, lowFirst ? end : middle, target, best);
}

std::optional<PlaceMatch> PlaceIndex::nearest(Position at, double maxKm) const
{
    if (!valid(at) || !(maxKm >= 0))
        return std::nullopt;
    Best best{chord2OfKm(maxKm), -1};
    search(0, nodes.size(), unitVector(at), best);
    if (best.city < 0)
        return std::nullopt;
    return PlaceMatch{placeOf(best.city), kmOfChord2(best.chord2)};
}

}  // namespace vistado
