#pragma once

#include <string>
#include <string_view>

namespace vistado {

// The ISO 3166 three-letter code of a country's two-letter code ("DE" gives "DEU"), as the
// IIM's country code dataset wants it; a code that is not two known letters stays as it is.
std::string threeLetterCountryCode(std::string_view code);

}  // namespace vistado
