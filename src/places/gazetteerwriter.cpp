#include "places/gazetteerwriter.h"

#include "meta/file/replacefile.h"
#include "places/gazetteerformat.h"
#include "places/kdtree.h"
#include "places/sphere.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <span>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

namespace vistado {

namespace {

using namespace gazetteer;

// The name bytes, each distinct text stored once.
class NameBytes {
public:
    std::uint32_t offsetOf(const std::string& name)
    {
        if (name.find('\0') != std::string::npos)
            throw std::runtime_error("gazetteer: a name holds a NUL byte");
        const auto [entry, added] = offsets.try_emplace(name, static_cast<std::uint32_t>(bytes.size()));
        if (added) {
            bytes += name;
            bytes += '\0';
            if (bytes.size() > std::numeric_limits<std::uint32_t>::max())
                throw std::runtime_error("gazetteer: too many names");
        }
        return entry->second;
    }
    const std::string& all() const { return bytes; }

private:
    std::string bytes;
    std::unordered_map<std::string, std::uint32_t> offsets;
};

// A node with the number of the place it stands for while the tree is being ordered.
struct BuildNode {
    double point[3];
    std::uint32_t axis;
    std::uint32_t place;
};

std::int32_t degreeUnits(double degrees)
{
    return static_cast<std::int32_t>(std::llround(degrees * kDegreeUnits));
}

const std::string& nameOf(const std::map<std::string, std::string>& names, const std::string& code,
                          const char* what)
{
    const auto name = names.find(code);
    if (name == names.end())
        throw std::runtime_error(std::string("gazetteer: no name for the ") + what + " \"" + code + "\"");
    return name->second;
}

// Numbers the codes in their order.
template <typename Index>
void number(std::map<std::string, Index>& codes)
{
    Index next = 0;
    for (auto& entry : codes)
        entry.second = next++;
}

template <typename Record>
void append(std::string& out, std::span<const Record> records)
{
    out.append(reinterpret_cast<const char*>(records.data()), records.size_bytes());
}

}  // namespace

void writeGazetteer(const std::filesystem::path& file, const GazetteerSource& source)
{
    const std::vector<GazetteerPlace>& places = source.places;
    if (places.empty() || places.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::runtime_error("gazetteer: " + std::to_string(places.size()) + " places");
    // Only the regions and countries that places lie in get a record.
    std::map<std::string, std::uint16_t> regionIndex;
    std::map<std::string, std::uint8_t> countryIndex;
    for (const GazetteerPlace& place : places) {
        countryIndex.emplace(place.countryCode, 0);
        if (!place.regionCode.empty())
            regionIndex.emplace(place.regionCode, 0);
    }
    if (regionIndex.size() >= kNoRegion || countryIndex.size() > 256)
        throw std::runtime_error("gazetteer: too many regions or countries");
    number(regionIndex);
    number(countryIndex);

    std::vector<BuildNode> tree(places.size());
    for (std::uint32_t i = 0; i < places.size(); ++i) {
        if (!validPosition(places[i].position))
            throw std::runtime_error("gazetteer: " + places[i].name + " lies outside the earth");
        // The point is made from the position as the file keeps it, as the reader reports it.
        const Position kept{degreeUnits(places[i].position.latitude) / kDegreeUnits,
                            degreeUnits(places[i].position.longitude) / kDegreeUnits};
        const SpherePoint point = unitVector(kept);
        tree[i] = {{point[0], point[1], point[2]}, 0, i};
    }
    buildKdTree(std::span<BuildNode>(tree));

    NameBytes names;
    std::vector<Node> nodes;
    std::vector<PlaceRecord> records;
    for (const BuildNode& built : tree) {
        const GazetteerPlace& place = places[built.place];
        nodes.push_back({{built.point[0], built.point[1], built.point[2]}, built.axis, 0});
        records.push_back({degreeUnits(place.position.latitude), degreeUnits(place.position.longitude),
                           names.offsetOf(place.name), place.geonameId,
                           place.regionCode.empty() ? kNoRegion : regionIndex.at(place.regionCode),
                           countryIndex.at(place.countryCode), 0});
    }
    std::vector<RegionRecord> regions;
    for (const auto& [code, index] : regionIndex)
        regions.push_back({names.offsetOf(code), names.offsetOf(nameOf(source.regionNames, code, "region"))});
    std::vector<CountryRecord> countries;
    for (const auto& [code, index] : countryIndex) {
        if (code.size() != 2 || code[0] < 'A' || code[0] > 'Z' || code[1] < 'A' || code[1] > 'Z')
            throw std::runtime_error("gazetteer: country code \"" + code + "\"");
        countries.push_back({{code[0], code[1], 0, 0}, names.offsetOf(nameOf(source.countryNames, code, "country"))});
    }

    Header header{};
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.byteOrder = kByteOrder;
    header.version = kVersion;
    header.placeCount = static_cast<std::uint32_t>(records.size());
    header.regionCount = static_cast<std::uint32_t>(regions.size());
    header.countryCount = static_cast<std::uint32_t>(countries.size());
    header.textSize = static_cast<std::uint32_t>(names.all().size());

    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    append(bytes, std::span<const Node>(nodes));
    append(bytes, std::span<const PlaceRecord>(records));
    append(bytes, std::span<const RegionRecord>(regions));
    append(bytes, std::span<const CountryRecord>(countries));
    bytes += names.all();

    ReplacementFile out(file.string());
    out.write(bytes);
    out.commit();
}

}  // namespace vistado
