#include "meta/xmp/xmppacket.h"

#include "meta/xmp/xmplocation.h"
#include "meta/xmp/xmptoolkit.h"

#include <exempi/xmp.h>

#include <algorithm>
#include <iostream>
#include <streambuf>

namespace vistado {

namespace {

class XmpText {
public:
    XmpText() : text(xmp_string_new()) {}
    ~XmpText() { xmp_string_free(text); }
    XmpText(const XmpText&) = delete;
    XmpText& operator=(const XmpText&) = delete;
    operator XmpStringPtr() const { return text; }
    std::string str() const { return std::string(xmp_string_cstr(text), xmp_string_len(text)); }

private:
    XmpStringPtr text;
};

std::string prefixOf(const char* ns)
{
    XmpText prefix;
    xmp_namespace_prefix(ns, prefix);
    return prefix.str();  // with its ":"
}

// The property's path for the toolkit: a top-level name, or the field of the bag's first item.
std::string pathOf(const XmpLocationProperty& property)
{
    if (!property.inLocationCreated)
        return property.property;
    return std::string(kLocationCreated) + "[1]/" + prefixOf(property.ns) + property.property;
}

// Exempi prints the errors it raises on std::cerr; the caller reports them in its own words.
class QuietStandardError {
public:
    QuietStandardError() : kept(std::cerr.rdbuf(&discard)) {}
    ~QuietStandardError() { std::cerr.rdbuf(kept); }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    struct Discard : std::streambuf {
        int overflow(int c) override { return traits_type::not_eof(c); }
    } discard;
    std::streambuf* kept;
};

}  // namespace

void XmpPacket::Free::operator()(_Xmp* packet) const
{
    xmp_free(packet);
}

XmpPacket::XmpPacket()
{
    startXmpToolkit();
    xmp.reset(xmp_new_empty());
}

XmpPacket::XmpPacket(std::string_view packet)
{
    startXmpToolkit();
    xmp.reset(xmp_new_empty());
    const QuietStandardError quiet;
    if (!xmp || !xmp_parse(xmp.get(), packet.data(), packet.size()))
        throw EFieldsNotWritable("XMP nicht lesbar");
}

XmpPacket::~XmpPacket() = default;

std::vector<std::string> XmpPacket::locationValues() const
{
    std::vector<std::string> values;
    for (const XmpLocationProperty& property : kXmpLocationProperties) {
        XmpText value;
        uint32_t options = 0;
        const bool found = xmp_get_property(xmp.get(), property.ns, pathOf(property).c_str(), value, &options);
        values.push_back(found && (options & XMP_PROP_COMPOSITE_MASK) == 0 ? value.str() : std::string());
    }
    return values;
}

bool XmpPacket::hasLocation() const
{
    const std::vector<std::string> values = locationValues();
    return std::any_of(values.begin(), values.end(), [](const std::string& v) { return !v.empty(); });
}

bool XmpPacket::hasExtendedXmp() const
{
    return xmp_has_property(xmp.get(), kXmpNoteNs, "HasExtendedXMP");
}

void XmpPacket::setLocation(const LocationFields& utf8)
{
    const std::string firstItem = std::string(kLocationCreated) + "[1]";
    if (!xmp_has_property(xmp.get(), kIptcExtNs, firstItem.c_str())) {
        if (!xmp_append_array_item(xmp.get(), kIptcExtNs, kLocationCreated, XMP_PROP_ARRAY_IS_UNORDERED, nullptr,
                                   XMP_PROP_VALUE_IS_STRUCT))
            throw EFieldsNotWritable("XMP nicht schreibbar");
    }
    for (const XmpLocationProperty& property : kXmpLocationProperties) {
        const std::string& value = utf8.*property.field;
        if (!value.empty() && !xmp_set_property(xmp.get(), property.ns, pathOf(property).c_str(), value.c_str(), 0))
            throw EFieldsNotWritable("XMP nicht schreibbar");
    }
}

std::string XmpPacket::serialized() const
{
    // Padding lets other programs edit the packet in place; a packet that only fits
    // without it goes without, and compact.
    for (const uint32_t options : {0u, static_cast<uint32_t>(XMP_SERIAL_USECOMPACTFORMAT | XMP_SERIAL_READONLYPACKET)}) {
        XmpText text;
        if (!xmp_serialize(xmp.get(), text, options, 0))
            throw EFieldsNotWritable("XMP nicht schreibbar");
        if (xmp_string_len(text) <= kMaxXmpPacket)
            return text.str();
    }
    throw EFieldsNotWritable("XMP zu groß");
}

}  // namespace vistado
