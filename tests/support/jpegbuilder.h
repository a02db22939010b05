#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vistado::test {

// JPEG segments as they stand in a file: 0xFF, the marker code, the two
// length bytes (high first, counting themselves) and the payload.
std::string segment(uint8_t marker, const std::string& payload);
// A segment whose length field says length, whatever the payload holds.
std::string segmentWithLength(uint8_t marker, uint16_t length, const std::string& payload);

std::string jfifSegment();                            // APP0 "JFIF", 72 dots per inch
std::string exifSegment(const std::string& tiff);     // APP1 "Exif\0\0" + TIFF data
std::string xmpSegment();                             // APP1 with an XMP packet
std::string iptcSegment();                            // APP13 "Photoshop 3.0" with one dataset
// One IPTC dataset: tag marker 0x1C, record and dataset number, the value's
// 16-bit length (high first) and the value.
std::string iptcDataset(uint8_t record, uint8_t dataset, const std::string& value);
// APP13 "Photoshop 3.0" with one IPTC resource (0x0404) holding the datasets.
std::string iptcSegmentWith(const std::string& datasets);
// One Photoshop image resource: "8BIM", the id, an empty name, the size and the data,
// padded to an even length; and the APP13 segment "Photoshop 3.0" holding such resources.
std::string photoshopResource(uint16_t id, const std::string& data);
std::string app13SegmentWith(const std::string& resources);
// APP1 holding the XMP packet given.
std::string xmpSegmentWith(const std::string& packet);
std::string commentSegment(const std::string& text);  // COM
std::string quantTableSegment();                      // DQT
std::string frameSegment(uint16_t width, uint16_t height);  // SOF0, three components
std::string huffmanTableSegment();                    // DHT
std::string scanSegment();                            // SOS header

// SOI, the segments, a few bytes standing for the compressed data, EOI.
std::string jpegFile(const std::vector<std::string>& segments);

}  // namespace vistado::test
