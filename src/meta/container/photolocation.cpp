#include "meta/container/photolocation.h"

#include "meta/container/imgdata.h"
#include "meta/container/jpegmarkers.h"

#include <algorithm>

namespace vistado {

namespace {

constexpr const char* kIimOnlyNote = "Ortsfelder nur in IIM: erweitertes XMP";
constexpr const char* kXmpOnlyNote = "Ortsfelder nur in XMP: IIM in anderem Zeichensatz";

// A segment's payload behind its length field and the header of its kind.
std::string_view payloadOf(const tSection& section, size_t header)
{
    return std::string_view(section.bytes).substr(std::min(section.bytes.size(), 2 + header));
}

}  // namespace

PhotoLocation::PhotoLocation(const TimgData& image)
{
    try {
        app13.emplace(image.iptcSection != nullptr ? payloadOf(*image.iptcSection, 0) : std::string_view());
    } catch (const EFieldsNotWritable& damaged) {
        refused = damaged.what();
    }
    try {
        if (image.xmpSection != nullptr)
            xmp = std::make_unique<XmpPacket>(payloadOf(*image.xmpSection, kXmpHeader.size()));
    } catch (const EFieldsNotWritable& damaged) {
        if (refused.empty())
            refused = damaged.what();
    }
}

PhotoLocation::~PhotoLocation() = default;

bool PhotoLocation::present() const
{
    return (app13 && app13->location().any()) || (xmp && xmp->hasLocation());
}

LocationFields PhotoLocation::iimValues() const
{
    return app13 ? app13->location() : LocationFields();
}

std::vector<std::string> PhotoLocation::xmpValues() const
{
    return xmp ? xmp->locationValues() : std::vector<std::string>();
}

std::string PhotoLocation::writeInto(TimgData& image, const LocationFields& utf8)
{
    if (!refused.empty())
        throw EFieldsNotWritable(refused);
    const bool toIim = app13->canHold(utf8);
    const bool toXmp = !(xmp && xmp->hasExtendedXmp());
    if (!toIim && !toXmp)
        throw EFieldsNotWritable("IIM in anderem Zeichensatz, erweitertes XMP");
    // Both made before either goes into the container, which a failure leaves unchanged.
    std::string iimPayload;
    if (toIim)
        iimPayload = app13->withLocation(utf8);
    std::string packet;
    if (toXmp) {
        if (!xmp)
            xmp = std::make_unique<XmpPacket>();
        xmp->setLocation(utf8);
        packet = xmp->serialized();
    }
    if (toIim)
        image.SetIptcPayload(iimPayload);
    if (toXmp)
        image.SetXmpPacket(packet);
    return !toXmp ? kIimOnlyNote : !toIim ? kXmpOnlyNote : "";
}

}  // namespace vistado
