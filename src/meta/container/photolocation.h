#pragma once

#include "meta/iptc/app13writer.h"
#include "meta/locationfields.h"
#include "meta/xmp/xmppacket.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vistado {

class TimgData;

// What a photo's IIM (APP13) and XMP packet hold of the location fields, and how new values
// go into both, in the container, for the writer's one rewrite.
class PhotoLocation {
public:
    // Reads the container's APP13 and XMP segments. Never raises: metadata that cannot take
    // new values without damage gives its reason in refusal().
    explicit PhotoLocation(const TimgData& image);
    ~PhotoLocation();

    // Any of the four values in the IIM or the XMP: what the user or a program wrote there
    // stays, and nothing is written.
    bool present() const;
    // Why no value can be written (damaged APP13, unreadable XMP); empty when they can.
    const std::string& refusal() const { return refused; }
    LocationFields iimValues() const;
    // The values of kXmpLocationProperties; empty where there is no XMP.
    std::vector<std::string> xmpValues() const;

    // Sets the values into the container's APP13 and XMP segments, into those that can take
    // them: not the IIM when its character set does not hold them, not an XMP packet with an
    // extension in further segments, which would no longer match it. Gives the log's note
    // on a part left out, else an empty text. Raises EFieldsNotWritable when none can be
    // written, with refusal() set, or when a segment outgrows its size; the container is
    // then unchanged. Once per photo: the packet read takes the values.
    std::string writeInto(TimgData& image, const LocationFields& utf8);

private:
    std::optional<App13Writer> app13;
    std::unique_ptr<XmpPacket> xmp;  // none for a photo without XMP
    std::string refused;
};

}  // namespace vistado
