#pragma once

#include <string>

namespace vistado {

// A position in decimal degrees, negative for south and west.
struct Position {
    double latitude;
    double longitude;
};

// A place of the offline lookup. Names are UTF-8, in the language of the process's messages
// locale where a translation is known, otherwise in English.
struct Place {
    std::string name;
    std::string state;        // the first-level region; empty where the list names none
    std::string country;
    std::string countryCode;  // two letters, ISO 3166
    Position position;
};

struct PlaceMatch {
    Place place;
    double distanceKm;  // great-circle distance from the position asked about
};

// A position farther than this from every place has no place.
inline constexpr double kPlaceRadiusKm = 50.0;

}  // namespace vistado
