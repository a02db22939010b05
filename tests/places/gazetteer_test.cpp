#include "places/gazetteer.h"
#include "places/gazetteerformat.h"
#include "places/gazetteerwriter.h"
#include "places/offlineplaces.h"

#include "searchoracle.h"
#include "messageslocale.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace vistado::test {
namespace {

constexpr double kWholeEarthKm = 30000.0;

// Names in English: gettext translates nothing in the "C" messages locale.
class GazetteerTest : public ::testing::Test {
protected:
    void SetUp() override { std::setlocale(LC_MESSAGES, "C"); }

    std::string written(const GazetteerSource& source) const
    {
        const std::string path = dir.file("places.bin");
        writeGazetteer(path, source);
        return path;
    }

    TempDir dir;
};

GazetteerSource alpsAndFiji()
{
    GazetteerSource source;
    source.countryNames = {{"AT", "Austria"}, {"DE", "Germany"}, {"FJ", "Fiji"}, {"SJ", "Svalbard and Jan Mayen"}};
    source.regionNames = {{"AT.07", "Tyrol"}, {"DE.02", "Bavaria"}, {"FJ.03", "Northern"}};
    source.places = {
        {"Ehrwald", {47.4, 10.91667}, "AT", "AT.07", 0},
        {"Grainau", {47.47, 11.03}, "DE", "DE.02", 0},
        {"Garmisch-Partenkirchen", {47.49209, 11.09576}, "DE", "DE.02", 2922586},
        {"Labasa", {-16.4332, 179.36451}, "FJ", "FJ.03", 2204506},
        {"Sav\xC3\xBBsavu <Vanua Levu>", {-16.77942, -179.98}, "FJ", "", 0},
        {"Longyearbyen", {78.22334, 15.64689}, "SJ", "", 0},
    };
    return source;
}

TEST_F(GazetteerTest, ReadsBackEveryPlaceWritten)
{
    const GazetteerSource source = alpsAndFiji();
    const Gazetteer gazetteer(written(source));
    ASSERT_EQ(gazetteer.size(), source.places.size());
    for (const GazetteerPlace& written : source.places) {
        SCOPED_TRACE(written.name);
        const auto found = gazetteer.nearest(written.position);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->place.name, written.name);
        EXPECT_EQ(found->place.state, written.regionCode.empty() ? "" : source.regionNames.at(written.regionCode));
        EXPECT_EQ(found->place.country, source.countryNames.at(written.countryCode));
        EXPECT_EQ(found->place.countryCode, written.countryCode);
        EXPECT_DOUBLE_EQ(found->place.position.latitude, written.position.latitude);
        EXPECT_DOUBLE_EQ(found->place.position.longitude, written.position.longitude);
        EXPECT_NEAR(found->distanceKm, 0.0, 1e-9);
    }
}

// Compares with a scan over every place: the nearest place's position (or, for places at the
// same distance, that distance), and whether a place lies within the 50 km that make a place.
void expectNearestLikeBruteForce(const Gazetteer& gazetteer, const std::function<Position(std::mt19937&)>& draw,
                                 int count, const char* what)
{
    std::vector<Position> places;
    for (std::size_t i = 0; i < gazetteer.size(); ++i)
        places.push_back(gazetteer.position(i));
    const BruteForce oracle(places);
    std::mt19937 random(20240607);
    for (int i = 0; i < count; ++i) {
        const Position at = draw(random);
        SCOPED_TRACE(std::string(what) + " at " + std::to_string(at.latitude) + "," + std::to_string(at.longitude));
        const Position expected = oracle.position(oracle.nearest(at));
        const double expectedKm = haversineKm(at, expected);

        const auto nearest = gazetteer.nearest(at, kWholeEarthKm);
        ASSERT_TRUE(nearest);
        const Position found = nearest->place.position;
        if (found.latitude != expected.latitude || found.longitude != expected.longitude) {
            ASSERT_NEAR(haversineKm(at, found), expectedKm, 1e-9) << "found " << nearest->place.name;
        }
        EXPECT_NEAR(nearest->distanceKm, expectedKm, 1e-6);
        if (std::abs(expectedKm - kPlaceRadiusKm) > 1e-6) {
            EXPECT_EQ(gazetteer.nearest(at).has_value(), expectedKm < kPlaceRadiusKm);
        }
    }
}

