#pragma once

#include <stdexcept>
#include <string>

namespace vistado {

// The four location values that photo managers search: city, first-level region, country and
// its code. In UTF-8, as IIM (with its character-set dataset) and XMP hold them.
struct LocationFields {
    std::string city;
    std::string state;
    std::string country;
    std::string countryCode;

    bool any() const { return !city.empty() || !state.empty() || !country.empty() || !countryCode.empty(); }
    bool operator==(const LocationFields&) const = default;
};

// Metadata the location fields cannot be written into without damaging it; what() is the
// reason as the run log gives it, for example "APP13 beschädigt".
class EFieldsNotWritable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace vistado
