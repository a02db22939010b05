#include "places/geonamestranslation.h"

#include <libintl.h>

#include <stdexcept>

namespace vistado {

namespace {

constexpr const char* kDomain = "geonames";

}  // namespace

void useUtf8GeonamesTranslations()
{
    if (!bind_textdomain_codeset(kDomain, "UTF-8"))
        throw std::runtime_error("offline places: cannot select UTF-8 for the translations of place names");
}

std::string geonamesTranslation(const char* key, std::string_view english)
{
    [[maybe_unused]] static const bool utf8 = [] {
        useUtf8GeonamesTranslations();
        return true;
    }();
    const char* translated = dgettext(kDomain, key);
    // gettext hands back the key itself when it has no translation.
    return translated == key ? std::string(english) : std::string(translated);
}

}  // namespace vistado
