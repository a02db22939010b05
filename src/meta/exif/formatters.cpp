#include "meta/exif/formatters.h"

#include "meta/text/numbertext.h"
#include "meta/rangeerror.h"
#include "meta/text/settings.h"
#include "meta/text/valuerender.h"

#include <cmath>

namespace vistado {

namespace {

constexpr size_t kRestLength = 64;

struct Triple {
    double first = 0;
    double second = 0;
    double third = 0;
};

// Splits a rendered list of fractions at ", ". With fewer than three values
// the leading ones count as missing: "a, b" is read as first a, third b, and
// "a" as third a.
Triple splitTriple(const std::string& text)
{
    auto split = [](const std::string& whole, double& head, std::string& rest) {
        const size_t at = whole.find(kValueSeparator);
        head = at == std::string::npos ? 0.0 : FractionValue(whole.substr(0, at));
        rest = at == std::string::npos ? whole : whole.substr(at + kValueSeparator.size());
    };
    Triple t;
    std::string rest;
    split(text, t.first, rest);
    std::string last;
    split(rest.substr(0, kRestLength), t.second, last);
    t.third = FractionValue(last);
    return t;
}

}  // namespace

size_t renderedLengthUsed(TagFormatter formatter)
{
    // A first value (23 characters at most) and the 64 behind its separator
    // decide a triple; two values decide that a text is no number; five
    // characters are the components.
    struct Reach {
        TagFormatter formatter;
        size_t length;
    };
    static const Reach kReaches[] = {
        {RenderGpsCoordinate, 128}, {RenderGpsTime, 128}, {RenderShutterSpeed, 64},
        {RenderFlash, 64},          {RenderComponents, 64},
    };
    if (formatter == nullptr)
        return kPrintableLength;
    for (const Reach& reach : kReaches)
        if (reach.formatter == formatter)
            return reach.length;
    return std::string::npos;
}

std::string RenderGpsCoordinate(const std::string& text)
{
    auto [degrees, minutes, seconds] = splitTriple(text);
    if (seconds == 0) {
        // Minutes with a fraction and no seconds: the fraction becomes seconds.
        seconds = (minutes - std::trunc(minutes)) * 100 * 0.6;
        minutes = std::trunc(minutes);
    }
    switch (gpsRenderingMode()) {
    case 0:
        return formatNumbers("%1.6f", {degrees + (minutes + seconds / 60) / 60});
    case 1:
        return formatNumbers("%0.0f Degrees %1.2f Minutes", {degrees, minutes + seconds / 60});
    case 2:
        return formatNumbers("%0.0f %0.0f %0.2f", {degrees, minutes, seconds});
    default:
        return text;
    }
}

std::string RenderGpsTime(const std::string& text)
{
    const Triple t = splitTriple(text);
    return formatNumbers("%0.0f:%0.0f:%0.0f", {t.first, t.second, t.third});
}

std::string RenderComponents(const std::string& text)
{
    static const char* const kComponents[] = {"", "Y", "Cb", "Cr", "R", "G", "B"};
    std::string shown;
    for (size_t i = 1; i <= 4 && i < text.size(); ++i) {
        const auto code = static_cast<unsigned char>(text[i]);
        if (code >= 1 && code <= 6)
            shown += kComponents[code];
    }
    return shown;
}

std::string RenderFlash(const std::string& text)
{
    const auto value = parseInteger(text);
    if (!value)
        throw ERangeError("'" + text + "' is not a valid integer value");
    const int64_t v = *value;
    static const char* const kReturn[] = {"", ", UNKNOWN", ", no strobe return", ", strobe return"};
    static const char* const kMode[] = {"", ", forced", ", surpressed", ", auto mode"};
    std::string shown = (v & 1) ? "On" : "Off";
    shown += kReturn[(v >> 1) & 3];
    shown += kMode[(v >> 3) & 3];
    if (v & 0x20)
        shown += ", no flash function";
    if (v & 0x40)
        shown += ", red-eye reduction";
    return shown;
}

// APEX values beyond any real exposure (the extremes of a signed rational)
// give no number of seconds: the value is shown as it stands.
std::string RenderShutterSpeed(const std::string& text)
{
    const double apex = FractionValue(text);
    const double seconds = std::exp2(-apex);
    if (!std::isfinite(seconds) || !std::isfinite(std::exp2(apex)))
        return text;
    std::string shown = formatNumbers("%4.4f sec", {seconds});
    if (seconds <= 0.5)
        shown += formatNumbers(" (1/%d)", {std::exp2(apex)});
    return shown;
}

std::string RenderUserComment(const std::string& text)
{
    return text.size() > 8 ? text.substr(8) : std::string();
}

std::string RenderXpText(const std::string& text)
{
    std::string shown;
    size_t itemStart = 0;
    for (size_t item = 1;; ++item) {
        const size_t comma = text.find(',', itemStart);
        if (comma == std::string::npos)
            break;  // the last item is never read
        if (item % 2 == 1) {
            const auto code = parseInteger(text.substr(itemStart, comma - itemStart));
            if (code && (*code & 0xFF) != 0)
                shown += static_cast<char>(*code & 0xFF);
        }
        itemStart = comma + 1;
    }
    return shown;
}

}  // namespace vistado
