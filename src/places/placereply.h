#pragma once

#include "places/place.h"

#include <filesystem>
#include <optional>
#include <string>

namespace vistado {

// Writes the reply of an offline place lookup to `file` in the geocoding service's XML form,
// one element a line, so that the reply scan of the place run reads it like the service's:
// a "<status>OK</status>" line, then six <long_name> lines of which the scan skips the first
// (the city's position), takes city, state, country and country code, and drops the sixth
// (the distance, which starts with a digit). In a German locale the place text comes out as
// >Arezzo<>Toskana<>Italien<>IT<. Without a match the status is ZERO_RESULTS.
//
// The file appears whole or not at all: it is written beside its final name and renamed.
// Throws std::runtime_error when it cannot be written.
void writePlaceReply(const std::filesystem::path& file, const std::optional<PlaceMatch>& match);

// The text of that reply, for readers that scan it without a file.
std::string placeReplyText(const std::optional<PlaceMatch>& match);

}  // namespace vistado
