#include "meta/text/numbertext.h"

#include "meta/rangeerror.h"
#include "meta/text/settings.h"

#include <charconv>
#include <cmath>

namespace vistado {

namespace {

struct Conversion {
    bool leftAlign = false;
    bool zeroPad = false;
    int width = 0;
    int precision = 6;
    char kind = 0;
};

int readDigits(const std::string& text, size_t& at)
{
    int value = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && value < 1000)
        value = value * 10 + (text[at++] - '0');
    return value;
}

// Reads the conversion behind a "%" at text[at - 1]; at ends behind it.
Conversion readConversion(const std::string& text, size_t& at)
{
    Conversion c;
    for (; at < text.size() && (text[at] == '-' || text[at] == '0'); ++at)
        (text[at] == '-' ? c.leftAlign : c.zeroPad) = true;
    c.width = readDigits(text, at);
    if (at < text.size() && text[at] == '.') {
        ++at;
        c.precision = readDigits(text, at);
    }
    if (at < text.size())
        c.kind = text[at++];
    return c;
}

std::string fixedText(double value, int precision)
{
    char digits[512];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value,
                                            std::chars_format::fixed, precision);
    if (error != std::errc())
        return "?";
    std::string text(digits, end);
    const size_t point = text.find('.');
    if (point != std::string::npos)
        text[point] = decimalSeparator();
    return text;
}

std::string integerText(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(std::fabs(rounded) < 9.2e18))
        return fixedText(rounded, 0);
    return std::to_string(static_cast<int64_t>(rounded));
}

std::string padded(std::string text, const Conversion& c)
{
    if (static_cast<int>(text.size()) >= c.width)
        return text;
    const size_t fill = static_cast<size_t>(c.width) - text.size();
    if (c.leftAlign)
        return text + std::string(fill, ' ');
    if (c.zeroPad) {
        const size_t signLength = !text.empty() && text[0] == '-' ? 1 : 0;
        return text.insert(signLength, fill, '0');
    }
    return std::string(fill, ' ') + text;
}

}  // namespace

std::string formatNumbers(const std::string& format, std::initializer_list<double> values)
{
    std::string result;
    auto next = values.begin();
    auto take = [&] { return next != values.end() ? *next++ : 0.0; };
    size_t at = 0;
    while (at < format.size()) {
        const char ch = format[at++];
        if (ch != '%') {
            result += ch;
            continue;
        }
        if (at < format.size() && format[at] == '%') {
            result += '%';
            ++at;
            continue;
        }
        const Conversion c = readConversion(format, at);
        if (c.kind == 'f')
            result += padded(fixedText(take(), c.precision), c);
        else if (c.kind == 'd')
            result += padded(integerText(take()), c);
    }
    return result;
}

std::optional<int64_t> parseInteger(const std::string& text)
{
    size_t at = text.find_first_not_of(' ');
    if (at == std::string::npos)
        return std::nullopt;
    if (text[at] == '+')
        ++at;
    const char* first = text.data() + at;
    const char* last = text.data() + text.size();
    int64_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

int32_t roundToInt32(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        throw ERangeError("number " + fixedText(value, 2) + " outside 32 bits");
    return static_cast<int32_t>(rounded);
}

}  // namespace vistado
