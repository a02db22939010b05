#pragma once

#include "places/place.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vistado {

// A city of libgeonames' list with its English names and the key of its translations.
struct GeonamesListCity {
    std::string name;
    std::string country;
    std::string countryCode;
    Position position;
    std::uint32_t id;  // GeoNames id; 0 when the library did not tell it
};

// Every city of libgeonames' list. Throws std::runtime_error when the library cannot be read.
std::vector<GeonamesListCity> geonamesCities();

}  // namespace vistado
