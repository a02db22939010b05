#include "places/placeindex.h"

#include "messageslocale.h"
#include "searchoracle.h"

#include <geonames.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace vistado::test {

namespace {

constexpr double kWholeEarthKm = 30000.0;

const PlaceIndex& placeIndex()
{
    static const PlaceIndex index;
    return index;
}

// Names in English: gettext translates nothing in the "C" messages locale.
class PlaceIndexTest : public ::testing::Test {
protected:
    void SetUp() override { std::setlocale(LC_MESSAGES, "C"); }
};

// The oracle: every city's position, straight from libgeonames.
const std::vector<Position>& allCities()
{
    static const std::vector<Position> cities = [] {
        std::vector<Position> positions;
        for (int i = 0; i < geonames_get_n_cities(); ++i) {
            GeonamesCity* city = geonames_get_city(i);
            positions.push_back({geonames_city_get_latitude(city), geonames_city_get_longitude(city)});
            geonames_city_free(city);
        }
        return positions;
    }();
    return cities;
}

double bruteForceNearestKm(Position at)
{
    double best = std::numeric_limits<double>::infinity();
    for (const Position& city : allCities())
        best = std::min(best, haversineKm(at, city));
    return best;
}

struct Sampler {
    const char* what;
    int count;
    std::function<Position(std::mt19937&)> draw;
};


TEST_F(PlaceIndexTest, HoldsEveryCity)
{
    EXPECT_EQ(placeIndex().size(), allCities().size());
    EXPECT_GT(placeIndex().size(), 20000u);
}

// Compares with a scan over every city: the nearest city's distance, and whether a city lies
// within the 50 km that make a place.
TEST_F(PlaceIndexTest, FindsTheNearestCityLikeABruteForceScan)
{
    const Sampler samplers[] = {
        {"anywhere", 300, [](std::mt19937& r) { return uniformPosition(r, -90, 90, -180, 180); }},
        {"west of the antimeridian", 150, [](std::mt19937& r) { return uniformPosition(r, -60, 70, 178, 180); }},
        {"east of the antimeridian", 150, [](std::mt19937& r) { return uniformPosition(r, -60, 70, -180, -178); }},
        {"near the north pole", 150, [](std::mt19937& r) { return uniformPosition(r, 80, 90, -180, 180); }},
        {"near the south pole", 150, [](std::mt19937& r) { return uniformPosition(r, -90, -80, -180, 180); }},
        {"near a city", 600,
         [](std::mt19937& r) {
             const auto& cities = allCities();
             const Position city = cities[std::uniform_int_distribution<std::size_t>(0, cities.size() - 1)(r)];
             const Position near = uniformPosition(r, city.latitude - 0.6, city.latitude + 0.6, city.longitude - 0.8,
                                           city.longitude + 0.8);
             return Position{std::clamp(near.latitude, -90.0, 90.0), std::clamp(near.longitude, -180.0, 180.0)};
         }},
    };
    std::mt19937 random(20240607);
    for (const Sampler& sampler : samplers) {
        for (int i = 0; i < sampler.count; ++i) {
            const Position at = sampler.draw(random);
            SCOPED_TRACE(std::string(sampler.what) + " at " + std::to_string(at.latitude) + ","
                         + std::to_string(at.longitude));
            const double expectedKm = bruteForceNearestKm(at);

            const auto nearest = placeIndex().nearest(at, kWholeEarthKm);
            ASSERT_TRUE(nearest);
            EXPECT_NEAR(nearest->distanceKm, expectedKm, 1e-6);
            EXPECT_NEAR(haversineKm(at, nearest->place.position), expectedKm, 1e-6);

            if (std::abs(expectedKm - kPlaceRadiusKm) > 1e-6) {
                EXPECT_EQ(placeIndex().nearest(at).has_value(), expectedKm < kPlaceRadiusKm);
            }
        }
    }
}

struct KnownPlace {
    const char* what;
    Position at;
    double maxKm;
    const char* name;
    const char* state;
    const char* country;
    const char* countryCode;
};

void expectPlaceAt(Position at, const KnownPlace& k)
{
    const auto nearest = placeIndex().nearest(at, k.maxKm);
    ASSERT_TRUE(nearest);
    EXPECT_EQ(nearest->place.name, k.name);
    EXPECT_EQ(nearest->place.state, k.state);
    EXPECT_EQ(nearest->place.country, k.country);
    EXPECT_EQ(nearest->place.countryCode, k.countryCode);
}

TEST_F(PlaceIndexTest, NamesTheCityStateCountryAndCode)
{
    const KnownPlace known[] = {
        {"Vienna", {48.2, 16.37}, kPlaceRadiusKm, "Vienna", "Vienna", "Austria", "AT"},
        {"Fiji, from east of the antimeridian", {-16.45, -179.95}, 100, "Labasa", "Northern", "Fiji", "FJ"},
        {"Fiji, from west of the antimeridian", {-16.45, 179.95}, 100, "Labasa", "Northern", "Fiji", "FJ"},
        {"the north pole", {90, 0}, kWholeEarthKm, "Longyearbyen", "Svalbard", "Svalbard and Jan Mayen", "SJ"},
        {"the south pole", {-90, 135}, kWholeEarthKm, "Ushuaia", "Tierra del Fuego Province", "Argentina", "AR"},
    };
    for (const KnownPlace& k : known) {
        SCOPED_TRACE(k.what);
        expectPlaceAt(k.at, k);
    }
}

TEST_F(PlaceIndexTest, PositionsWithoutAPlace)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* what;
        Position at;
        double maxKm;
    } cases[] = {
        {"mid-Pacific", {0, -150}, kPlaceRadiusKm},
        {"mid-Atlantic", {30, -40}, kPlaceRadiusKm},
        {"Labasa is 57 km away", {-16.5, 179.9}, kPlaceRadiusKm},
        {"latitude beyond the pole", {90.5, 0}, kWholeEarthKm},
        {"longitude beyond 180", {0, 180.5}, kWholeEarthKm},
        {"latitude not a number", {nan, 11.88}, kWholeEarthKm},
        {"negative search radius", {43.46, 11.88}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(placeIndex().nearest(c.at, c.maxKm));
    }
}

