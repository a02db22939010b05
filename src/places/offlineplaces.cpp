#include "places/offlineplaces.h"

#include "places/gazetteer.h"
#include "places/placeindex.h"
#include "places/programdata.h"

#include <stdexcept>
#include <utility>

namespace vistado {

OfflinePlaces::OfflinePlaces(std::filesystem::path gazetteerFile, std::ostream& notices)
    : gazetteerFile(std::move(gazetteerFile)), notices(notices)
{
}

OfflinePlaces::~OfflinePlaces() = default;

std::filesystem::path OfflinePlaces::defaultGazetteerFile()
{
    return programDataFile(VISTADO_GAZETTEER_NAME);
}

std::optional<PlaceMatch> OfflinePlaces::nearest(Position at, double maxKm)
{
    if (!gazetteerTried) {
        gazetteerTried = true;
        try {
            gazetteer = std::make_unique<Gazetteer>(gazetteerFile);
        } catch (const std::runtime_error& unusable) {
            notices << "offline places: " << unusable.what()
                    << "; using the 24,000 cities of libgeonames instead" << std::endl;
        }
    }
    if (gazetteer)
        return gazetteer->nearest(at, maxKm);
    if (!cities)
        cities = std::make_unique<PlaceIndex>();
    return cities->nearest(at, maxKm);
}

}  // namespace vistado
