// The geocoder exchange of the window: the request for one position, the wait for the reply
// file and its scan into the place text.
#include "app/vistado4.h"

#include "app/downloadwait.h"
#include "places/offlineplaces.h"
#include "places/placefields.h"
#include "places/placereply.h"
#include "places/placetext.h"
#include "places/positiontext.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace vistado {

namespace {

constexpr const char* kReplyFile = "geodat.xml";
constexpr std::chrono::milliseconds kReplyWait{10000};
constexpr int kOpenAttempts = 11;
constexpr std::chrono::milliseconds kOpenPause{10};

// What the caption says when the service's reply did not come.
QString noReplyCaption(const net::THTTPGet& download)
{
    switch (download.fault()) {
    case net::DownloadFault::Unreachable:
        return QStringLiteral("Geocoder nicht erreichbar");
    case net::DownloadFault::ErrorStatus:
        return QStringLiteral("Geocoder-Fehler HTTP %1").arg(download.httpStatus());
    case net::DownloadFault::CutShort:
        return QStringLiteral("Geocoder-Antwort unvollständig");
    case net::DownloadFault::NotKept:
        return QStringLiteral("Fehler beim xml-Schreiben");
    default:
        return QStringLiteral("Google pennt");
    }
}

}  // namespace

bool TForm1::hole_daten(const std::string& positionText)
{
    // A reply file left over from an earlier request, or one the earlier request could
    // still bring, must not pass for this position's reply.
    settleDownload(HTTPGet1);
    const std::string reply = ownFile(kReplyFile);
    std::filesystem::remove(reply);

    if (services.offline()) {
        // The city list answers on the spot: nothing to wait for, no file to hand over.
        offlineReply = offlineReplyFor(positionText);
        return true;
    }
    geocoderPace.awaitTurn();
    HTTPGet1.URL = geocoderUrl(services, positionText);
    HTTPGet1.FileName = reply;
    HTTPGet1.StartDownload();
    if (awaitDownloadedFile(reply, kReplyWait, HTTPGet1))
        return true;
    setWindowTitle(noReplyCaption(HTTPGet1));
    return false;
}

std::string TForm1::mache_orts_info()
{
    placeFields = {};
    if (offlineReply) {
        std::istringstream in(*offlineReply);
        offlineReply.reset();
        placeFields = offlineFields;
        return placeTextFromReply(in, nameCharset);
    }
    const std::string reply = ownFile(kReplyFile);
    std::ifstream in(reply, std::ios::binary);
    for (int attempt = 1; attempt < kOpenAttempts && !in.is_open(); ++attempt) {
        runClock.pause(kOpenPause);
        in.open(reply, std::ios::binary);
    }
    if (!in.is_open()) {
        setWindowTitle(QStringLiteral("Fehler beim xml-Lesen"));
        return {};
    }
    // The comment's names come from the reply's lines, the fields from its address
    // components by their types.
    const std::string replyText{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::istringstream lines(replyText);
    const std::string placeText = placeTextFromReply(lines, nameCharset);
    placeFields = placeFieldsFromReply(replyText);
    in.close();
    std::filesystem::remove(reply);
    return placeText;
}

// Stops the component's download if one is still going, and lets the window process events
// until its end has been reported: only then does the component take a new request. A
// download whose file has arrived has ended already and keeps its result.
void TForm1::settleDownload(net::THTTPGet& download)
{
    download.CancelDownload();
    const net::UiThread ui = qtUiThread(this);
    while (download.busy())
        ui.pump();
}

std::string TForm1::offlineReplyFor(const std::string& positionText)
{
    if (!offlinePlaces)
        offlinePlaces = std::make_unique<OfflinePlaces>();
    const std::optional<Position> at = parsePositionText(positionText);
    const std::optional<PlaceMatch> match = at ? offlinePlaces->nearest(*at) : std::nullopt;
    offlineFields = match ? placeFieldsOf(match->place) : LocationFields();
    return placeReplyText(match);
}

}  // namespace vistado
