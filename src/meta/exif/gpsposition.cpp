#include "meta/exif/gpsposition.h"

namespace vistado {

std::string gpsPositionText(const TImageInfo& info)
{
    std::string latitude = info.TagValueText("GPSLatitude");
    if (info.TagValueText("GPSLatitudeRef") == "S")
        latitude = "-" + latitude;
    std::string longitude = info.TagValueText("GPSLongitude");
    if (info.TagValueText("GPSLongitudeRef") == "W")
        longitude = "-" + longitude;
    if (latitude.empty())
        return {};
    return latitude + "," + longitude;
}

}  // namespace vistado
