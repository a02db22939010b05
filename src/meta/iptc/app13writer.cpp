#include "meta/iptc/app13writer.h"

#include "meta/iptc/iptcdigest.h"

#include <algorithm>
#include <array>

namespace vistado {

namespace {

constexpr std::string_view kPhotoshopHeader("Photoshop 3.0\0", 14);
// The signatures image resources carry; Photoshop's own is 8BIM.
constexpr std::string_view kResourceSignatures[] = {"8BIM", "PHUT", "AgHg", "DCSR", "MeSa"};
constexpr uint16_t kIimResource = 0x0404;
constexpr uint16_t kDigestResource = 0x0425;
constexpr char kTagMarker = 0x1C;
constexpr uint8_t kEnvelopeRecord = 1;
constexpr uint8_t kApplicationRecord = 2;
constexpr uint8_t kCodedCharacterSet = 90;
constexpr std::string_view kUtf8Escape = "\x1B%G";
// An APP13 payload no longer than this fits a segment: its length field counts itself.
constexpr size_t kMaxPayload = 0xFFFF - 2;

// The location datasets of record 2 in dataset-number order, with their IIM maximum lengths.
struct LocationDataset {
    uint8_t number;
    size_t maxLength;
    std::string LocationFields::*field;
};
constexpr LocationDataset kLocationDatasets[] = {
    {90, 32, &LocationFields::city},
    {95, 32, &LocationFields::state},
    {100, 3, &LocationFields::countryCode},
    {101, 64, &LocationFields::country},
};

uint8_t byteAt(std::string_view bytes, size_t at)
{
    return static_cast<uint8_t>(bytes[at]);
}

uint32_t bigEndianAt(std::string_view bytes, size_t at, size_t count)
{
    uint32_t value = 0;
    for (size_t i = 0; i < count; ++i)
        value = value << 8 | byteAt(bytes, at + i);
    return value;
}

std::string bigEndian(uint32_t value, size_t count)
{
    std::string out(count, '\0');
    for (size_t i = count; i-- > 0; value >>= 8)
        out[i] = static_cast<char>(value & 0xFF);
    return out;
}

bool onlyZeros(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == '\0'; });
}

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<uint8_t>(c) < 0x80; });
}

bool allAscii(const LocationFields& fields)
{
    return isAscii(fields.city) && isAscii(fields.state) && isAscii(fields.country) && isAscii(fields.countryCode);
}

