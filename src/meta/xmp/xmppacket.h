#pragma once

#include "meta/locationfields.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct _Xmp;

namespace vistado {

// An XMP packet as the XMP toolkit (Exempi) holds it: parsed, its location properties read
// and set, and serialised anew. Every other property and namespace stays as it was.
class XmpPacket {
public:
    // A packet without properties, for a photo that has none.
    XmpPacket();
    // Parses a packet (an XMP segment's payload behind its header). Raises
    // EFieldsNotWritable "XMP nicht lesbar" for one the toolkit cannot parse.
    explicit XmpPacket(std::string_view packet);
    ~XmpPacket();
    XmpPacket(const XmpPacket&) = delete;
    XmpPacket& operator=(const XmpPacket&) = delete;

    // The values of kXmpLocationProperties in their order, empty where a property is absent.
    std::vector<std::string> locationValues() const;
    bool hasLocation() const;
    // The packet has an extension in further segments (xmpNote:HasExtendedXMP).
    bool hasExtendedXmp() const;
    // Sets the location properties of the values that are not empty. Raises
    // EFieldsNotWritable "XMP nicht schreibbar" where the packet's own properties are in
    // the way (a LocationCreated that is no bag of structs).
    void setLocation(const LocationFields& utf8);
    // The packet serialised, at most kMaxXmpPacket bytes: with the usual padding where that
    // fits, without where not. Raises EFieldsNotWritable "XMP zu groß" when it cannot fit.
    std::string serialized() const;

    // The largest packet a JPEG's XMP segment holds.
    static constexpr size_t kMaxXmpPacket = 65502;

private:
    struct Free {
        void operator()(_Xmp* xmp) const;
    };
    std::unique_ptr<_Xmp, Free> xmp;
};

}  // namespace vistado
