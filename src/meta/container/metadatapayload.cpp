// The writer's new IPTC and XMP segments: made in the container, written in front of the
// image data in place of the ones read.

#include "meta/container/imgdata.h"

#include "meta/container/jpegmarkers.h"
#include "meta/rangeerror.h"

namespace vistado {

namespace {

// The largest payload a segment holds: its length field counts itself.
constexpr size_t kMaxPayload = 0xFFFF - 2;

void makeSegment(tSection& section, uint8_t marker, std::string_view payload)
{
    if (payload.size() > kMaxPayload)
        throw ERangeError("Segment mit " + std::to_string(payload.size()) + " Bytes ist zu lang");
    const size_t length = payload.size() + 2;
    section.bytes = {static_cast<char>(length >> 8), static_cast<char>(length & 0xFF)};
    section.bytes += payload;
    section.length = static_cast<int32_t>(length);
    section.marker = marker;
    section.fileOffset = -1;
}

}  // namespace

void TimgData::SetIptcPayload(const std::string& payload)
{
    makeSegment(madeIptc, kApp13, payload);
    iptcSection = &madeIptc;
}

void TimgData::SetXmpPacket(const std::string& packet)
{
    makeSegment(madeXmp, kApp1, std::string(kXmpHeader) + packet);
    // An XMP segment taken for want of Exif data is written once, as the new one.
    if (exifSection != nullptr && std::string_view(exifSection->bytes).substr(2).starts_with(kXmpHeader))
        exifSection = &madeXmp;
    xmpSection = &madeXmp;
}

}  // namespace vistado
