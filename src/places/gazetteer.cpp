#include "places/gazetteer.h"

#include "places/geonamestranslation.h"
#include "places/kdtree.h"
#include "places/sphere.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

namespace vistado {

namespace {

using namespace gazetteer;

[[noreturn]] void fail(const std::filesystem::path& file, const std::string& what)
{
    throw std::runtime_error(file.string() + ": " + what);
}

struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

bool validDegrees(std::int32_t value, double limit)
{
    return std::abs(static_cast<double>(value)) <= limit * kDegreeUnits;
}

bool validCountryCode(const char (&code)[4])
{
    return code[0] >= 'A' && code[0] <= 'Z' && code[1] >= 'A' && code[1] <= 'Z' && code[2] == 0 && code[3] == 0;
}

}  // namespace

Gazetteer::Gazetteer(const std::filesystem::path& file)
{
    const Descriptor descriptor{::open(file.c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat status {};
    if (descriptor.fd < 0 || ::fstat(descriptor.fd, &status) != 0)
        fail(file, std::strerror(errno));
    if (!S_ISREG(status.st_mode))
        fail(file, "not a file");
    if (static_cast<std::uint64_t>(status.st_size) < sizeof(Header))
        fail(file, "shorter than its header");
    mappingSize = static_cast<std::size_t>(status.st_size);
    mapping = ::mmap(nullptr, mappingSize, PROT_READ, MAP_PRIVATE, descriptor.fd, 0);
    if (mapping == MAP_FAILED) {
        mapping = nullptr;
        fail(file, std::strerror(errno));
    }
    try {
        check(file);
    } catch (...) {
        ::munmap(mapping, mappingSize);
        throw;
    }
}

Gazetteer::~Gazetteer()
{
    ::munmap(mapping, mappingSize);
}

// Lays the sections out over the mapping and checks every record once, so that lookups need
// no checks of their own.
void Gazetteer::check(const std::filesystem::path& file)
{
    const char* bytes = static_cast<const char*>(mapping);
    Header header;
    std::memcpy(&header, bytes, sizeof header);
    if (std::memcmp(header.magic, kMagic, sizeof kMagic) != 0)
        fail(file, "not a gazetteer file");
    if (header.byteOrder != kByteOrder)
        fail(file, "written on a machine of another byte order");
    if (header.version != kVersion)
        fail(file, "format version " + std::to_string(header.version) + ", not " + std::to_string(kVersion));
    if (header.placeCount == 0 || header.regionCount >= kNoRegion || header.countryCount > 256
        || header.textSize == 0)
        fail(file, "damaged header");
    const std::uint64_t expected = sizeof(Header)
        + std::uint64_t{header.placeCount} * (sizeof(Node) + sizeof(PlaceRecord))
        + std::uint64_t{header.regionCount} * sizeof(RegionRecord)
        + std::uint64_t{header.countryCount} * sizeof(CountryRecord) + header.textSize;
    if (expected != mappingSize)
        fail(file, std::to_string(mappingSize) + " bytes where its header announces " + std::to_string(expected));

    const char* at = bytes + sizeof(Header);
    nodes = {reinterpret_cast<const Node*>(at), header.placeCount};
    at += nodes.size_bytes();
    places = {reinterpret_cast<const PlaceRecord*>(at), header.placeCount};
    at += places.size_bytes();
    regions = {reinterpret_cast<const RegionRecord*>(at), header.regionCount};
    at += regions.size_bytes();
    countries = {reinterpret_cast<const CountryRecord*>(at), header.countryCount};
    at += countries.size_bytes();
    names = {at, header.textSize};

    if (names.back() != '\0')
        fail(file, "damaged names");
    for (const Node& node : nodes)
        if (node.axis > 2 || !std::isfinite(node.point[0]) || !std::isfinite(node.point[1])
            || !std::isfinite(node.point[2]))
            fail(file, "damaged search tree");
    for (const PlaceRecord& place : places)
        if (place.name >= names.size() || place.country >= countries.size()
            || (place.region != kNoRegion && place.region >= regions.size()) || !validDegrees(place.latitude, 90)
            || !validDegrees(place.longitude, 180))
            fail(file, "damaged place");
    for (const RegionRecord& region : regions)
        if (region.code >= names.size() || region.name >= names.size())
            fail(file, "damaged region");
    for (const CountryRecord& country : countries)
        if (!validCountryCode(country.code) || country.name >= names.size())
            fail(file, "damaged country");
}

std::optional<PlaceMatch> Gazetteer::nearest(Position at, double maxKm) const
{
    if (!validPosition(at) || !(maxKm >= 0))
        return std::nullopt;
    const KdNearest best = nearestInKdTree(nodes, unitVector(at), chord2OfKm(maxKm));
    if (best.node == kNoNode)
        return std::nullopt;
    return PlaceMatch{placeOf(best.node), kmOfChord2(best.chord2)};
}

Position Gazetteer::position(std::size_t place) const
{
    return {places[place].latitude / kDegreeUnits, places[place].longitude / kDegreeUnits};
}

Place Gazetteer::placeOf(std::size_t index) const
{
    const PlaceRecord& record = places[index];
    const CountryRecord& country = countries[record.country];
    Place place;
    if (record.geonameId != kNoGeonameId) {
        char id[16];
        *std::to_chars(id, id + sizeof id - 1, record.geonameId).ptr = '\0';
        place.name = geonamesTranslation(id, text(record.name));
    } else {
        place.name = text(record.name);
    }
    if (record.region != kNoRegion)
        place.state = geonamesTranslation(text(regions[record.region].code), text(regions[record.region].name));
    place.country = geonamesTranslation(country.code, text(country.name));
    place.countryCode = country.code;
    place.position = position(index);
    return place;
}

}  // namespace vistado
