#pragma once

#include <string>
#include <string_view>

namespace vistado {

// The IPTC digest (image resource 0x0425): the 16 bytes of the MD5 of the IIM data. Photo
// managers take the IIM as current when it matches, and prefer the XMP when it does not.
std::string iptcDigest(std::string_view iimData);

}  // namespace vistado
