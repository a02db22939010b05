#pragma once

#include <cstdint>

// The gazetteer file, written at build time and mapped into memory by the program as it
// stands: a Header, then placeCount Nodes, placeCount PlaceRecords, regionCount RegionRecords,
// countryCount CountryRecords and textSize bytes of names, nothing between and nothing after.
// Numbers are in the byte order of the machine that built the file; `byteOrder` tells another.
// Node i and PlaceRecord i are the same place; the nodes form a k-d tree (kdtree.h).
// Names are NUL-terminated UTF-8 texts in the name bytes, found by their offset there.
namespace vistado::gazetteer {

inline constexpr char kMagic[8] = {'V', 'S', 'T', 'D', 'P', 'L', 'C', 'S'};
inline constexpr std::uint32_t kByteOrder = 0x01020304;
inline constexpr std::uint32_t kVersion = 1;
inline constexpr double kDegreeUnits = 1e5;  // positions are kept in 1/100000 degree, about 1 m
inline constexpr std::uint16_t kNoRegion = 0xFFFF;
inline constexpr std::uint32_t kNoGeonameId = 0;

struct Header {
    char magic[8];
    std::uint32_t byteOrder;
    std::uint32_t version;
    std::uint32_t placeCount;
    std::uint32_t regionCount;
    std::uint32_t countryCount;
    std::uint32_t textSize;
};

struct Node {
    double point[3];  // the place on the unit sphere
    std::uint32_t axis;
    std::uint32_t unused;
};

struct PlaceRecord {
    std::int32_t latitude;   // in kDegreeUnits
    std::int32_t longitude;
    std::uint32_t name;
    std::uint32_t geonameId;  // the city's GeoNames id where libgeonames translates its name
    std::uint16_t region;     // kNoRegion where the place's region is not known
    std::uint8_t country;
    std::uint8_t unused;
};

struct RegionRecord {
    std::uint32_t code;  // "IT.16": country code and first-level code
    std::uint32_t name;
};

struct CountryRecord {
    char code[4];  // two letters, then two NULs
    std::uint32_t name;
};

static_assert(sizeof(Header) == 32 && sizeof(Node) == 32 && sizeof(PlaceRecord) == 20
              && sizeof(RegionRecord) == 8 && sizeof(CountryRecord) == 8);

}  // namespace vistado::gazetteer
