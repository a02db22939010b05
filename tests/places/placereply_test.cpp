#include "places/placereply.h"
#include "places/placetext.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace vistado::test {

namespace {

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

TEST(PlaceReply, TheServicesFormLineByLine)
{
    EXPECT_EQ(placeReplyText(matchOf("Arezzo", "Toskana", "Italien", "IT")),
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

TEST(PlaceReply, NoCityNearGivesZeroResults)
{
    const std::string text = placeReplyText(std::nullopt);
    EXPECT_EQ(text,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<GeocodeResponse>\n"
              " <status>ZERO_RESULTS</status>\n"
              "</GeocodeResponse>\n");
    EXPECT_EQ(placeTextOf(text), "");
}

// Whatever the names hold, the scan finds exactly four pieces, with the names in UTF-8.
TEST(PlaceReply, ScanYieldsCityStateCountryAndCode)
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
        EXPECT_EQ(placeTextOf(placeReplyText(c.match)), c.placeText);
    }
}

// The sixth name is the distance, dropped for starting with a digit, up to the search limit.
TEST(PlaceReply, ScanDropsTheDistance)
{
    for (const double km : {0.0, 0.04, 9.96, 49.99, kPlaceRadiusKm}) {
        PlaceMatch match = matchOf("Arezzo", "Tuscany", "Italy", "IT");
        match.distanceKm = km;
        EXPECT_EQ(placeTextOf(placeReplyText(match)), ">Arezzo<>Tuscany<>Italy<>IT<") << km;
    }
}

}  // namespace

}  // namespace vistado::test
