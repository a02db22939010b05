#pragma once

#include "places/place.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace vistado {

// The nearest-city lookup over the GeoNames city list that libgeonames carries.
//
// Every city is a point on the unit sphere (sphere.h), held in a k-d tree (kdtree.h).
//
// The tree keeps only the positions; names are fetched for the city found, which keeps the
// start-up short and gives names in the messages locale of the moment of the lookup.
// Translations need a messages locale other than "C" (setlocale(LC_ALL, "") with LANG or
// LC_MESSAGES naming an installed locale, or C.UTF-8); LANGUAGE then picks the language.
class PlaceIndex {
public:
    // Throws std::runtime_error when the city list cannot be read.
    PlaceIndex();

    // The nearest city within maxKm of `at`; none when there is no such city or the position
    // lies outside -90..90 latitude or -180..180 longitude.
    std::optional<PlaceMatch> nearest(Position at, double maxKm = kPlaceRadiusKm) const;

    std::size_t size() const { return nodes.size(); }

private:
    struct Node {
        double point[3];
        int city;  // the city's number in libgeonames
        int axis;
    };

    std::vector<Node> nodes;
};

}  // namespace vistado
