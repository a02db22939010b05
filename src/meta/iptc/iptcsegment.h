#pragma once

#include <string>

namespace vistado {

// IPTC datasets that a file holds outside an APP13 segment (a TIFF file's
// IPTC-NAA tag) as an APP13 segment holds them: length field, "Photoshop
// 3.0", one image resource 0x0404 with the datasets. So every reader of the
// container's IPTC section reads them alike. The length field of data too
// long for a segment says 65535; the bytes are all there.
std::string iptcSegmentOf(const std::string& datasets);

}  // namespace vistado
