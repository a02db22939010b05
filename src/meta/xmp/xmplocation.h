#pragma once

#include "meta/locationfields.h"

#include <string>

namespace vistado {

struct XmpNamespace {
    const char* uri;
    const char* prefix;
};

// The namespaces of the location properties, and of the note on Extended XMP.
inline constexpr const char* kPhotoshopNs = "http://ns.adobe.com/photoshop/1.0/";
inline constexpr const char* kIptcCoreNs = "http://iptc.org/std/Iptc4xmpCore/1.0/xmlns/";
inline constexpr const char* kIptcExtNs = "http://iptc.org/std/Iptc4xmpExt/2008-02-29/";
inline constexpr const char* kXmpNoteNs = "http://ns.adobe.com/xmp/note/";
inline constexpr XmpNamespace kXmpLocationNamespaces[] = {
    {kPhotoshopNs, "photoshop"},
    {kIptcCoreNs, "Iptc4xmpCore"},
    {kIptcExtNs, "Iptc4xmpExt"},
    {kXmpNoteNs, "xmpNote"},
};

// The struct in which IPTC Extension keeps the place a photo was taken: the first item of
// the bag Iptc4xmpExt:LocationCreated.
inline constexpr const char* kLocationCreated = "LocationCreated";

// The XMP properties that hold the four location values: the photoshop and IPTC Core
// properties, and the fields of the LocationCreated struct (path below the bag's first
// item). `name` is the name ExifTool gives them, which vistado-meta shows.
struct XmpLocationProperty {
    const char* name;
    const char* ns;
    const char* property;  // top-level property, or the struct field
    bool inLocationCreated;
    std::string LocationFields::*field;
};
inline constexpr XmpLocationProperty kXmpLocationProperties[] = {
    {"XMP-photoshop:City", kPhotoshopNs, "City", false, &LocationFields::city},
    {"XMP-photoshop:State", kPhotoshopNs, "State", false, &LocationFields::state},
    {"XMP-photoshop:Country", kPhotoshopNs, "Country", false, &LocationFields::country},
    {"XMP-iptcCore:CountryCode", kIptcCoreNs, "CountryCode", false, &LocationFields::countryCode},
    {"XMP-iptcExt:LocationCreatedCity", kIptcExtNs, "City", true, &LocationFields::city},
    {"XMP-iptcExt:LocationCreatedProvinceState", kIptcExtNs, "ProvinceState", true, &LocationFields::state},
    {"XMP-iptcExt:LocationCreatedCountryName", kIptcExtNs, "CountryName", true, &LocationFields::country},
    {"XMP-iptcExt:LocationCreatedCountryCode", kIptcExtNs, "CountryCode", true, &LocationFields::countryCode},
};

}  // namespace vistado