// At most maxLength bytes of UTF-8 text, ending where a character ends.
std::string_view cutUtf8(std::string_view text, size_t maxLength)
{
    if (text.size() <= maxLength)
        return text;
    size_t end = maxLength;
    while (end > 0 && (byteAt(text, end) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

std::string dataset(uint8_t record, uint8_t number, std::string_view value)
{
    return std::string{kTagMarker, static_cast<char>(record), static_cast<char>(number)} +
        bigEndian(static_cast<uint32_t>(value.size()), 2) + std::string(value);
}

// An image resource: signature, id, an empty name (its length byte and a pad byte), the
// data's size, the data, padded to an even length.
std::string resource(std::string_view signatureAndId, std::string_view nameField, std::string_view data)
{
    std::string out = std::string(signatureAndId) + std::string(nameField) +
        bigEndian(static_cast<uint32_t>(data.size()), 4) + std::string(data);
    if (data.size() % 2 != 0)
        out += '\0';
    return out;
}

std::string newResourceHead(uint16_t id)
{
    return "8BIM" + bigEndian(id, 2);
}

}  // namespace

App13Writer::App13Writer(std::string_view payload) : bytes(payload)
{
    if (bytes.empty())
        bytes = kPhotoshopHeader;
    if (!std::string_view(bytes).starts_with(kPhotoshopHeader))
        throw EFieldsNotWritable("APP13 ohne Photoshop-Kennung");
    readResources();
}

void App13Writer::readResources()
{
    const std::string_view all(bytes);
    size_t at = kPhotoshopHeader.size();
    while (at < all.size() && !onlyZeros(all.substr(at))) {
        if (all.size() - at < 4 ||
            std::find(std::begin(kResourceSignatures), std::end(kResourceSignatures), all.substr(at, 4)) ==
                std::end(kResourceSignatures))
            throw EFieldsNotWritable("APP13-Ressource ohne Kennung");
        if (all.size() - at < 7)
            throw EFieldsNotWritable("APP13-Ressource über das Segmentende");
        Resource read{.start = at, .end = 0, .id = static_cast<uint16_t>(bigEndianAt(all, at + 4, 2)), .dataStart = 0, .dataEnd = 0};
        const size_t nameField = 1 + byteAt(all, at + 6);
        const size_t sizeAt = at + 6 + nameField + nameField % 2;
        if (sizeAt > all.size() || all.size() - sizeAt < 4)
            throw EFieldsNotWritable("APP13-Ressource über das Segmentende");
        const size_t size = bigEndianAt(all, sizeAt, 4);
        read.dataStart = sizeAt + 4;
        if (size > all.size() - read.dataStart)
            throw EFieldsNotWritable("APP13-Ressource über das Segmentende");
        read.dataEnd = read.dataStart + size;
        read.end = read.dataEnd + size % 2;
        if (read.end > all.size())
            throw EFieldsNotWritable("APP13-Ressource nicht gerade aufgefüllt");
        if (read.id == kIimResource) {
            if (hasIim)
                throw EFieldsNotWritable("mehrere IIM-Blöcke");
            hasIim = true;
            readDatasets(read.dataStart, read.dataEnd);
        }
        resources.push_back(read);
        at = read.end;
    }
    resourcesEnd = at;
}

void App13Writer::readDatasets(size_t start, size_t end)
{
    const std::string_view all(bytes);
    size_t at = start;
    while (at < end && !onlyZeros(all.substr(at, end - at))) {
        if (all[at] != kTagMarker)
            throw EFieldsNotWritable("IIM-Datensatz ohne Kennung");
        if (end - at < 5)
            throw EFieldsNotWritable("IIM-Datensatz über die Ressource");
        Dataset read{.record = byteAt(all, at + 1), .number = byteAt(all, at + 2), .start = at, .end = 0, .valueStart = at + 5};
        size_t length = bigEndianAt(all, at + 3, 2);
        if (length & 0x8000) {
            // An extended length: the count of the length's own bytes, which follow.
            const size_t lengthBytes = length & 0x7FFF;
            if (lengthBytes > 4 || end - read.valueStart < lengthBytes)
                throw EFieldsNotWritable("IIM-Datensatz über die Ressource");
            length = bigEndianAt(all, read.valueStart, lengthBytes);
            read.valueStart += lengthBytes;
        }
        if (length > end - read.valueStart)
            throw EFieldsNotWritable("IIM-Datensatz über die Ressource");
        read.end = read.valueStart + length;
        datasets.push_back(read);
        at = read.end;
    }
    iimEnd = at;
}

std::string_view App13Writer::value(const Dataset& dataset) const
{
    return std::string_view(bytes).substr(dataset.valueStart, dataset.end - dataset.valueStart);
}

const App13Writer::Dataset* App13Writer::find(uint8_t record, uint8_t number) const
{
    const auto found = std::find_if(datasets.begin(), datasets.end(), [&](const Dataset& d) {
        return d.record == record && d.number == number;
    });
    return found == datasets.end() ? nullptr : &*found;
}

LocationFields App13Writer::location() const
{
    LocationFields fields;
    for (const LocationDataset& wanted : kLocationDatasets)
        if (const Dataset* found = find(kApplicationRecord, wanted.number))
            fields.*wanted.field = std::string(value(*found));
    return fields;
}

bool App13Writer::canHold(const LocationFields& utf8) const
{
    if (allAscii(utf8))
        return true;
    if (const Dataset* charset = find(kEnvelopeRecord, kCodedCharacterSet))
        return value(*charset) == kUtf8Escape;
    return std::all_of(datasets.begin(), datasets.end(), [&](const Dataset& d) { return isAscii(value(d)); });
}

std::string App13Writer::newIimData(const LocationFields& utf8) const
{
    const std::string_view all(bytes);
    // Each dataset as it stands, and the new ones in front of the first dataset that follows
    // them in record and number order.
    std::vector<std::pair<std::array<int, 2>, std::string>> added;
    if (!allAscii(utf8) && find(kEnvelopeRecord, kCodedCharacterSet) == nullptr)
        added.push_back({{kEnvelopeRecord, kCodedCharacterSet}, dataset(kEnvelopeRecord, kCodedCharacterSet, kUtf8Escape)});
    const bool hasRecord2 = std::any_of(datasets.begin(), datasets.end(), [](const Dataset& d) {
        return d.record == kApplicationRecord;
    });
    if (!hasRecord2)
        added.push_back({{kApplicationRecord, 0}, dataset(kApplicationRecord, 0, std::string_view("\0\x04", 2))});
    // A location dataset that stands empty takes its value where it stands.
    std::vector<std::pair<const Dataset*, std::string>> filled;
    for (const LocationDataset& field : kLocationDatasets) {
        const std::string& text = utf8.*field.field;
        if (text.empty())
            continue;
        std::string made = dataset(kApplicationRecord, field.number, cutUtf8(text, field.maxLength));
        if (const Dataset* empty = find(kApplicationRecord, field.number))
            filled.emplace_back(empty, std::move(made));
        else
            added.push_back({{kApplicationRecord, field.number}, std::move(made)});
    }
    std::string iim;
    auto next = added.begin();
    for (const Dataset& d : datasets) {
        for (; next != added.end() && (d.record > next->first[0] || (d.record == next->first[0] && d.number > next->first[1])); ++next)
            iim += next->second;
        const auto fill = std::find_if(filled.begin(), filled.end(), [&](const auto& f) { return f.first == &d; });
        iim += fill != filled.end() ? std::string_view(fill->second) : all.substr(d.start, d.end - d.start);
    }
    for (; next != added.end(); ++next)
        iim += next->second;
    if (hasIim) {
        const Resource& block = *std::find_if(resources.begin(), resources.end(), [](const Resource& r) {
            return r.id == kIimResource;
        });
        iim += all.substr(iimEnd, block.dataEnd - iimEnd);
    }
    return iim;
}

std::string App13Writer::withLocation(const LocationFields& utf8) const
{
    const std::string_view all(bytes);
    const std::string iim = newIimData(utf8);
    const std::string digest = iptcDigest(iim);
    std::string out(kPhotoshopHeader);
    bool digestWritten = false;
    for (const Resource& r : resources) {
        const std::string_view head = all.substr(r.start, 6);
        const std::string_view name = all.substr(r.start + 6, r.dataStart - 4 - r.start - 6);
        if (r.id == kIimResource) {
            out += resource(head, name, iim);
        } else if (r.id == kDigestResource && !digestWritten) {
            out += resource(head, name, digest);
            digestWritten = true;
        } else {
            out += all.substr(r.start, r.end - r.start);
        }
    }
    const std::string emptyName("\0\0", 2);
    if (!hasIim)
        out += resource(newResourceHead(kIimResource), emptyName, iim);
    if (!digestWritten)
        out += resource(newResourceHead(kDigestResource), emptyName, digest);
    out += all.substr(resourcesEnd);
    if (out.size() > kMaxPayload)
        throw EFieldsNotWritable("APP13 zu groß");
    return out;
}

std::vector<std::string_view> App13Writer::keptParts() const
{
    const std::string_view all(bytes);
    std::vector<std::string_view> kept;
    for (const Resource& r : resources)
        if (r.id != kIimResource && r.id != kDigestResource)
            kept.push_back(all.substr(r.start, r.end - r.start));
    for (const Dataset& d : datasets) {
        const bool added = d.record == kApplicationRecord
            ? d.number == 0 || std::any_of(std::begin(kLocationDatasets), std::end(kLocationDatasets),
                                           [&](const LocationDataset& l) { return l.number == d.number; })
            : d.record == kEnvelopeRecord && d.number == kCodedCharacterSet;
        if (!added)
            kept.push_back(all.substr(d.start, d.end - d.start));
    }
    return kept;
}

}  // namespace vistado
