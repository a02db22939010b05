// libFuzzer target: any bytes as an XMP packet; where the XMP toolkit parses it, the
// location properties are set and the packet serialised and parsed again. Every property
// but those of the location stays with its value, the values set read back, and nothing
// leaks.

#include "meta/xmp/xmplocation.h"
#include "meta/xmp/xmppacket.h"

#include <exempi/xmp.h>

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <tuple>

namespace {

using namespace vistado;

using Property = std::tuple<std::string, std::string, std::string>;

// Every leaf property of a packet outside the location properties: namespace, path, value.
std::set<Property> otherProperties(const std::string& packet)
{
    std::set<Property> properties;
    XmpPtr xmp = xmp_new(packet.data(), packet.size());
    if (xmp == nullptr)
        std::abort();
    XmpIteratorPtr it = xmp_iterator_new(xmp, nullptr, nullptr, XMP_ITER_JUSTLEAFNODES);
    XmpStringPtr ns = xmp_string_new(), path = xmp_string_new(), value = xmp_string_new();
    while (xmp_iterator_next(it, ns, path, value, nullptr)) {
        const std::string name = xmp_string_cstr(path);
        bool location = name.find(kLocationCreated) != std::string::npos;
        for (const XmpLocationProperty& p : kXmpLocationProperties)
            location = location || (!p.inLocationCreated && xmp_string_cstr(ns) == std::string(p.ns) &&
                                    name.ends_with(std::string(":") + p.property));
        if (!location)
            properties.emplace(xmp_string_cstr(ns), name, xmp_string_cstr(value));
    }
    xmp_string_free(ns);
    xmp_string_free(path);
    xmp_string_free(value);
    xmp_iterator_free(it);
    xmp_free(xmp);
    return properties;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const LocationFields place{"M\xC3\xBCnchen", "Bayern", "Deutschland", "DEU"};
    try {
        XmpPacket packet(input);
        const std::string before = packet.serialized();
        packet.setLocation(place);
        const std::string after = packet.serialized();
        const XmpPacket again(after);
        if (otherProperties(after) != otherProperties(before))
            std::abort();
        const auto values = again.locationValues();
        for (size_t i = 0; i < values.size(); ++i)
            if (values[i] != place.*kXmpLocationProperties[i].field)
                std::abort();
    } catch (const EFieldsNotWritable&) {
    }
    return 0;
}
