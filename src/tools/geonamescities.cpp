#include "tools/geonamescities.h"

#include "places/geonameslib.h"

#include <charconv>
#include <string_view>

namespace {

std::string* translationKey = nullptr;

}  // namespace

// libgeonames looks each name up in its translations through g_dgettext, a city's under the
// city's GeoNames id. This program exports a g_dgettext of its own, which the library binds
// to: it learns the key and, answering that there is no translation, keeps every name in
// English whatever the locale of the build.
extern "C" const char* g_dgettext(const char* /*domain*/, const char* key)
{
    if (translationKey)
        *translationKey = key;
    return key;
}

namespace vistado {

namespace {

std::uint32_t idOf(std::string_view key)
{
    std::uint32_t id = 0;
    const auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), id);
    return error == std::errc() && end == key.data() + key.size() ? id : 0;
}

}  // namespace

std::vector<GeonamesListCity> geonamesCities()
{
    const GeonamesLibrary& library = geonames();
    std::vector<GeonamesListCity> cities;
    const int count = library.getNCities();
    for (int number = 0; number < count; ++number) {
        const GeonamesCityPointer city = geonamesCity(number);
        std::string key;
        translationKey = &key;
        std::string name = geonamesText(library.city_get_name(city.get()));
        translationKey = nullptr;
        cities.push_back({std::move(name), geonamesText(library.city_get_country(city.get())),
                          geonamesText(library.city_get_country_code(city.get())),
                          {library.city_get_latitude(city.get()), library.city_get_longitude(city.get())}, idOf(key)});
    }
    return cities;
}

}  // namespace vistado
