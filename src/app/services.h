#pragma once

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>

namespace vistado {

// Where the place lookup and the update check go. The program reads this from the
// environment at start-up and keeps no configuration of its own.
struct Services {
    std::string geocoderHost;  // VISTADO_GEOCODER_HOST, may end in ":port"; empty: not set
    std::string geocoderKey;   // VISTADO_GEOCODER_KEY; empty: not set
    std::string updateHost;    // VISTADO_UPDATE_HOST, may end in ":port"; empty: no update check
    // VISTADO_GEOCODER_INTERVAL_MS: the least time from one request to the geocoding service
    // to the next one, so as not to run into its rate limit; 0 for a service of one's own.
    static constexpr std::chrono::milliseconds kDefaultGeocoderInterval{200};
    std::chrono::milliseconds geocoderInterval = kDefaultGeocoderInterval;

    // The four variables; a variable set to an empty text counts as not set, and so does an
    // interval that is not a whole number of milliseconds. `lookup` stands in for getenv.
    static Services fromEnvironment(const std::function<const char*(const char*)>& lookup =
                                         [](const char* name) -> const char* { return std::getenv(name); });

    // Neither a key nor a host for the geocoding service: places come from the offline
    // lookup and nothing goes over the network.
    bool offline() const { return geocoderKey.empty() && geocoderHost.empty(); }
};

// The geocoding request for a position text such as 48.137154,11.576124, which goes into
// the query unchanged. Without a key: "http://" + host + path and query, on the service's
// host when none is set. With a key, which the service wants over HTTPS:
// "https://" + host + path and query + "&key=" + the key, percent-encoded.
std::string geocoderUrl(const Services& services, const std::string& positionText);

// The update server's version file, and the notice that names the new program's download.
std::string versionFileUrl(const Services& services);
std::string newVersionNotice(const Services& services);

}  // namespace vistado
