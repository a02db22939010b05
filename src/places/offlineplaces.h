#pragma once

#include "places/place.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

namespace vistado {

class Gazetteer;
class PlaceIndex;

// The offline place lookup that the place run and vistado-meta --place share: the gazetteer
// that the build made (installed beside the program), or, when that file is missing or
// damaged, libgeonames' list of about 24,000 cities, which is then said once on `notices`.
// Nothing is loaded before the first lookup.
class OfflinePlaces {
public:
    explicit OfflinePlaces(std::filesystem::path gazetteerFile = defaultGazetteerFile(),
                           std::ostream& notices = std::cerr);
    ~OfflinePlaces();

    // The nearest place within maxKm (Gazetteer::nearest). Throws std::runtime_error when
    // neither the gazetteer nor libgeonames' list can be read.
    std::optional<PlaceMatch> nearest(Position at, double maxKm = kPlaceRadiusKm);

    // Where the program keeps its gazetteer (programdata.h).
    static std::filesystem::path defaultGazetteerFile();

private:
    std::filesystem::path gazetteerFile;
    std::ostream& notices;
    bool gazetteerTried = false;
    std::unique_ptr<Gazetteer> gazetteer;
    std::unique_ptr<PlaceIndex> cities;
};

}  // namespace vistado
