#include "jpegbuilder.h"

namespace vistado::test {

std::string segment(uint8_t marker, const std::string& payload)
{
    return segmentWithLength(marker, static_cast<uint16_t>(payload.size() + 2), payload);
}

std::string segmentWithLength(uint8_t marker, uint16_t length, const std::string& payload)
{
    std::string segment{'\xFF', static_cast<char>(marker)};
    segment += static_cast<char>(length >> 8);
    segment += static_cast<char>(length & 0xFF);
    return segment + payload;
}

std::string jfifSegment()
{
    return segment(0xE0, std::string("JFIF\0\x01\x02\x01\x00\x48\x00\x48\x00\x00", 14));
}

std::string exifSegment(const std::string& tiff)
{
    return segment(0xE1, std::string("Exif\0\0", 6) + tiff);
}

std::string xmpSegment()
{
    return xmpSegmentWith("<x:xmpmeta xmlns:x='adobe:ns:meta/'></x:xmpmeta>");
}

std::string xmpSegmentWith(const std::string& packet)
{
    return segment(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0", 29) + packet);
}

std::string iptcSegment()
{
    return iptcSegmentWith(iptcDataset(2, 25, "Alpen"));
}

std::string iptcDataset(uint8_t record, uint8_t dataset, const std::string& value)
{
    std::string bytes{'\x1C', static_cast<char>(record), static_cast<char>(dataset)};
    bytes += static_cast<char>(value.size() >> 8);
    bytes += static_cast<char>(value.size() & 0xFF);
    return bytes + value;
}

std::string iptcSegmentWith(const std::string& datasets)
{
    return app13SegmentWith(photoshopResource(0x0404, datasets));
}

std::string photoshopResource(uint16_t id, const std::string& data)
{
    std::string resource = std::string("8BIM") + static_cast<char>(id >> 8) + static_cast<char>(id & 0xFF);
    resource += std::string("\0\0", 2);  // an empty name, padded to an even length
    const size_t size = data.size();
    resource += {static_cast<char>(size >> 24), static_cast<char>(size >> 16 & 0xFF),
                 static_cast<char>(size >> 8 & 0xFF), static_cast<char>(size & 0xFF)};
    resource += data;
    if (size % 2 != 0)
        resource += '\0';  // resources are padded to an even length
    return resource;
}

std::string app13SegmentWith(const std::string& resources)
{
    return segment(0xED, std::string("Photoshop 3.0\0", 14) + resources);
}

std::string commentSegment(const std::string& text)
{
    return segment(0xFE, text);
}

std::string quantTableSegment()
{
    return segment(0xDB, '\0' + std::string(64, '\x01'));
}

std::string frameSegment(uint16_t width, uint16_t height)
{
    std::string payload{'\x08'};
    payload += {static_cast<char>(height >> 8), static_cast<char>(height & 0xFF)};
    payload += {static_cast<char>(width >> 8), static_cast<char>(width & 0xFF)};
    payload += std::string("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10);
    return segment(0xC0, payload);
}

std::string huffmanTableSegment()
{
    return segment(0xC4, '\0' + std::string("\x00\x01", 2) + std::string(14, '\0') + '\0');
}

std::string scanSegment()
{
    return segment(0xDA, std::string("\x03\x01\x00\x02\x11\x03\x11\x00\x3F\x00", 10));
}

std::string jpegFile(const std::vector<std::string>& segments)
{
    std::string file = "\xFF\xD8";
    for (const std::string& segment : segments)
        file += segment;
    return file + "\x12\x34\x56" + "\xFF\xD9";
}

}  // namespace vistado::test
