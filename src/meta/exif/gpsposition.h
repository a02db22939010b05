#pragma once

#include "meta/exif/imageinfo.h"

#include <string>

namespace vistado {

// The position text of an image as the place run sends it: latitude ","
// longitude as the decoder rendered them, "-" in front for "S" and "W". Empty
// when the latitude text (its sign included) is empty. Read the image with
// GPS rendering mode 0 and "." as decimal separator to get decimal degrees.
std::string gpsPositionText(const TImageInfo& info);

}  // namespace vistado
