#include "places/placefields.h"

#include "places/countrycode.h"

#include <pugixml.hpp>

#include <cstring>

namespace vistado {

namespace {

// The name of the first address component of that type, of the first result that has one.
std::string componentName(const pugi::xml_node& response, const char* type, const char* name)
{
    for (const pugi::xml_node& result : response.children("result"))
        for (const pugi::xml_node& component : result.children("address_component"))
            for (const pugi::xml_node& componentType : component.children("type"))
                if (std::strcmp(componentType.child_value(), type) == 0)
                    return component.child_value(name);
    return {};
}

}  // namespace

LocationFields placeFieldsFromReply(std::string_view reply)
{
    pugi::xml_document document;
    if (!document.load_buffer(reply.data(), reply.size()))
        return {};
    const pugi::xml_node response = document.child("GeocodeResponse");
    if (std::strcmp(response.child_value("status"), "OK") != 0)
        return {};
    return {componentName(response, "locality", "long_name"),
            componentName(response, "administrative_area_level_1", "long_name"),
            componentName(response, "country", "long_name"),
            threeLetterCountryCode(componentName(response, "country", "short_name"))};
}

LocationFields placeFieldsOf(const Place& place)
{
    return {place.name, place.state, place.country, threeLetterCountryCode(place.countryCode)};
}

}  // namespace vistado
