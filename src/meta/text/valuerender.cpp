#include "meta/text/valuerender.h"

#include "meta/text/asciitext.h"
#include "meta/text/numbertext.h"
#include "meta/rangeerror.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <utility>

namespace vistado {

namespace {

constexpr int kTypeSizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
constexpr size_t kMaxRenderedValues = 128;

bool isIntegerType(uint16_t type)
{
    return type == 1 || type == 3 || type == 4 || type == 6 || type == 8 || type == 9;
}

bool isRationalType(uint16_t type)
{
    return type == 5 || type == 10;
}

// The IEEE value of the first 4 (FLOAT) or 8 (DOUBLE) bytes of raw.
double floatValue(const std::string& raw, uint16_t type, bool bigEndian)
{
    const size_t size = type == 11 ? 4 : 8;
    if (raw.size() < size)
        return 0;
    uint64_t bits = 0;
    for (size_t i = 0; i < size; ++i) {
        const size_t at = bigEndian ? i : size - 1 - i;
        bits = bits << 8 | static_cast<uint8_t>(raw[at]);
    }
    if (size == 4)
        return std::bit_cast<float>(static_cast<uint32_t>(bits));
    return std::bit_cast<double>(bits);
}

void rationalParts(std::string_view value, bool bigEndian, int32_t& numerator, int32_t& denominator)
{
    numerator = IntegerFromBytes(value.substr(0, 4), bigEndian);
    denominator = IntegerFromBytes(value.substr(4, 4), bigEndian);
}

// Every tag's values are rendered while the file is read: numbers go
// straight into the text, without a text of their own.
void appendNumber(std::string& text, int64_t number)
{
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, number);
    text.append(digits, end);
}

}  // namespace

int typeSize(uint16_t type)
{
    if (type > 12)
        throw ERangeError("type " + std::to_string(type) + " above 12");
    return kTypeSizes[type];
}

int32_t IntegerFromBytes(std::string_view bytes, bool bigEndian)
{
    uint32_t value = 0;
    const size_t n = bytes.size();
    for (size_t i = 0; i < n; ++i)
        value = value * 256 + static_cast<uint8_t>(bytes[bigEndian ? i : n - 1 - i]);
    return static_cast<int32_t>(value);
}

std::string RenderValue(const std::string& raw, uint16_t type, const std::string& format,
                        const std::string& map, bool bigEndian, size_t enough)
{
    const size_t size = static_cast<size_t>(typeSize(type));
    if (size == 0)
        return "0";
    const size_t count = std::min(raw.size() / size, kMaxRenderedValues);
    std::string text;
    for (size_t i = 0; i < count && text.size() < enough; ++i) {
        if (i > 0)
            text += kValueSeparator;
        const std::string_view value = std::string_view(raw).substr(i * size, size);
        if (isIntegerType(type)) {
            if (map.empty())
                appendNumber(text, IntegerFromBytes(value, bigEndian));
            else
                text += MapLookup(map, std::to_string(IntegerFromBytes(value, bigEndian)));
        } else if (isRationalType(type)) {
            int32_t numerator = 0;
            int32_t denominator = 0;
            rationalParts(value, bigEndian, numerator, denominator);
            appendNumber(text, numerator);
            text += '/';
            appendNumber(text, denominator);
            if (!map.empty())
                text += MapLookup(map, text);
        } else if (type == 11 || type == 12) {
            text += "-9999.99";
        } else {
            text += "?";
        }
    }
    if (format.empty())
        return text;
    const size_t slot = format.find("%s");
    if (slot != std::string::npos) {
        std::string filled;
        filled.reserve(format.size() - 2 + text.size());
        filled.append(format, 0, slot).append(text).append(format, slot + 2);
        return filled;
    }
    return formatNumbers(format, {NumericValue(raw, type, bigEndian)});
}

double NumericValue(const std::string& raw, uint16_t type, bool bigEndian)
{
    if (isIntegerType(type))
        return IntegerFromBytes(raw, bigEndian);
    if (isRationalType(type)) {
        if (raw.size() < 8)
            return 0;
        int32_t numerator = 0;
        int32_t denominator = 0;
        rationalParts(raw, bigEndian, numerator, denominator);
        return denominator == 0 ? 0.0 : static_cast<double>(numerator) / denominator;
    }
    if (type == 11 || type == 12)
        return floatValue(raw, type, bigEndian);
    return 0;
}

// The item for key is the one that begins with key and ":", as if the map were
// enclosed in commas: at the very start or behind a comma.
std::string MapLookup(const std::string& map, const std::string& key)
{
    const std::string item = trimText(key) + ":";
    size_t start = item.size();
    if (!map.starts_with(item)) {
        const size_t comma = map.find("," + item);
        if (comma == std::string::npos)
            return {};
        start = comma + 1 + item.size();
    }
    const size_t end = map.find(',', start);
    return map.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

double FractionValue(const std::string& text)
{
    const std::string trimmed = trimText(text);
    int64_t whole = 0;
    std::string fraction = trimmed;
    const size_t blank = trimmed.find(' ');
    if (blank != std::string::npos) {
        const auto parsed = parseInteger(trimmed.substr(0, blank));
        if (!parsed)
            return 0;
        whole = *parsed;
        fraction = trimmed.substr(blank + 1);
    }
    const size_t slash = fraction.find('/');
    if (slash == std::string::npos)
        return 0;
    const auto numerator = parseInteger(fraction.substr(0, slash));
    const auto denominator = parseInteger(fraction.substr(slash + 1));
    if (!numerator || !denominator || *denominator == 0)
        return 0;
    const double d = static_cast<double>(*denominator);
    return (static_cast<double>(whole) * d + static_cast<double>(*numerator)) / d;
}

std::string textUpToZero(const std::string& raw)
{
    return raw.substr(0, raw.find('\0'));
}

std::string quotedUpToZero(const std::string& raw)
{
    return "\"" + textUpToZero(raw) + "\"";
}

std::string visibleText(std::string text)
{
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32)
            c = '.';
    return text;
}

std::string PrintableText(std::string text)
{
    if (text.size() > kPrintableLength)
        text.resize(kPrintableLength);
    return visibleText(std::move(text));
}

std::string SpacedName(const std::string& key)
{
    auto isCapital = [](char c) { return c >= 'A' && c <= 'Z'; };
    std::string caption = key.substr(0, 1);
    for (size_t i = 1; i < key.size(); ++i) {
        if (isCapital(key[i]) && !isCapital(key[i - 1]))
            caption += ' ';
        caption += key[i];
    }
    return caption;
}

}  // namespace vistado
