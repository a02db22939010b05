#include "geocoderreplies.h"
#include "geocoderservice.h"
#include "httpserver.h"
#include "places/placetext.h"
#include "rawserver.h"
#include "testfiles.h"
#include "app/vistado4.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>

namespace vistado::test {

namespace {

const QString kCaption = QStringLiteral("Vistado  MV " VISTADO_EXPECTED_VERSION);

class GeocoderExchange : public ::testing::Test {
protected:
    bool replyExists() const { return std::filesystem::exists(tmp.path() + "/geodat.xml"); }

    // Lets the window report what its downloads did, as the place run does between images.
    static void settle(TForm1& form)
    {
        while (form.HTTPGet1.busy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    TempDir tmp;
};

TEST_F(GeocoderExchange, DownloadComponentsAsTheWindowHasThem)
{
    TForm1 form("", tmp.path());
    for (const net::THTTPGet* get : {&form.HTTPGet1, &form.HTTPGet2}) {
        EXPECT_EQ(get->AcceptTypes, "*/*");
        EXPECT_EQ(get->Agent, "Fetchkin HTTPGet");
        EXPECT_FALSE(get->BinaryData);
        EXPECT_FALSE(get->UseCache);
        EXPECT_FALSE(get->WaitThread);
        EXPECT_FALSE(get->busy());
    }
    // The update check's poll gives up after about 2 s; its download must not outlast it.
    EXPECT_LE(form.HTTPGet2.connectTimeout, 2);
    EXPECT_LE(form.HTTPGet2.stallTimeout, 2);
}

TEST_F(GeocoderExchange, ServiceReplyBecomesThePlaceText)
{
    const auto service = serviceAnswering({{"48.137154,11.576124", kReplyOkSeveralResults}});
    TForm1 form("", tmp.path(), geocoderAt(service->port()));

    ASSERT_TRUE(form.hole_daten("48.137154,11.576124"));
    EXPECT_EQ(form.HTTPGet1.URL, "http://127.0.0.1:" + std::to_string(service->port()) +
                                     "/maps/api/geocode/xml?latlng=48.137154,11.576124&sensor=false");
    EXPECT_EQ(form.mache_orts_info(), ">Marktgasse<>Altstadt<>Musterstadt<>Oberland<>Deutschland<");
    EXPECT_FALSE(replyExists());
    EXPECT_EQ(form.windowTitle(), kCaption);

    const auto requests = service->requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, "/maps/api/geocode/xml?latlng=48.137154,11.576124&sensor=false");
    EXPECT_EQ(requests[0].header("Accept"), "*/*");
    EXPECT_EQ(requests[0].header("User-Agent"), "Fetchkin HTTPGet");
}

TEST_F(GeocoderExchange, NamesComeInTheWindowsCharacterSet)
{
    const auto service = serviceAnswering(
        {{"48.8,2.3", replyOk({"3", "Stra\xC3\x9F" "e", "Caf\xC3\xA9", "\xC3\x89vry", "France", "\xC3\x8Ele"})}});
    TForm1 form("", tmp.path(), geocoderAt(service->port()));
    for (const auto& [charset, placeText] : {std::pair<std::string, std::string>{"ISO-8859-1", ">Stra\xDF" "e<>Caf\xE9<>\xC9vry<>France<>\xCEle<"},
                                              {"UTF-8", ">Stra\xC3\x9F" "e<>Caf\xC3\xA9<>\xC3\x89vry<>France<>\xC3\x8Ele<"}}) {
        form.nameCharset = charset;
        ASSERT_TRUE(form.hole_daten("48.8,2.3"));
        EXPECT_EQ(form.mache_orts_info(), placeText) << charset;
    }
}

// Between images the window may not have processed the last download's report: the next
// request must still be made, and get its own reply.
TEST_F(GeocoderExchange, EachPositionGetsItsOwnReply)
{
    const auto service = serviceAnswering({{"1,1", replyOk({"0", "Eins", "b", "c", "d"})},
                                           {"2,2", replyOk({"0", "Zwei", "b", "c", "d"})}});
    TForm1 form("", tmp.path(), geocoderAt(service->port()));
    for (const char* position : {"1,1", "2,2", "1,1"}) {
        ASSERT_TRUE(form.hole_daten(position)) << position;
        EXPECT_EQ(form.mache_orts_info(), std::string(position) == "2,2" ? ">Zwei<>b<>c<>d<" : ">Eins<>b<>c<>d<");
    }
    EXPECT_EQ(service->requests().size(), 3u);
}

TEST_F(GeocoderExchange, StatusNotOkGivesNoPlaceText)
{
    const auto service = serviceAnswering({{"0,0", kReplyZeroResults}, {"1,1", kReplyRequestDenied}});
    TForm1 form("", tmp.path(), geocoderAt(service->port()));
    for (const char* position : {"0,0", "1,1"}) {
        ASSERT_TRUE(form.hole_daten(position)) << position;
        EXPECT_EQ(form.mache_orts_info(), "") << position;
        EXPECT_FALSE(replyExists()) << position;
    }
    EXPECT_EQ(form.windowTitle(), kCaption);
}

TEST_F(GeocoderExchange, LeftOverReplyNeverTagsTheNextImage)
{
    const std::string stale = replyOk({"0", "Alt", "b", "c", "d"});
    // The service answers only after the first poll has looked for the reply.
    const auto service = serviceAnswering({{"1,1", replyOk({"0", "Neu", "b", "c", "d"})}}, std::chrono::milliseconds(300));
    TForm1 form("", tmp.path(), geocoderAt(service->port()));

    writeFile(tmp.file("geodat.xml"), stale);
    ASSERT_TRUE(form.hole_daten("1,1"));
    EXPECT_EQ(form.mache_orts_info(), ">Neu<>b<>c<>d<");

    // The service fails this time (404): the left-over reply is not taken for an answer.
    writeFile(tmp.file("geodat.xml"), stale);
    EXPECT_FALSE(form.hole_daten("9,9"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Google pennt"));
    EXPECT_FALSE(replyExists());
}

// No reply at all is the service's time-out, not a reply without a place.
TEST_F(GeocoderExchange, UnreachableServiceIsGooglePennt)
{
    RefusingPort refusing;
    TForm1 refused("", tmp.path(), geocoderAt(refusing.port()));
    EXPECT_FALSE(refused.hole_daten("1,1"));
    EXPECT_EQ(refused.windowTitle(), QStringLiteral("Google pennt"));

    // With a key the request goes over HTTPS.
    TForm1 keyed("", tmp.path(), geocoderAt(refusing.port(), "AIzaKey"));
    EXPECT_FALSE(keyed.hole_daten("1,1"));
    EXPECT_EQ(keyed.HTTPGet1.URL, "https://127.0.0.1:" + std::to_string(refusing.port()) +
                                      "/maps/api/geocode/xml?latlng=1,1&sensor=false&key=AIzaKey");
    EXPECT_EQ(keyed.windowTitle(), QStringLiteral("Google pennt"));
    EXPECT_FALSE(replyExists());
}

// A service that takes the request and never answers: the window waits about 10 s.
TEST_F(GeocoderExchange, SilentServiceTimesOut)
{
    RawServer silent(std::nullopt);
    TForm1 form("", tmp.path(), geocoderAt(silent.port()));
    EXPECT_FALSE(form.hole_daten("1,1"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Google pennt"));
    EXPECT_EQ(silent.connections(), 1);

    // The request was given up, so no late reply can turn up for the next image.
    settle(form);
    EXPECT_FALSE(form.HTTPGet1.hasSucceeded());
    EXPECT_FALSE(replyExists());
}

TEST_F(GeocoderExchange, ReplyThatCannotBeReadIsFehlerBeimXmlLesen)
{
    TForm1 form("", tmp.path());
    EXPECT_EQ(form.mache_orts_info(), "");
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Fehler beim xml-Lesen"));
}

// Without a key and a host, the city list answers, through the same reply file and scan.
TEST_F(GeocoderExchange, OfflinePlaces)
{
    TForm1 form("", tmp.path());
    ASSERT_TRUE(form.hole_daten("43.4633,11.8796"));
    const std::string arezzo = form.mache_orts_info();
    EXPECT_TRUE(arezzo.starts_with(">Arezzo<")) << arezzo;
    EXPECT_TRUE(arezzo.ends_with(">IT<")) << arezzo;
    EXPECT_EQ(std::count(arezzo.begin(), arezzo.end(), '>'), 4) << arezzo;
    EXPECT_FALSE(nochkeinort(arezzo));
    EXPECT_FALSE(replyExists());

    for (const char* nowhere : {"0,-30", "kein GPS", "91,0"}) {
        ASSERT_TRUE(form.hole_daten(nowhere)) << nowhere;
        EXPECT_EQ(form.mache_orts_info(), "") << nowhere;
    }
    EXPECT_EQ(form.windowTitle(), kCaption);
}

}  // namespace

}  // namespace vistado::test
