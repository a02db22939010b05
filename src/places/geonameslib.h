#pragma once

#include <geonames.h>

#include <memory>
#include <string>

namespace vistado {

// The functions of libgeonames that the offline city list uses. The library is opened when the
// list is first needed, not linked: linked, it would make every start of the program and of
// vistado-meta load GLib and GIO, whether or not a place is looked up.
struct GeonamesLibrary {
    decltype(&geonames_get_n_cities) getNCities;
    decltype(&geonames_get_city) getCity;
    decltype(&geonames_city_free) city_free;
    decltype(&geonames_city_get_name) city_get_name;
    decltype(&geonames_city_get_state) city_get_state;
    decltype(&geonames_city_get_country) city_get_country;
    decltype(&geonames_city_get_country_code) city_get_country_code;
    decltype(&geonames_city_get_latitude) city_get_latitude;
    decltype(&geonames_city_get_longitude) city_get_longitude;
};

// Opens libgeonames once for the process; throws std::runtime_error when the library or one of
// its functions is missing (a later call tries again).
const GeonamesLibrary& geonames();

struct GeonamesCityFree {
    void operator()(GeonamesCity* city) const { geonames().city_free(city); }
};
using GeonamesCityPointer = std::unique_ptr<GeonamesCity, GeonamesCityFree>;

// The list's city number `number`; throws std::runtime_error when the list has none of that number.
GeonamesCityPointer geonamesCity(int number);

// A text the library gave, empty for none.
std::string geonamesText(const char* text);

}  // namespace vistado