std::vector<std::string> splitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream row(line);
    for (std::string field; std::getline(row, field, '\t');)
        fields.push_back(field);
    if (fields.empty())
        fields.emplace_back();
    return fields;
}

// The sample photos with a GPS position, by the values ExifTool reads from them.
TEST_F(PlaceIndexTest, SamplePhotosLieWhereTheyWereTaken)
{
    const std::filesystem::path table = std::filesystem::path(VISTADO_CORPUS_DIR) / "expected-exiftool.tsv";
    std::ifstream in(table);
    if (!in)
        GTEST_SKIP() << "no sample files at " << table;

    const KnownPlace known[] = {
        {"jpeg/DSCN", {}, kPlaceRadiusKm, "Arezzo", "Tuscany", "Italy", "IT"},
        {"jpeg/et_GPS.jpg", {}, kPlaceRadiusKm, "Newburn", "England", "United Kingdom", "GB"},
    };
    std::string line;
    std::getline(in, line);
    const std::vector<std::string> header = splitTabs(line);
    const auto column = [&](const char* name) {
        return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) - header.begin());
    };
    const std::size_t latColumn = column("GPSLatitude"), lonColumn = column("GPSLongitude");
    ASSERT_LT(std::max(latColumn, lonColumn), header.size());

    int checked = 0;
    while (std::getline(in, line)) {
        const std::vector<std::string> fields = splitTabs(line);
        for (const KnownPlace& k : known) {
            if (fields[0].rfind(k.what, 0) != 0)
                continue;
            SCOPED_TRACE(fields[0]);
            expectPlaceAt({std::stod(fields.at(latColumn)), std::stod(fields.at(lonColumn))}, k);
            ++checked;
        }
    }
    EXPECT_GE(checked, 2);
}

// German messages without an installed German locale: in C.UTF-8, gettext follows LANGUAGE.
// LC_CTYPE stays "C" (ASCII), so names only arrive as UTF-8 because the index asks for it
// (messageslocale.h).
class PlaceIndexGermanTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const std::string missing = useGermanMessages(); !missing.empty())
            GTEST_SKIP() << missing;
    }
    void TearDown() override { useEnglishMessages(); }
};

TEST_F(PlaceIndexGermanTest, NamesInTheUsersLanguageAsUtf8)
{
    const KnownPlace known[] = {
        {"Arezzo", {43.4674, 11.8851}, kPlaceRadiusKm, "Arezzo", "Toskana", "Italien", "IT"},
        {"Vienna", {48.2, 16.37}, kPlaceRadiusKm, "Wien", "Wien", "\xC3\x96sterreich", "AT"},
        {"Zweibr\xC3\xBC" "cken", {49.25, 7.37}, kPlaceRadiusKm, "Zweibr\xC3\xBC" "cken", "Rheinland-Pfalz",
         "Deutschland", "DE"},
    };
    for (const KnownPlace& k : known) {
        SCOPED_TRACE(k.what);
        expectPlaceAt(k.at, k);
    }
}

}  // namespace

}  // namespace vistado::test
