#include "places/geonameslib.h"

#include <dlfcn.h>

#include <stdexcept>
#include <string>

namespace vistado {

namespace {

template <typename Function>
void resolve(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    if (!function)
        throw std::runtime_error(std::string("offline city list: libgeonames has no ") + name);
}

GeonamesLibrary open()
{
    // Stays open for the rest of the process: cities are looked up until it ends.
    void* library = dlopen("libgeonames.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library)
        throw std::runtime_error(std::string("offline city list: ") + dlerror());
    GeonamesLibrary functions;
    resolve(library, "geonames_get_n_cities", functions.getNCities);
    resolve(library, "geonames_get_city", functions.getCity);
    resolve(library, "geonames_city_free", functions.city_free);
    resolve(library, "geonames_city_get_name", functions.city_get_name);
    resolve(library, "geonames_city_get_state", functions.city_get_state);
    resolve(library, "geonames_city_get_country", functions.city_get_country);
    resolve(library, "geonames_city_get_country_code", functions.city_get_country_code);
    resolve(library, "geonames_city_get_latitude", functions.city_get_latitude);
    resolve(library, "geonames_city_get_longitude", functions.city_get_longitude);
    return functions;
}

}  // namespace

const GeonamesLibrary& geonames()
{
    static const GeonamesLibrary functions = open();
    return functions;
}

GeonamesCityPointer geonamesCity(int number)
{
    GeonamesCityPointer city(geonames().getCity(number));
    if (!city)
        throw std::runtime_error("offline city list: no city number " + std::to_string(number));
    return city;
}

std::string geonamesText(const char* text)
{
    return text ? text : "";
}

}  // namespace vistado