// Places crowd the antimeridian and the poles, where a search by latitude and longitude would
// go wrong; some share a position.
TEST_F(GazetteerTest, FindsTheNearestPlaceLikeABruteForceScan)
{
    GazetteerSource source;
    source.countryNames = {{"XA", "A"}};
    std::mt19937 random(7);
    const auto add = [&](Position at) { source.places.push_back({std::to_string(source.places.size()), at, "XA", "", 0}); };
    for (int i = 0; i < 1500; ++i)
        add(anywhere(random));
    for (int i = 0; i < 500; ++i) {
        add(uniformPosition(random, -60, 70, 179.5, 180));
        add(uniformPosition(random, -60, 70, -180, -179.5));
        add(uniformPosition(random, 88, 90, -180, 180));
        add(uniformPosition(random, -90, -88, -180, 180));
    }
    for (int i = 0; i < 50; ++i)
        add(source.places[i].position);
    const Gazetteer gazetteer(written(source));

    expectNearestLikeBruteForce(gazetteer, anywhere, 1000, "anywhere");
    expectNearestLikeBruteForce(
        gazetteer, [](std::mt19937& r) { return uniformPosition(r, -60, 70, 179.9, 180); }, 300, "west of the antimeridian");
    expectNearestLikeBruteForce(
        gazetteer, [](std::mt19937& r) { return uniformPosition(r, -60, 70, -180, -179.9); }, 300, "east of the antimeridian");
    expectNearestLikeBruteForce(
        gazetteer, [](std::mt19937& r) { return uniformPosition(r, 89.5, 90, -180, 180); }, 300, "near the north pole");
    expectNearestLikeBruteForce(
        gazetteer, [](std::mt19937& r) { return uniformPosition(r, -90, -89.5, -180, 180); }, 300, "near the south pole");
}

// The file's fields, to damage them one at a time.
struct Damage {
    const char* what;
    std::function<void(std::string& bytes)> apply;
};

template <typename Value>
void put(std::string& bytes, std::size_t offset, Value value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

TEST_F(GazetteerTest, RefusesADamagedFile)
{
    using namespace gazetteer;
    const std::string good = readFile(written(alpsAndFiji()));
    Header header;
    std::memcpy(&header, good.data(), sizeof header);
    const std::size_t nodes = sizeof(Header);
    const std::size_t places = nodes + header.placeCount * sizeof(Node);
    const std::size_t lastPlace = places + (header.placeCount - 1) * sizeof(PlaceRecord);
    const Damage damages[] = {
        {"empty", [](std::string& b) { b.clear(); }},
        {"shorter than its header", [](std::string& b) { b.resize(sizeof(Header) - 1); }},
        {"cut short", [](std::string& b) { b.pop_back(); }},
        {"longer", [](std::string& b) { b += '\0'; }},
        {"another kind of file", [](std::string& b) { b[0] = '{'; }},
        {"another format version", [](std::string& b) { put(b, offsetof(Header, version), kVersion + 1); }},
        {"another byte order", [](std::string& b) { put(b, offsetof(Header, byteOrder), 0x04030201u); }},
        {"more places than it holds", [&](std::string& b) { put(b, offsetof(Header, placeCount), header.placeCount + 1); }},
        {"counts that overflow",
         [](std::string& b) { put(b, offsetof(Header, placeCount), std::numeric_limits<std::uint32_t>::max()); }},
        {"no places", [](std::string& b) { put(b, offsetof(Header, placeCount), 0u); }},
        {"a split on a fourth axis", [&](std::string& b) { put(b, nodes + offsetof(Node, axis), 3u); }},
        {"a point not a number",
         [&](std::string& b) { put(b, nodes + offsetof(Node, point), std::numeric_limits<double>::quiet_NaN()); }},
        {"a name beyond the names",
         [&](std::string& b) { put(b, lastPlace + offsetof(PlaceRecord, name), header.textSize); }},
        {"a region beyond the regions",
         [&](std::string& b) { put(b, lastPlace + offsetof(PlaceRecord, region), std::uint16_t(header.regionCount)); }},
        {"a country beyond the countries",
         [&](std::string& b) { put(b, lastPlace + offsetof(PlaceRecord, country), std::uint8_t(header.countryCount)); }},
        {"a latitude beyond the pole",
         [&](std::string& b) { put(b, lastPlace + offsetof(PlaceRecord, latitude), std::int32_t(9000001)); }},
        {"names without their end", [](std::string& b) { b.back() = 'x'; }},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        std::string bytes = good;
        damage.apply(bytes);
        const std::string path = dir.file("damaged.bin");
        writeFile(path, bytes);
        EXPECT_THROW(Gazetteer{path}, std::runtime_error);
    }
    EXPECT_THROW(Gazetteer{dir.path()}, std::runtime_error);
    EXPECT_THROW(Gazetteer{dir.file("missing.bin")}, std::runtime_error);
}

// Without a usable file the lookup says so once and finds libgeonames' cities.
TEST_F(GazetteerTest, OfflinePlacesFallBackToTheCityListOnce)
{
    writeFile(dir.file("short.bin"), "VSTD");
    for (const std::string& file : {dir.file("missing.bin"), dir.file("short.bin")}) {
        SCOPED_TRACE(file);
        std::ostringstream notices;
        OfflinePlaces places(file, notices);
        const auto arezzo = places.nearest({43.4633, 11.8796});
        ASSERT_TRUE(arezzo);
        EXPECT_EQ(arezzo->place.name, "Arezzo");
        EXPECT_FALSE(places.nearest({0.5, -30.5}));
        const std::string said = notices.str();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_NE(said.find(file), std::string::npos) << said;
    }
}

// The gazetteer the build made from GeoNames' list, where there is one.
class BuiltGazetteerTest : public GazetteerTest {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(VISTADO_GAZETTEER_FILE))
            GTEST_SKIP() << "no gazetteer built at " << VISTADO_GAZETTEER_FILE;
        GazetteerTest::SetUp();
    }

    static const Gazetteer& gazetteer()
    {
        static const Gazetteer built(VISTADO_GAZETTEER_FILE);
        return built;
    }
};

