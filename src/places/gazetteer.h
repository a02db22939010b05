#pragma once

#include "places/gazetteerformat.h"
#include "places/place.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

namespace vistado {

// The gazetteer of every place of 1,000 or more people and every administrative seat, from
// the file the build makes out of GeoNames' list (gazetteerformat.h). The file is mapped into
// memory and searched where it lies; nothing is parsed.
//
// Names are those of the list, in English, and where libgeonames translates them (its cities,
// the regions and the countries) in the language of the messages locale of the moment of the
// lookup, always as UTF-8 (geonamestranslation.h).
class Gazetteer {
public:
    // Maps and checks the file: its header, its size against the counts it gives, and every
    // record's offsets and indices, so that no lookup reads outside it. Throws
    // std::runtime_error naming what is wrong when the file cannot be read or is damaged.
    explicit Gazetteer(const std::filesystem::path& file);
    ~Gazetteer();
    Gazetteer(const Gazetteer&) = delete;
    Gazetteer& operator=(const Gazetteer&) = delete;

    // The nearest place within maxKm of `at` by great-circle distance (of places at the same
    // position, the first in the file); none when there is no such place or the position lies
    // outside -90..90 latitude or -180..180 longitude.
    std::optional<PlaceMatch> nearest(Position at, double maxKm = kPlaceRadiusKm) const;

    std::size_t size() const { return places.size(); }
    // The position of the file's place number `place`, below size().
    Position position(std::size_t place) const;

private:
    void check(const std::filesystem::path& file);
    Place placeOf(std::size_t place) const;
    const char* text(std::uint32_t offset) const { return names.data() + offset; }

    void* mapping = nullptr;
    std::size_t mappingSize = 0;
    std::span<const gazetteer::Node> nodes;
    std::span<const gazetteer::PlaceRecord> places;
    std::span<const gazetteer::RegionRecord> regions;
    std::span<const gazetteer::CountryRecord> countries;
    std::string_view names;
};

}  // namespace vistado
