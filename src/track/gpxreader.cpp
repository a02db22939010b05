#include "track/gpxreader.h"

#include "track/civiltime.h"

#include <expat.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace vistado {

namespace {

// What an open element is to the reader; everything outside gpx/trk/trkseg/trkpt/{ele,time}
// is Other, and so is all inside it.
enum class Element : uint8_t { Other, Gpx, Track, Segment, Point, Height, Time };

// Longer texts are no number or time of a track point; they are not kept.
constexpr size_t kMaxValueText = 64;

constexpr char kNamespaceSeparator = ' ';

bool isXmlBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isXmlBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isXmlBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// An xsd:decimal as GPX writes its numbers, whatever the process's locale says.
std::optional<double> parseNumber(std::string_view text)
{
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The namespace and local name of a name as the parser reports it: "URI local" or "local".
std::pair<std::string_view, std::string_view> splitName(const XML_Char* name)
{
    const std::string_view whole(name);
    const size_t separator = whole.rfind(kNamespaceSeparator);
    if (separator == std::string_view::npos)
        return {{}, whole};
    return {whole.substr(0, separator), whole.substr(separator + 1)};
}

}  // namespace

std::optional<double> parseGpxTime(std::string_view text)
{
    text = trimmed(text);
    const std::optional<CivilTime> civil = takeCivilTime(text, '-', 'T');
    if (!civil)
        return std::nullopt;
    double fraction = 0;
    if (!text.empty() && text.front() == '.') {
        text.remove_prefix(1);
        double scale = 0.1;
        size_t digits = 0;
        for (; digits < text.size() && text[digits] >= '0' && text[digits] <= '9'; ++digits, scale /= 10)
            fraction += (text[digits] - '0') * scale;
        if (digits == 0)
            return std::nullopt;
        text.remove_prefix(digits);
    }
    int offset = 0;
    if (text == "Z") {
        text = {};
    } else if (!text.empty()) {
        const std::optional<int> zone = parseZoneOffset(text);
        if (!zone)
            return std::nullopt;
        offset = *zone;
    }
    return static_cast<double>(utcSecondsOf(*civil) - offset) + fraction;
}

struct GpxReader::State {
    State(std::vector<TrackPoint>& points, uint32_t firstSegment)
        : parser(XML_ParserCreateNS(nullptr, kNamespaceSeparator)), points(points), nextSegment(firstSegment)
    {
        if (parser == nullptr)
            throw std::bad_alloc();
        XML_SetUserData(parser, this);
        XML_SetElementHandler(parser, &State::started, &State::ended);
        XML_SetCharacterDataHandler(parser, &State::text);
    }
    ~State() { XML_ParserFree(parser); }

    static void started(void* data, const XML_Char* name, const XML_Char** attributes)
    {
        static_cast<State*>(data)->start(name, attributes);
    }
    static void ended(void* data, const XML_Char*) { static_cast<State*>(data)->end(); }
    static void text(void* data, const XML_Char* bytes, int length)
    {
        State& state = *static_cast<State*>(data);
        if (state.open.empty() || (state.open.back() != Element::Height && state.open.back() != Element::Time))
            return;
        if (state.valueText.size() + length > kMaxValueText)
            state.valueTooLong = true;
        else
            state.valueText.append(bytes, length);
    }

    Element kindOf(const XML_Char* name) const
    {
        const auto [space, local] = splitName(name);
        if (open.empty())
            return local == "gpx" ? Element::Gpx : Element::Other;
        if (space != gpxNamespace)
            return Element::Other;
        switch (open.back()) {
        case Element::Gpx:
            return local == "trk" ? Element::Track : Element::Other;
        case Element::Track:
            return local == "trkseg" ? Element::Segment : Element::Other;
        case Element::Segment:
            return local == "trkpt" ? Element::Point : Element::Other;
        case Element::Point:
            return local == "ele" ? Element::Height : local == "time" ? Element::Time : Element::Other;
        default:
            return Element::Other;
        }
    }

    // The parser may still report what follows once it has been stopped.
    void start(const XML_Char* name, const XML_Char** attributes)
    {
        if (!error.empty())
            return;
        const Element kind = kindOf(name);
        if (open.empty()) {
            if (kind != Element::Gpx) {
                fail("keine GPX-Datei");
                return;
            }
            gpxNamespace = splitName(name).first;
        }
        open.push_back(kind);
        switch (kind) {
        case Element::Segment:
            segment = nextSegment++;
            break;
        case Element::Point:
            latitude = longitude = time = height = std::nullopt;
            for (const XML_Char** attribute = attributes; *attribute != nullptr; attribute += 2) {
                if (std::strcmp(attribute[0], "lat") == 0)
                    latitude = parseNumber(attribute[1]);
                else if (std::strcmp(attribute[0], "lon") == 0)
                    longitude = parseNumber(attribute[1]);
            }
            break;
        case Element::Height:
        case Element::Time:
            valueText.clear();
            valueTooLong = false;
            break;
        default:
            break;
        }
    }

    void end()
    {
        if (open.empty())
            return;
        const Element kind = open.back();
        open.pop_back();
        if (kind == Element::Height)
            height = valueTooLong ? std::nullopt : parseNumber(valueText);
        else if (kind == Element::Time)
            time = valueTooLong ? std::nullopt : parseGpxTime(valueText);
        else if (kind == Element::Point && latitude && longitude && time && std::abs(*latitude) <= 90 &&
                 std::abs(*longitude) <= 180)
            points.push_back({*time, *latitude, *longitude, height, segment});
    }

    void fail(std::string reason)
    {
        error = std::move(reason);
        XML_StopParser(parser, XML_FALSE);
    }

    XML_Parser parser;
    std::vector<TrackPoint>& points;
    uint32_t nextSegment;
    uint32_t segment = 0;
    std::vector<Element> open;
    std::string gpxNamespace;
    std::string valueText;
    bool valueTooLong = false;
    std::optional<double> latitude, longitude, time, height;
    std::string error;
};

GpxReader::GpxReader(std::vector<TrackPoint>& points, uint32_t firstSegment)
    : state(std::make_unique<State>(points, firstSegment))
{
}

GpxReader::~GpxReader() = default;

void GpxReader::feed(std::string_view piece, bool last)
{
    // The parser takes an int's worth at a time.
    constexpr size_t kMaxPiece = 1 << 30;
    do {
        const size_t length = std::min(piece.size(), kMaxPiece);
        const bool final = last && length == piece.size();
        if (XML_Parse(state->parser, piece.data(), static_cast<int>(length), final) != XML_STATUS_OK) {
            if (!state->error.empty())
                throw GpxError(state->error);
            throw GpxError("Zeile " + std::to_string(XML_GetCurrentLineNumber(state->parser)) + ": " +
                           XML_ErrorString(XML_GetErrorCode(state->parser)));
        }
        piece.remove_prefix(length);
    } while (!piece.empty());
}

uint32_t GpxReader::nextSegment() const { return state->nextSegment; }

}  // namespace vistado