TEST_F(BuiltGazetteerTest, TheAntimeridianTheFarNorthAndTheSea)
{
    const struct {
        const char* what;
        Position at;
        double maxKm;
        const char* name;  // nullptr: no place
        const char* countryCode;
    } cases[] = {
        {"Fiji, from east of the antimeridian", {-16.6, -179.95}, 100, "Labasa", "FJ"},
        {"Fiji, from west of the antimeridian", {-16.6, 179.95}, 100, "Labasa", "FJ"},
        {"Chukotka, from east of the antimeridian", {63.0, -179.8}, kPlaceRadiusKm, "Beringovskiy", "RU"},
        {"Svalbard", {78.2, 15.6}, kPlaceRadiusKm, "Longyearbyen", "SJ"},
        {"the north pole", {90, 0}, kWholeEarthKm, "Longyearbyen", "SJ"},
        {"the south pole", {-90, 0}, kWholeEarthKm, "Puerto Williams", "CL"},
        {"the Arctic Ocean", {85, 10}, kPlaceRadiusKm, nullptr, nullptr},
        {"the North Sea", {56, 3}, kPlaceRadiusKm, nullptr, nullptr},
        {"mid-Atlantic", {30, -40}, kPlaceRadiusKm, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto found = gazetteer().nearest(c.at, c.maxKm);
        ASSERT_EQ(found.has_value(), c.name != nullptr);
        if (!found)
            continue;
        EXPECT_EQ(found->place.name, c.name);
        EXPECT_EQ(found->place.countryCode, c.countryCode);
    }
}

class BuiltGazetteerGermanTest : public BuiltGazetteerTest {
protected:
    void SetUp() override
    {
        BuiltGazetteerTest::SetUp();
        if (IsSkipped())
            return;
        if (const std::string missing = useGermanMessages(); !missing.empty())
            GTEST_SKIP() << missing;
    }
    void TearDown() override { useEnglishMessages(); }
};

TEST_F(BuiltGazetteerGermanTest, NamesInTheUsersLanguageAsUtf8)
{
    const struct {
        Position at;
        const char* place;  // name, region, country and code
    } cases[] = {
        {{43.0932, 11.7806}, "Montepulciano Toskana Italien IT"},
        {{47.4167, 10.9833}, "Ehrwald Tirol \xC3\x96sterreich AT"},
        {{48.2, 16.37}, "Wien Wien \xC3\x96sterreich AT"},
        {{48.1374, 11.5755}, "M\xC3\xBCnchen Bayern Deutschland DE"},
    };
    for (const auto& c : cases) {
        const auto found = gazetteer().nearest(c.at);
        ASSERT_TRUE(found) << c.place;
        const Place& p = found->place;
        EXPECT_EQ(p.name + " " + p.state + " " + p.country + " " + p.countryCode, c.place);
    }
}

// VISTADO_PRECISION_POSITIONS sets how many positions each kind of sample has (100,000 for
// the full check); the default keeps the test quick.
TEST_F(BuiltGazetteerTest, FindsTheNearestPlaceLikeABruteForceScan)
{
    const char* wanted = std::getenv("VISTADO_PRECISION_POSITIONS");
    const int count = wanted ? std::atoi(wanted) : 200;
    expectNearestLikeBruteForce(gazetteer(), anywhere, count, "anywhere");
    expectNearestLikeBruteForce(
        gazetteer(),
        [](std::mt19937& r) {
            const Position place = gazetteer().position(
                std::uniform_int_distribution<std::size_t>(0, gazetteer().size() - 1)(r));
            const Position near = uniformPosition(r, place.latitude - 0.6, place.latitude + 0.6, place.longitude - 0.8,
                                          place.longitude + 0.8);
            return Position{std::clamp(near.latitude, -90.0, 90.0), std::clamp(near.longitude, -180.0, 180.0)};
        },
        count, "near a place");
}

}  // namespace
}  // namespace vistado::test
