#include "meta/endind.h"
#include "meta/file/filereader.h"
#include "meta/container/imgdata.h"
#include "meta/container/jpegmarkers.h"
#include "meta/iptc/iptc.h"
#include "meta/iptc/iptcsegment.h"
#include "meta/rangeerror.h"

#include <algorithm>

namespace vistado {

namespace {

// At least this many bytes behind the 8-byte TIFF header are loaded; tags
// whose values lie further on are not available.
constexpr size_t kTiffDataLimit = 256000;
constexpr size_t kTiffHeaderSize = 8;
// Scanners and editors write the first directory behind the image data: the
// bytes up to it and this many behind it are loaded then, up to a cap.
constexpr size_t kDirectoryWindow = 65536;
constexpr size_t kTiffLoadCap = 256u << 20;

// readingTiff is true exactly while a TIFF file is read, also when reading fails.
class ReadingTiff {
public:
    explicit ReadingTiff(bool& flag) : flag(flag) { flag = true; }
    ~ReadingTiff() { flag = false; }
    ReadingTiff(const ReadingTiff&) = delete;
    ReadingTiff& operator=(const ReadingTiff&) = delete;

private:
    bool& flag;
};

}  // namespace

bool TimgData::LoadTiffFile(const std::string& path)
{
    const ReadingTiff reading(readingTiff);
    FileReader file(path);
    try {
        return ScanTiffFile(file);
    } catch (const ERangeError&) {
        failedRead = true;
        return false;
    }
}

// Position 1 of the loaded bytes is file offset 8, so the base of the TIFF
// offsets is -7. The first directory is where the header points; a header
// pointing into itself (0 included) counts as pointing at offset 8.
bool TimgData::ScanTiffFile(FileReader& file)
{
    std::string header;
    file.readInto(header, kTiffHeaderSize);
    const std::string mark = header.substr(0, 2);
    if (mark != "II" && mark != "MM")
        return false;
    const bool motorola = mark == "MM";
    const uint32_t first = header.size() == kTiffHeaderSize ? read32In(header, 5, motorola) : 0;
    const size_t firstAt = first < kTiffHeaderSize ? kTiffHeaderSize : first;
    const size_t limit = std::max(kTiffDataLimit, std::min(firstAt - kTiffHeaderSize + kDirectoryWindow, kTiffLoadCap));

    tSection& entry = sections[0];
    entry.bytes.clear();
    entry.fileOffset = -1;
    // No more is asked for than the file holds: a header pointing far out
    // must not cost a buffer of that size.
    const size_t held = sourceSize > static_cast<int64_t>(kTiffHeaderSize)
        ? static_cast<size_t>(sourceSize) - kTiffHeaderSize
        : 0;
    file.readInto(entry.bytes, std::min(limit, held));
    sectionCount = 1;
    exifSection = &entry;
    exifDecoder = std::make_unique<TImageInfo>(*this, decodeSelector, errorText);
    exifDecoder->readingTiff = readingTiff;
    exifDecoder->reportText.clear();
    exifDecoder->buffer = entry.bytes;
    exifDecoder->bigEndian = motorola;
    exifDecoder->WalkDirectory(static_cast<int64_t>(firstAt) - 7, -7, static_cast<int64_t>(limit),
                               DirectoryKind::Main);
    exifDecoder->Derive35mmFocalLength();
    takeIptcOfTiff();
    return true;
}

// The IPTC datasets of the IPTC-NAA tag become the container's IPTC section,
// in entry 2, as if an APP13 segment had held them.
void TimgData::takeIptcOfTiff()
{
    if (exifDecoder->iptcNaaBytes.empty())
        return;
    tSection& entry = sections[1];
    entry.bytes = iptcSegmentOf(exifDecoder->iptcNaaBytes);
    entry.marker = kApp13;
    entry.length = static_cast<uint8_t>(entry.bytes[0]) * 256 + static_cast<uint8_t>(entry.bytes[1]);
    entry.fileOffset = -1;
    sectionCount = 2;
    iptcSection = &entry;
    iptcList = std::make_unique<TIPTCdata>(*this);
}

}  // namespace vistado
