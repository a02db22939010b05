#include "places/ansitext.h"

#include "meta/text/asciitext.h"

#include <iconv.h>

#include <cerrno>
#include <memory>
#include <stdexcept>
#include <type_traits>

namespace vistado {

namespace {

// What glibc and other C libraries call the character set of a plain ASCII locale.
constexpr const char* kAsciiCharsets[] = {"ANSI_X3.4-1968", "ASCII", "US-ASCII"};

bool isAsciiCharset(const std::string& charset)
{
    const std::string name = upperAscii(charset);
    for (const char* ascii : kAsciiCharsets) {
        if (name == ascii)
            return true;
    }
    return false;
}

// The bytes one unusable character takes: its first byte and the continuation bytes that
// follow it, up to the length the first byte announces.
std::size_t badCharacterLength(std::string_view rest)
{
    const auto lead = static_cast<unsigned char>(rest[0]);
    const std::size_t announced = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    std::size_t length = 1;
    while (length < announced && length < rest.size() && (static_cast<unsigned char>(rest[length]) & 0xC0) == 0x80)
        ++length;
    return length;
}

struct IconvClose {
    void operator()(std::remove_pointer_t<iconv_t>* converter) const { iconv_close(converter); }
};

// Converts with iconv from `from` to `to`; each character that cannot be converted becomes "?".
std::string convertText(std::string_view text, const std::string& from, const std::string& to)
{
    iconv_t opened = iconv_open(to.c_str(), from.c_str());
    if (opened == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("no conversion from the character set " + from + " to " + to);
    const std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvClose> converter(opened);
    const bool fromUtf8 = upperAscii(from) == "UTF-8";

    std::string converted;
    char buffer[256];
    std::string_view rest = text;
    while (!rest.empty()) {
        char* in = const_cast<char*>(rest.data());
        std::size_t inLeft = rest.size();
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(converter.get(), &in, &inLeft, &out, &outLeft);
        const int error = errno;
        converted.append(buffer, static_cast<std::size_t>(out - buffer));
        rest.remove_prefix(rest.size() - inLeft);
        if (result != static_cast<std::size_t>(-1) || error == E2BIG)
            continue;
        // EILSEQ: not a character of the source set, or not in the target set; EINVAL: a
        // character cut off at the end.
        if (error != EILSEQ && error != EINVAL)
            throw std::runtime_error("cannot convert a text to the character set " + to);
        converted += '?';
        rest.remove_prefix(fromUtf8 ? badCharacterLength(rest) : 1);
    }
    return converted;
}

}  // namespace

std::string utf8ToAnsi(std::string_view utf8, const std::string& charset)
{
    return convertText(utf8, "UTF-8", isAsciiCharset(charset) ? "UTF-8" : charset);
}

std::string ansiToUtf8(std::string_view ansi, const std::string& charset)
{
    if (isAsciiCharset(charset) || upperAscii(charset) == "UTF-8")
        return std::string(ansi);
    return convertText(ansi, charset, "UTF-8");
}

}  // namespace vistado
