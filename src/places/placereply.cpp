#include "places/placereply.h"

#include <charconv>
#include <string>
#include <string_view>

namespace vistado {

namespace {

// The address components of a reply, in the order the scan counts their <long_name> lines.
constexpr const char* kComponentTypes[] = {
    "point", "locality", "administrative_area_level_1", "country", "country_code", "distance",
};

// A name as the scan needs it: the scan reads line by line, cuts a name at its first "<" and
// counts every ">" as a piece mark, so these and line breaks are replaced. It decodes no
// entities, so "&" is written as it is: the reply's only reader is that scan.
std::string elementText(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    for (const char c : name) {
        if (c == '<')
            out += '(';
        else if (c == '>')
            out += ')';
        else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            out += ' ';
        else
            out += c;
    }
    return out;
}

std::string fixed(double value, int decimals)
{
    char digits[64];
    const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    return std::string(digits, result.ptr);
}

}  // namespace

std::string placeReplyText(const std::optional<PlaceMatch>& match)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<GeocodeResponse>\n";
    if (!match) {
        xml += " <status>ZERO_RESULTS</status>\n</GeocodeResponse>\n";
        return xml;
    }
    const Place& place = match->place;
    const std::string names[] = {
        fixed(place.position.latitude, 5) + "," + fixed(place.position.longitude, 5),
        elementText(place.name),
        elementText(place.state),
        elementText(place.country),
        elementText(place.countryCode),
        fixed(match->distanceKm, 1) + " km",
    };
    xml += " <status>OK</status>\n <result>\n  <type>locality</type>\n";
    for (std::size_t i = 0; i < std::size(names); ++i) {
        xml += "  <address_component>\n";
        xml += "   <long_name>" + names[i] + "</long_name>\n";
        xml += "   <type>" + std::string(kComponentTypes[i]) + "</type>\n";
        xml += "  </address_component>\n";
    }
    xml += " </result>\n</GeocodeResponse>\n";
    return xml;
}

}  // namespace vistado
