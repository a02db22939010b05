// The geocoder exchange of the window: the request for one position, the wait for the reply
// file and its scan into the place text.
#include "app/vistado4.h"

#include "app/downloadpoll.h"
#include "places/offlineplaces.h"
#include "places/placereply.h"
#include "places/placetext.h"
#include "places/positiontext.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace vistado {

namespace {

constexpr const char* kReplyFile = "geodat.xml";
constexpr int kReplyPolls = 101;   // about 10 s
constexpr int kOpenAttempts = 11;

void pause(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace

bool TForm1::hole_daten(const std::string& positionText)
{
    // A reply file left over from an earlier request, or one the earlier request could
    // still bring, must not pass for this position's reply.
    settleDownload(HTTPGet1);
    const std::string reply = ownFile(kReplyFile);
    std::filesystem::remove(reply);

    pause(100);
    if (services.offline()) {
        writeOfflineReply(reply, positionText);
    } else {
        HTTPGet1.URL = geocoderUrl(services, positionText);
        HTTPGet1.FileName = reply;
        HTTPGet1.StartDownload();
    }
    if (awaitDownloadedFile(reply, kReplyPolls, HTTPGet1))
        return true;
    HTTPGet1.CancelDownload();
    setWindowTitle(QStringLiteral("Google pennt"));
    return false;
}

std::string TForm1::mache_orts_info()
{
    const std::string reply = ownFile(kReplyFile);
    std::ifstream in;
    for (int attempt = 0; attempt < kOpenAttempts && !in.is_open(); ++attempt) {
        in.open(reply, std::ios::binary);
        pause(10);
    }
    if (!in.is_open()) {
        setWindowTitle(QStringLiteral("Fehler beim xml-Lesen"));
        return {};
    }
    const std::string placeText = placeTextFromReply(in, nameCharset);
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

void TForm1::writeOfflineReply(const std::string& reply, const std::string& positionText)
{
    if (!offlinePlaces)
        offlinePlaces = std::make_unique<OfflinePlaces>();
    const std::optional<Position> at = parsePositionText(positionText);
    writePlaceReply(reply, at ? offlinePlaces->nearest(*at) : std::nullopt);
}

}  // namespace vistado
