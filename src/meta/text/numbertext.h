#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

namespace vistado {

// Number texts independent of the C locale: the engine's decimal separator
// (settings.h) is the only thing that changes how a number looks.

// Applies a format template such as "%5.2f", "F%0.1f" or
// "%0.0f Degrees %1.2f Minutes" to the values, in order. Conversions: f (fixed
// with the given precision, default 6), d (the value rounded to an integer)
// and %%; flags "-" (pad on the right) and "0" (pad with zeros); a width pads
// to that many characters. Other text is copied; a missing value counts as 0.
std::string formatNumbers(const std::string& format, std::initializer_list<double> values);

// A decimal integer: leading blanks, an optional sign, digits and nothing
// else. No value for anything else or for numbers outside 64 bits.
std::optional<int64_t> parseInteger(const std::string& text);

// The number rounded to the nearest integer, ties to the even neighbour; a
// range error when it does not fit in 32 bits.
int32_t roundToInt32(double value);

}  // namespace vistado
