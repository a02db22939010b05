// libFuzzer target: any bytes as an image file, opened as the program opens
// it, then read as the place run and vistado-meta read it, whole and for its
// position alone (which must give the same outcome and position). A file that can be opened never
// fails with "Illegal Exif construction": that text means an error escaped
// the reader's own checks.

#include "fuzzfile.h"

#include "meta/exif/gpsposition.h"
#include "meta/container/imgdata.h"
#include "meta/iptc/iptc.h"
#include "meta/text/settings.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vistado;
    static const fuzz::FuzzFile jpeg(".jpg");
    static const fuzz::FuzzFile tiff(".tif");
    // Inputs that start like TIFF data take the TIFF path.
    const bool isTiff = size >= 2 && (data[0] == 'I' || data[0] == 'M') && data[1] == data[0];
    const std::string& path = (isTiff ? tiff : jpeg).write(data, size);

    setDecimalSeparator('.');
    TimgData image(kDecodeAll);
    const bool opened = image.OpenImage(path);
    std::string position;
    if (opened && image.ExifPresent()) {
        position = gpsPositionText(*image.exifDecoder);
        // The maker note is walked when first asked for, as --tags asks.
        image.exifDecoder->tags();
        image.exifDecoder->SummaryText();
    }
    if (image.errorText == "Illegal Exif construction")
        std::abort();
    if (image.commentSection != nullptr)
        image.CommentText();
    // vistado-meta --iptc parses the IPTC section, a TIFF file's made from its IPTC-NAA tag.
    if (image.iptcList)
        image.iptcList->ParseSegment(image.iptcSection->bytes);

    // Decoding only the position reads every file to the same end.
    TimgData positionOnly(kDecodePosition);
    if (positionOnly.OpenImage(path) != opened || positionOnly.errorText != image.errorText ||
        positionOnly.ExifPresent() != image.ExifPresent() || positionOnly.CommentText() != image.CommentText() ||
        (positionOnly.iptcSection == nullptr) != (image.iptcSection == nullptr) ||
        (opened && image.ExifPresent() && gpsPositionText(*positionOnly.exifDecoder) != position))
        std::abort();
    return 0;
}
