#pragma once

#include "places/place.h"

#include <optional>
#include <string>

namespace vistado {

// The reply of an offline place lookup in the geocoding service's XML form,
// one element a line, so that the reply scan of the place run reads it like the service's:
// a "<status>OK</status>" line, then six <long_name> lines of which the scan skips the first
// (the city's position), takes city, state, country and country code, and drops the sixth
// (the distance, which starts with a digit). In a German locale the place text comes out as
// >Arezzo<>Toskana<>Italien<>IT<. Without a match the status is ZERO_RESULTS.
std::string placeReplyText(const std::optional<PlaceMatch>& match);

}  // namespace vistado
