#include "fakeclock.h"
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
    // The service answers late: a left-over reply would be there long before.
    const auto service = serviceAnswering({{"1,1", replyOk({"0", "Neu", "b", "c", "d"})}}, std::chrono::milliseconds(300));
    TForm1 form("", tmp.path(), geocoderAt(service->port()));

    writeFile(tmp.file("geodat.xml"), stale);
    ASSERT_TRUE(form.hole_daten("1,1"));
    EXPECT_EQ(form.mache_orts_info(), ">Neu<>b<>c<>d<");

    // The service fails this time (404): the left-over reply is not taken for an answer.
    writeFile(tmp.file("geodat.xml"), stale);
    EXPECT_FALSE(form.hole_daten("9,9"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Geocoder-Fehler HTTP 404"));
    EXPECT_FALSE(replyExists());
}

// A request that brings no whole reply is no reply: the caption says what went wrong, and no
// reply file is left for the scan.
TEST_F(GeocoderExchange, AFailedRequestSaysWhyInTheCaption)
{
    const RefusingPort refusing;
    const auto missing = serviceAnswering({});
    const RawServer unavailable("HTTP/1.0 503 Service Unavailable\r\nContent-Length: 4\r\n\r\nbusy");
    const std::string whole = kReplyOkSeveralResults;
    const RawServer cutShort("HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(whole.size()) + "\r\n\r\n" +
                             whole.substr(0, 485));
    const struct {
        const char* name;
        Services services;
        QString caption;
    } cases[] = {
        {"connection refused", geocoderAt(refusing.port()), QStringLiteral("Geocoder nicht erreichbar")},
        {"connection refused, over HTTPS", geocoderAt(refusing.port(), "AIzaKey"),
         QStringLiteral("Geocoder nicht erreichbar")},
        {"not found", geocoderAt(missing->port()), QStringLiteral("Geocoder-Fehler HTTP 404")},
        {"unavailable", geocoderAt(unavailable.port()), QStringLiteral("Geocoder-Fehler HTTP 503")},
        {"body cut short", geocoderAt(cutShort.port()), QStringLiteral("Geocoder-Antwort unvollständig")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TForm1 form("", tmp.path(), c.services);
        EXPECT_FALSE(form.hole_daten("1,1"));
        EXPECT_EQ(form.windowTitle(), c.caption);
        EXPECT_FALSE(replyExists());
    }
}

// Requests to the service start at least the interval apart, however long the service took
// to answer; the wait for each reply ends with its download, without a pause of its own.
TEST_F(GeocoderExchange, RequestsKeepTheServicesInterval)
{
    using std::chrono::milliseconds;
    const struct {
        milliseconds interval;
        milliseconds answerTime;  // what each reply takes, on the test's clock
        std::vector<milliseconds> pauses;
    } cases[] = {
        {milliseconds(200), milliseconds(120), {milliseconds(80), milliseconds(80)}},
        {milliseconds(200), milliseconds(300), {}},
        {milliseconds(0), milliseconds(120), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.interval.count());
        FakeClock time;
        std::vector<std::size_t> requestsAtPause;
        HttpServer service([&](httplib::Server& routes) {
            routes.Get("/maps/api/geocode/xml", [&](const httplib::Request&, httplib::Response& response) {
                // Really 20 ms, so the window has to wait for it.
                std::this_thread::sleep_for(milliseconds(20));
                time.advance(c.answerTime);
                response.set_content(replyOk({"0", "Eins", "b", "c", "d"}), "application/xml");
            });
        });
        Services services = geocoderAt(service.port());
        services.geocoderInterval = c.interval;
        TForm1 form("", tmp.path(), services);
        form.runClock = time.clock();
        form.runClock.pause = [&, pause = form.runClock.pause](milliseconds span) {
            requestsAtPause.push_back(service.requests().size());
            pause(span);
        };
        for (int request = 0; request < 3; ++request) {
            ASSERT_TRUE(form.hole_daten("1,1"));
            EXPECT_EQ(form.mache_orts_info(), ">Eins<>b<>c<>d<");
        }
        EXPECT_EQ(time.pauses, c.pauses);
        // Each pause came between two requests, before the next one was made.
        for (std::size_t i = 0; i < requestsAtPause.size(); ++i)
            EXPECT_EQ(requestsAtPause[i], i + 1);
        EXPECT_EQ(service.requests().size(), 3u);
    }
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

// Without a key and a host, the city list answers at once, through the same reply file and
// scan.
TEST_F(GeocoderExchange, OfflinePlaces)
{
    TForm1 form("", tmp.path());
    FakeClock time;
    form.runClock = time.clock();
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
    EXPECT_TRUE(time.pauses.empty());
}

}  // namespace

}  // namespace vistado::test
