#include "meta/makernote/makernoteformat.h"

#include "meta/text/numbertext.h"
#include "meta/text/valuerender.h"

namespace vistado {

namespace {

struct ColorMode {
    const char* code;
    const char* shown;
};

constexpr ColorMode kColorModes[] = {
    {"MODE1", "Mode1 (sRGB)"},
    {"MODE2", "Mode 2 (Adobe RGB)"},
    {"MODE3", "Mode 3 (sRGB): higher saturation"},
};

constexpr size_t kRestLength = 64;

}  // namespace

// The 64 characters behind a lens's first value (23 at most) decide it;
// five characters are a colour mode. The Canon formatters read whole lists.
size_t makerNoteLengthUsed(TagFormatter formatter)
{
    if (formatter == nullptr)
        return kPrintableLength;
    if (formatter == FormatNikonLens)
        return 128;
    if (formatter == FormatNikonColorMode)
        return 64;
    return std::string::npos;
}

// Only five characters are compared, so "MODE1a" reads as "MODE1".
std::string FormatNikonColorMode(const std::string& text)
{
    const std::string code = text.size() > 1 ? text.substr(1, 5) : std::string();
    for (const ColorMode& mode : kColorModes)
        if (code == mode.code)
            return mode.shown;
    return code;
}

// A list without ", " gives 0 for the first three numbers and reads the last
// one from the whole text.
std::string FormatNikonLens(const std::string& text)
{
    double numbers[4] = {};
    std::string rest = text;
    for (int i = 0; i < 3; ++i) {
        const size_t at = rest.find(kValueSeparator);
        if (at == std::string::npos) {
            rest = rest.substr(0, kRestLength);
            continue;
        }
        numbers[i] = FractionValue(rest.substr(0, at));
        rest = rest.substr(at + 1, kRestLength);
    }
    numbers[3] = FractionValue(rest);
    return formatNumbers("%0.1f-%0.1f(mm)  F%0.1f-F%0.1f",
                         {numbers[0], numbers[1], numbers[2], numbers[3]});
}

}  // namespace vistado
