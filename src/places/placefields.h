#pragma once

#include "meta/locationfields.h"
#include "places/place.h"

#include <string_view>

namespace vistado {

// The location fields of the place the place run found, in UTF-8 and in the language the
// lookup answered in, as the place text is; the country code in three letters.

// From a geocoding service's XML reply: the address components by their types, each from
// the first result that has it: locality (the city), administrative_area_level_1 (the
// state), country (its long name, and its short name as the code). None for a reply whose
// status is not OK or that does not parse.
LocationFields placeFieldsFromReply(std::string_view reply);

// From the offline lookup's place.
LocationFields placeFieldsOf(const Place& place);

}  // namespace vistado
