#include "meta/exif/imageinfo.h"
#include "meta/container/imgdata.h"
#include "meta/file/pathparts.h"
#include "meta/text/valuerender.h"

#include <ctime>

namespace vistado {

// The decoder's operations on its container: the summary of the file read
// and the size patch of the Exif segment the writer writes.

namespace {

// The time of day of a file time, local time, as hours:minutes:seconds.
std::string timeOfDay(std::time_t time)
{
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr)
        return {};
    auto twoDigits = [](int value) {
        return std::string(1, static_cast<char>('0' + value / 10)) +
               static_cast<char>('0' + value % 10);
    };
    return twoDigits(local.tm_hour) + ":" + twoDigits(local.tm_min) + ":" +
           twoDigits(local.tm_sec);
}

}  // namespace

std::string TImageInfo::SummaryText() const
{
    if (!owner.ExifPresent())
        return {};
    const std::string lineEnd = "\r\n";
    const std::string name = "File Name: " + fileNamePart(owner.sourcePath);
    if (owner.errorText != "<none>")
        return name + lineEnd + "Exif Error: " + owner.errorText;

    std::string text = name;
    text += lineEnd + "File Size: " + std::to_string(owner.sourceSize / 1024) + "k";
    text += lineEnd + "File Date: " + timeOfDay(owner.sourceDate);
    text += lineEnd + "Photo Date: " + photoDate;
    text += lineEnd + "Make (Model): " + cameraMake + " (" + cameraModel + ")";
    text += lineEnd + "Dimensions: " + std::to_string(imageWidth) + " x " +
            std::to_string(imageHeight);
    if (renders()) {
        std::string exposure = TagValueText("ExposureTime");
        if (exposure.empty())
            exposure = TagValueText("ShutterSpeedValue");
        const std::pair<const char*, std::string> lines[] = {
            {"Exposure Time: ", exposure},
            {"Focal Length: ", TagValueText("FocalLength")},
            {"Focal Length (35mm): ", TagValueText("FocalLengthin35mmFilm")},
            {"FNumber: ", TagValueText("FNumber")},
            {"ISO: ", TagValueText("ISOSpeedRatings")},
        };
        for (const auto& [label, value] : lines)
            if (!value.empty())
                text += lineEnd + label + value;
    }
    text += lineEnd + "Flash: " + (flashValue % 2 != 0 ? "Yes" : "No");
    return text;
}

// Only SHORT and LONG entries are patched: a value field of any other type
// holds an offset, and writing a size over it would break the Exif data.
void TImageInfo::AdjustDimensions(int32_t height, int32_t width)
{
    if (imageHeight <= 0 || imageWidth <= 0 || (imageHeight == height && imageWidth == width))
        return;
    std::string& segment = owner.exifSection->bytes;
    auto patch = [&](int32_t valuePos, int32_t value) {
        const uint16_t type = read16In(segment, valuePos - 6, bigEndian);
        const auto bits = static_cast<uint32_t>(value);
        if (type == kTypeLong)
            Write32At(segment, bits, valuePos);
        else if (type == kTypeShort)
            Write32At(segment, bigEndian ? (bits & 0xFFFF) << 16 : bits & 0xFFFF, valuePos);
    };
    patch(heightValuePos, height);
    patch(widthValuePos, width);
}

}  // namespace vistado
