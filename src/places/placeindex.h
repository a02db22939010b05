#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace vistado {

// A position in decimal degrees, negative for south and west.
struct Position {
    double latitude;
    double longitude;
};

// A city of the offline list. Names are UTF-8, in the language of the process's messages
// locale where the list has a translation, otherwise in English.
struct Place {
    std::string name;
    std::string state;        // empty where the list names none
    std::string country;
    std::string countryCode;  // two letters, ISO 3166
    Position position;
};

struct PlaceMatch {
    Place place;
    double distanceKm;  // great-circle distance from the position asked about
};

// A position farther than this from every city has no place.
inline constexpr double kPlaceRadiusKm = 50.0;

// The nearest-city lookup over the GeoNames city list that libgeonames carries.
//
// Every city is a point on the unit sphere, held in a k-d tree. The point nearest by
// straight-line (chord) distance is also the nearest by great-circle distance, so the
// antimeridian and the poles need no special handling.
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
    using Point = std::array<double, 3>;

    struct Node {
        Point point;
        int city;  // the city's number in libgeonames
        int axis;  // the coordinate this node splits its subtree on
    };

    struct Best {
        double chord2;  // squared chord distance of the best city so far, or the limit
        int city;       // -1 while none
    };

    void build(std::size_t begin, std::size_t end);
    void search(std::size_t begin, std::size_t end, const Point& target, Best& best) const;

    // Balanced tree stored in place: the node of a range is its middle element, the
    // ranges before and after it are its two subtrees.
    std::vector<Node> nodes;
};

}  // namespace vistado
