#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vistado {

// Turning raw TIFF values into text and numbers. Multi-byte numbers follow the
// byte order passed in: the order of the decoder that reads them.

// TIFF value types the engine treats by name.
inline constexpr uint16_t kTypeByte = 1;
inline constexpr uint16_t kTypeAscii = 2;
inline constexpr uint16_t kTypeShort = 3;
inline constexpr uint16_t kTypeLong = 4;
inline constexpr uint16_t kTypeUndefined = 7;
inline constexpr uint16_t kTypeSignedRational = 10;

// What RenderValue puts between the values of a list; formatters that take
// such a list apart split it there.
inline constexpr std::string_view kValueSeparator = ", ";

// Bytes per value of TIFF types 0 to 12; a type above 12 is a range error.
int typeSize(uint16_t type);

// The bytes as one number, first byte highest in big-endian order, last byte
// highest in little-endian order; the low 32 bits, read as signed.
int32_t IntegerFromBytes(std::string_view bytes, bool bigEndian);

// The values of raw (at most 128), ", " between them; integers through the
// value map when there is one; the format template applied to the whole.
// With enough, no value is added once the values' text is that long: a
// reader that shows only the first characters need not render the rest.
std::string RenderValue(const std::string& raw, uint16_t type, const std::string& format,
                        const std::string& map, bool bigEndian, size_t enough = std::string::npos);

// The first value (integers: all of raw) as a number; 0 for texts and for
// anything unusable. FLOAT and DOUBLE are decoded as IEEE values.
double NumericValue(const std::string& raw, uint16_t type, bool bigEndian);

// The text of the item for key in a map such as "1:Macro,2:Normal"; empty when
// there is none.
std::string MapLookup(const std::string& map, const std::string& key);

// A fraction "n/d" or "w n/d" as a number; 0 for anything else.
double FractionValue(const std::string& text);

// Bytes up to (not including) the first zero byte, in double quotes.
std::string quotedUpToZero(const std::string& raw);

// An ASCII value as text: its bytes up to the first zero byte, which ends
// the text and whatever padding follows it.
std::string textUpToZero(const std::string& raw);

// The text with its control characters shown as ".".
std::string visibleText(std::string text);
// The first 50 characters of visibleText: for values that are no text (lists
// of numbers, binary data), of which a line shows only the start.
inline constexpr size_t kPrintableLength = 50;
std::string PrintableText(std::string text);

// A caption made from a key: a blank in front of every capital letter that
// follows a character other than a capital letter ("ExposureTime" gives
// "Exposure Time", "GPSLatitudeRef" gives "GPSLatitude Ref").
std::string SpacedName(const std::string& key);

}  // namespace vistado
