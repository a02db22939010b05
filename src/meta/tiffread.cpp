#include "meta/filereader.h"
#include "meta/imgdata.h"
#include "meta/rangeerror.h"

namespace vistado {

namespace {

// At most this many bytes behind the 8-byte TIFF header are loaded; tags whose
// values lie further on are not available.
constexpr size_t kTiffDataLimit = 256000;
constexpr size_t kTiffHeaderSize = 8;

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
        return false;
    }
}

// The first directory is taken at file offset 8 whatever the header says;
// position 1 of the loaded bytes is file offset 8, so the base of the TIFF
// offsets is -7.
bool TimgData::ScanTiffFile(FileReader& file)
{
    std::string header;
    file.readInto(header, kTiffHeaderSize);
    const std::string mark = header.substr(0, 2);
    if (mark != "II" && mark != "MM")
        return false;

    tSection& entry = sections[0];
    entry.bytes.clear();
    file.readInto(entry.bytes, kTiffDataLimit);
    sectionCount = 1;
    exifSection = &entry;
    exifDecoder = std::make_unique<TImageInfo>(*this, decodeSelector);
    exifDecoder->readingTiff = readingTiff;
    exifDecoder->reportText.clear();
    buffer = entry.bytes;
    exifDecoder->buffer = entry.bytes;
    exifDecoder->bigEndian = mark == "MM";
    exifDecoder->WalkDirectory(1, -7, kTiffDataLimit, DirectoryKind::Main);
    exifDecoder->Derive35mmFocalLength();
    return true;
}

}  // namespace vistado
