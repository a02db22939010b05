#pragma once

#include <string>
#include <string_view>

namespace vistado {

// Makes the translations of libgeonames' names arrive as UTF-8: gettext would otherwise
// convert them to the character set of LC_CTYPE. Throws std::runtime_error when it cannot.
void useUtf8GeonamesTranslations();

// A name in the language of the messages locale of the moment where libgeonames has a
// translation for it, else `english`. Its translations are keyed by the GeoNames id of a city
// ("3182884"), by country code and first-level code for a region ("IT.16") and by the country
// code for a country ("IT"). Translations need a messages locale other than "C" (LANG or
// LC_MESSAGES naming an installed locale, or C.UTF-8); LANGUAGE then picks the language.
std::string geonamesTranslation(const char* key, std::string_view english);

}  // namespace vistado
