#include "places/placeindex.h"

#include "places/geonameslib.h"
#include "places/geonamestranslation.h"
#include "places/kdtree.h"
#include "places/sphere.h"

#include <span>
#include <stdexcept>
#include <string>

namespace vistado {

namespace {

Place placeOf(int number)
{
    const GeonamesCityPointer city = geonamesCity(number);
    GeonamesCity* c = city.get();
    return {geonamesText(geonames().city_get_name(c)),
            geonamesText(geonames().city_get_state(c)),
            geonamesText(geonames().city_get_country(c)),
            geonamesText(geonames().city_get_country_code(c)),
            {geonames().city_get_latitude(c), geonames().city_get_longitude(c)}};
}

}  // namespace

PlaceIndex::PlaceIndex()
{
    useUtf8GeonamesTranslations();
    const int count = geonames().getNCities();
    if (count <= 0)
        throw std::runtime_error("offline city list: no cities");
    nodes.reserve(static_cast<std::size_t>(count));
    for (int number = 0; number < count; ++number) {
        const GeonamesCityPointer city = geonamesCity(number);
        const SpherePoint point =
            unitVector({geonames().city_get_latitude(city.get()), geonames().city_get_longitude(city.get())});
        nodes.push_back({{point[0], point[1], point[2]}, number, 0});
    }
    buildKdTree(std::span<Node>(nodes));
}

std::optional<PlaceMatch> PlaceIndex::nearest(Position at, double maxKm) const
{
    if (!validPosition(at) || !(maxKm >= 0))
        return std::nullopt;
    const KdNearest best = nearestInKdTree(std::span<const Node>(nodes), unitVector(at), chord2OfKm(maxKm));
    if (best.node == kNoNode)
        return std::nullopt;
    return PlaceMatch{placeOf(nodes[best.node].city), kmOfChord2(best.chord2)};
}

}  // namespace vistado
