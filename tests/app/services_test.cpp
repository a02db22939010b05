#include "places/positiontext.h"
#include "app/services.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>
#include <string>

namespace vistado::test {

namespace {

TEST(Services, FromTheEnvironment)
{
    static std::map<std::string, std::string> environment;
    const auto lookup = [](const char* name) -> const char* {
        const auto found = environment.find(name);
        return found == environment.end() ? nullptr : found->second.c_str();
    };

    environment = {{"VISTADO_GEOCODER_HOST", "127.0.0.1:8080"},
                   {"VISTADO_GEOCODER_KEY", "AIza-key"},
                   {"VISTADO_UPDATE_HOST", "updates.example.org"}};
    Services services = Services::fromEnvironment(lookup);
    EXPECT_EQ(services.geocoderHost, "127.0.0.1:8080");
    EXPECT_EQ(services.geocoderKey, "AIza-key");
    EXPECT_EQ(services.updateHost, "updates.example.org");
    EXPECT_FALSE(services.offline());

    environment = {{"VISTADO_GEOCODER_HOST", ""}, {"VISTADO_GEOCODER_KEY", ""}};
    services = Services::fromEnvironment(lookup);
    EXPECT_TRUE(services.offline());
    EXPECT_EQ(services.updateHost, "");

    for (const char* name : {"VISTADO_GEOCODER_KEY", "VISTADO_GEOCODER_HOST"}) {
        environment = {{name, "x"}};
        EXPECT_FALSE(Services::fromEnvironment(lookup).offline()) << name;
    }

    // The pace of the requests; what is not a whole number of milliseconds keeps the default.
    const struct {
        std::optional<std::string> text;
        int milliseconds;
    } intervals[] = {
        {std::nullopt, 200}, {"0", 0}, {"1500", 1500}, {"", 200}, {"-5", 200}, {"200ms", 200}, {" 50", 200},
        {"99999999999", 200},
    };
    for (const auto& c : intervals) {
        environment.clear();
        if (c.text)
            environment["VISTADO_GEOCODER_INTERVAL_MS"] = *c.text;
        EXPECT_EQ(Services::fromEnvironment(lookup).geocoderInterval.count(), c.milliseconds) << c.text.value_or("unset");
    }
}

TEST(Services, GeocoderRequest)
{
    const std::string query = "/maps/api/geocode/xml?latlng=48.137154,-11.576124&sensor=false";
    const struct {
        Services services;
        std::string url;
    } cases[] = {
        {{"geo.example.org", "", ""}, "http://geo.example.org" + query},
        {{"127.0.0.1:8080", "", ""}, "http://127.0.0.1:8080" + query},
        {{"", "AIzaSyA-_x", ""}, "https://maps.googleapis.com" + query + "&key=AIzaSyA-_x"},
        {{"127.0.0.1:8443", "k", ""}, "https://127.0.0.1:8443" + query + "&key=k"},
        {{"", "a b&c=d/\xC3\xA9", ""}, "https://maps.googleapis.com" + query + "&key=a%20b%26c%3Dd%2F%C3%A9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(geocoderUrl(c.services, "48.137154,-11.576124"), c.url);
}

TEST(Services, UpdateServer)
{
    const Services services{"", "", "updates.example.org:8080"};
    EXPECT_EQ(versionFileUrl(services), "http://updates.example.org:8080/download/vistado.ver");
    EXPECT_EQ(newVersionNotice(services), "neue Version: http://updates.example.org:8080/download/vistado.exe");
}

TEST(PositionText, ReadsDecimalDegrees)
{
    const struct {
        const char* text;
        double latitude;
        double longitude;
    } cases[] = {
        {"48.137154,11.576124", 48.137154, 11.576124},
        {"-33.8688,-151.2093", -33.8688, -151.2093},
        {"0,180", 0, 180},
        {" 43.46 , 11.88 ", 43.46, 11.88},
    };
    for (const auto& c : cases) {
        const std::optional<Position> at = parsePositionText(c.text);
        ASSERT_TRUE(at) << c.text;
        EXPECT_DOUBLE_EQ(at->latitude, c.latitude) << c.text;
        EXPECT_DOUBLE_EQ(at->longitude, c.longitude) << c.text;
    }
}

TEST(PositionText, RejectsWhatIsNoPosition)
{
    for (const char* text : {"", ",", "48.1", "48,1,2", "48;11", "48,1x", "4.8e1,11", "+48,11", "48.1 11.5", "abc,def"})
        EXPECT_FALSE(parsePositionText(text)) << text;
}

}  // namespace

}  // namespace vistado::test
