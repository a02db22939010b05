#include "meta/exif/imageinfo.h"
#include "meta/text/numbertext.h"
#include "meta/text/valuerender.h"

#include <cmath>

namespace vistado {

namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kMillimetresPerCentimetre = 10.0;
constexpr double kFilmDiagonal = 43.26661531;  // of a 36 mm x 24 mm frame
// No camera's sensor gives a 35 mm equivalent outside these multiples of the
// focal length; a value beyond them comes from a pixel size that is not the
// camera's (a photo resized after shooting).
constexpr double kLeastCropFactor = 0.3;
constexpr double kGreatestCropFactor = 15.0;

// A number that is no whole 32-bit value is no size or resolution of any
// camera: 0, which derives nothing, where the read must not fail for it.
int32_t wholeNumber(double value)
{
    const double rounded = std::nearbyint(value);
    return rounded >= -2147483648.0 && rounded <= 2147483647.0 ? static_cast<int32_t>(rounded) : 0;
}

}  // namespace

// Many cameras store no 35 mm equivalent; it follows from the focal length and
// the sensor size, which the focal-plane resolution gives.
void TImageInfo::Derive35mmFocalLength()
{
    if (decodeSelector == kDecodePosition)
        return;  // a tag no reader of the position asks for
    if (IndexOfName("FocalLengthin35mmFilm") >= 0)
        return;
    int32_t unit = wholeNumber(TagNumber("FocalPlaneResolutionUnit"));
    if (unit <= 0)
        unit = wholeNumber(TagNumber("ResolutionUnit"));
    const double mmPerUnit = unit == 2 ? kMillimetresPerInch
                           : unit == 3 ? kMillimetresPerCentimetre
                                       : 0.0;
    const double focal = TagNumber("FocalLength");
    if (mmPerUnit == 0 || focal == 0)
        return;

    // The focal-plane resolution counts the camera's own pixels: the Exif
    // pixel dimensions where the image has them.
    int32_t width = wholeNumber(TagNumber("ExifImageWidth"));
    int32_t height = wholeNumber(TagNumber("ExifImageLength"));
    if (width <= 0 || height <= 0) {
        width = imageWidth;
        height = imageHeight;
    }
    const int32_t xResolution = wholeNumber(TagNumber("FocalPlaneXResolution"));
    const double sensorWidth = xResolution > 0 ? width * mmPerUnit / xResolution : 0.0;
    const int32_t yResolution = wholeNumber(TagNumber("FocalPlaneYResolution"));
    const double sensorHeight = yResolution > 0 ? height * mmPerUnit / yResolution : 0.0;
    if (!(sensorWidth * sensorHeight > 0))
        return;

    const double factor = kFilmDiagonal / std::sqrt(sensorWidth * sensorWidth +
                                                    sensorHeight * sensorHeight);
    if (!(factor >= kLeastCropFactor && factor <= kGreatestCropFactor))
        return;
    TTagEntry entry = mainTagTable()[static_cast<size_t>(TableIndexOfKey("FocalLengthIn35mmFilm"))];
    entry.text = formatNumbers("%5.2f", {focal * factor});
    entry.rawBytes.clear();
    entry.formatText = "%s mm";
    entry.valueType = kTypeSignedRational;
    AddTag(entry);
    reportText += "\r\n" + entry.caption + " = " + entry.text;
}

}  // namespace vistado
