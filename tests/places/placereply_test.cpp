#include "places/placereply.h"
#include "places/placetext.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace vistado::test {

namespace {

namespace fs = std::filesystem;

class PlaceReplyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "vistado-place-reply-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        reply = folder / "geodat.xml";
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string written(const std::optional<PlaceMatch>& match) const
    {
        writePlaceReply(reply, match);
        std::ifstream in(reply, std::ios::binary);
        const std::string text(std::istreambuf_iterator<char>(in), {});
        EXPECT_EQ(text, placeReplyText(match));  // the file holds the reply text as it stands
        return text;
    }

    fs::path folder;
    fs::path reply;
};

PlaceMatch matchOf(const char* name, const char* state, const char* country, const char* code)
{
    return {{name, state, country, code, {43.46276, 11.88068}}, 0.632898};
}

// The place run's reading of a reply, names kept in UTF-8.
std::string placeTextOf(const std::string& reply)
{
    std::istringstream in(reply);
    return placeTextFromReply(in, "UTF-8");
}

TEST_F(PlaceReplyTest, WritesTheServicesFormLineByLine)
{
    EXPECT_EQ(written(matchOf("Arezzo", "Toskana", "Italien", "IT")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<GeocodeResponse>\n"
              " <status>OK</status>\n"
              " <result>\n"
              "  <type>locality</type>\n"
              "  <address_component>\n"
              "   <long_name>43.46276,11.88068</long_name>\n"
              "   <type>point</type>\n"
              "  </address_component>\n"
              "  <address_component>\n"
              "   <long_name>Arezzo</long_name>\n"
              "   <type>locality</type>\n"
              "  </address_component>\n"
              "  <address_component>\n"
              "   <long_name>Toskana</long_name>\n"
              "   <type>administrative_area_level_1</type>\n"
              "  </address_component>\n"
              "  <address_component>\n"
              "   <long_name>Italien</long_name>\n"
              "   <type>country</type>\n"
              "  </address_component>\n"
              "  <address_component>\n"
              "   <long_name>IT</long_name>\n"
              "   <type>country_code</type>\n"
              "  </address_component>\n"
              "  <address_component>\n"
              "   <long_name>0.6 km</long_name>\n"
              "   <type>distance</type>\n"
              "  </address_component>\n"
              " </result>\n"
              "</GeocodeResponse>\n");
}

TEST_F(PlaceReplyTest, NoCityNearGivesZeroResults)
{
    const std::string text = written(std::nullopt);
    EXPECT_EQ(text,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<GeocodeResponse>\n"
              " <status>ZERO_RESULTS</status>\n"
              "</GeocodeResponse>\n");
    EXPECT_EQ(placeTextOf(text), "");
}

// Whatever the names hold, the scan finds exactly four pieces, with the names in UTF-8.
TEST_F(PlaceReplyTest, ScanYieldsCityStateCountryAndCode)
{
    const struct {
        PlaceMatch match;
        const char* placeText;
    } cases[] = {
        {matchOf("Arezzo", "Toskana", "Italien", "IT"), ">Arezzo<>Toskana<>Italien<>IT<"},
        {matchOf("Monaco", "", "Monaco", "MC"), ">Monaco<><>Monaco<>MC<"},
        {matchOf("6th of October City", "Giza Governorate", "Egypt", "EG"),
         ">6th of October City<>Giza Governorate<>Egypt<>EG<"},
        {matchOf("Wien", "Wien", "\xC3\x96sterreich", "AT"), ">Wien<>Wien<>\xC3\x96sterreich<>AT<"},
        {matchOf("Saint-Pierre & Miquelon", "<none>", "A>B", "PM"), ">Saint-Pierre & Miquelon<>(none)<>A)B<>PM<"},
        {matchOf("Nord\nS\xC3\xBC" "d", "Ost\r", "West\t", "XX"), ">Nord S\xC3\xBC" "d<>Ost <>West <>XX<"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.placeText);
        EXPECT_EQ(placeTextOf(written(c.match)), c.placeText);
    }
}

// The sixth name is the distance, dropped for starting with a digit, up to the search limit.
TEST_F(PlaceReplyTest, ScanDropsTheDistance)
{
    for (const double km : {0.0, 0.04, 9.96, 49.99, kPlaceRadiusKm}) {
        PlaceMatch match = matchOf("Arezzo", "Tuscany", "Italy", "IT");
        match.distanceKm = km;
        EXPECT_EQ(placeTextOf(written(match)), ">Arezzo<>Tuscany<>Italy<>IT<") << km;
    }
}

TEST_F(PlaceReplyTest, ReplacesAnEarlierReplyWholly)
{
    std::ofstream stale(reply);
    stale << "<status>OK</status>\n";
    for (int i = 0; i < 1000; ++i)
        stale << "<long_name>stale</long_name>\n";
    stale.close();
    const std::string text = written(std::nullopt);
    EXPECT_EQ(text.find("stale"), std::string::npos);
    EXPECT_EQ(placeTextOf(text), "");
    EXPECT_FALSE(fs::exists(folder / "geodat.xml.part"));
}

TEST_F(PlaceReplyTest, UnwritableFolderThrowsAndLeavesNothing)
{
    const fs::path missing = folder / "missing" / "geodat.xml";
    EXPECT_THROW(writePlaceReply(missing, std::nullopt), std::runtime_error);
    EXPECT_FALSE(fs::exists(missing));

    // A folder in the reply's place cannot be replaced by the reply.
    fs::create_directory(reply);
    EXPECT_THROW(writePlaceReply(reply, std::nullopt), std::runtime_error);
    EXPECT_TRUE(fs::is_directory(reply));
    EXPECT_FALSE(fs::exists(folder / "geodat.xml.part"));
}

}  // namespace

}  // namespace vistado::test
