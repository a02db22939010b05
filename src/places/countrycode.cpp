#include "places/countrycode.h"

#include "meta/text/asciitext.h"

#include <algorithm>
#include <iterator>

namespace vistado {

namespace {

struct CountryCodes {
    const char* twoLetters;
    const char* threeLetters;
};

constexpr CountryCodes kCountryCodes[] = {
#include "countrycodes.inc"
};

}  // namespace

std::string threeLetterCountryCode(std::string_view code)
{
    const std::string upper = upperAscii(std::string(code));
    const auto found = std::find_if(std::begin(kCountryCodes), std::end(kCountryCodes),
                                    [&](const CountryCodes& c) { return upper == c.twoLetters; });
    return found != std::end(kCountryCodes) ? found->threeLetters : std::string(code);
}

}  // namespace vistado
