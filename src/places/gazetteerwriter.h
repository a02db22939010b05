#pragma once

#include "places/place.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace vistado {

struct GazetteerPlace {
    std::string name;              // UTF-8
    Position position;             // kept to 1/100000 degree
    std::string countryCode;       // two capital letters
    std::string regionCode;        // country code and first-level code ("IT.16"); empty: not known
    std::uint32_t geonameId = 0;   // the id libgeonames translates the name under; 0: none
};

struct GazetteerSource {
    std::vector<GazetteerPlace> places;
    std::map<std::string, std::string> regionNames;   // English, by region code
    std::map<std::string, std::string> countryNames;  // English, by country code
};

// Writes the file that Gazetteer reads, whole or not at all. Throws std::runtime_error when a
// place has an invalid position or a country or region without a name, when the list is
// empty or larger than the file can hold, or when the file cannot be written.
void writeGazetteer(const std::filesystem::path& file, const GazetteerSource& source);

}  // namespace vistado
