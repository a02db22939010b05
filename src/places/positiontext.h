#pragma once

#include "places/place.h"

#include <optional>
#include <string_view>

namespace vistado {

// Reads a position text, latitude "," longitude in decimal degrees with "." as the decimal
// separator and "-" for south and west (for example 43.4633,-1.8796), whatever the
// process's locale says; blanks around the numbers are allowed. None when the text is not
// such a position.
std::optional<Position> parsePositionText(std::string_view text);

}  // namespace vistado
