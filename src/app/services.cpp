#include "app/services.h"

#include <charconv>

namespace vistado {

namespace {

constexpr const char* kDefaultGeocoderHost = "maps.googleapis.com";
constexpr const char* kGeocoderPath = "/maps/api/geocode/xml?latlng=";
constexpr const char* kGeocoderQueryEnd = "&sensor=false";

std::string variable(const std::function<const char*(const char*)>& lookup, const char* name)
{
    const char* value = lookup(name);
    return value ? value : "";
}

std::chrono::milliseconds interval(const std::string& text)
{
    int milliseconds = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, milliseconds);
    if (text.empty() || error != std::errc() || stop != end || milliseconds < 0)
        return Services::kDefaultGeocoderInterval;
    return std::chrono::milliseconds(milliseconds);
}

// Keeps a key from breaking the query, whatever the user pasted.
std::string percentEncoded(const std::string& text)
{
    constexpr const char* hex = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                                c == '-' || c == '_' || c == '.' || c == '~';
        if (unreserved) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += hex[byte >> 4];
            encoded += hex[byte & 0x0F];
        }
    }
    return encoded;
}

std::string updateServerAddress(const Services& services)
{
    return "http://" + services.updateHost;
}

}  // namespace

Services Services::fromEnvironment(const std::function<const char*(const char*)>& lookup)
{
    return {variable(lookup, "VISTADO_GEOCODER_HOST"), variable(lookup, "VISTADO_GEOCODER_KEY"),
            variable(lookup, "VISTADO_UPDATE_HOST"), interval(variable(lookup, "VISTADO_GEOCODER_INTERVAL_MS"))};
}

std::string geocoderUrl(const Services& services, const std::string& positionText)
{
    const std::string host = services.geocoderHost.empty() ? kDefaultGeocoderHost : services.geocoderHost;
    const std::string pathAndQuery = kGeocoderPath + positionText + kGeocoderQueryEnd;
    if (services.geocoderKey.empty())
        return "http://" + host + pathAndQuery;
    return "https://" + host + pathAndQuery + "&key=" + percentEncoded(services.geocoderKey);
}

std::string versionFileUrl(const Services& services)
{
    return updateServerAddress(services) + "/download/vistado.ver";
}

std::string newVersionNotice(const Services& services)
{
    return "neue Version: " + updateServerAddress(services) + "/download/vistado.exe";
}

}  // namespace vistado
