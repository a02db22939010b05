#include "meta/imgdata.h"

#include "meta/asciitext.h"
#include "meta/filereader.h"
#include "meta/iptc.h"
#include "meta/jpegmarkers.h"
#include "meta/lockedfile.h"
#include "meta/pathparts.h"
#include "meta/rangeerror.h"

#include <sys/stat.h>

namespace vistado {

namespace {

// Metadata must begin among the first four segments after SOI; a file without
// any is given up at its fifth.
constexpr int32_t kGiveUpEntry = 5;

}  // namespace

TimgData::TimgData(int32_t decodeSelector) : decodeSelector(decodeSelector)
{
    ResetContainer();
}

TimgData::~TimgData() = default;

bool TimgData::OpenImage(const std::string& path)
{
    ResetContainer();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode))
        return false;  // no file there
    TakeFileInfo(path, info);
    try {
        errorText = "Not an EXIF file";
        const std::string extension = lowerAscii(extensionPart(path));
        bool read = false;
        if (extension == ".jpg" || extension == ".jpeg" || extension == ".jpe")
            read = LoadJpegSegments(path);
        else if (extension == ".tif" || extension == ".tiff" || extension == ".nef")
            read = LoadTiffFile(path);
        if (!read)
            return false;
        errorText = "<none>";
        return true;
    } catch (const std::exception&) {
        errorText = "Illegal Exif construction";
        return false;
    }
}

bool TimgData::ExifPresent() const
{
    return exifSection != nullptr;
}

std::string TimgData::CommentText() const
{
    if (commentSection == nullptr || commentSection->bytes.size() < 2)
        return {};
    const std::string& bytes = commentSection->bytes;
    const int32_t announced = static_cast<uint8_t>(bytes[0]) * 256 + static_cast<uint8_t>(bytes[1]);
    if (announced <= 2)
        return {};
    return bytes.substr(2, static_cast<size_t>(announced - 2));
}

void TimgData::ResetContainer()
{
    sectionCount = 0;
    exifSection = nullptr;
    iptcSection = nullptr;
    commentSection = nullptr;
    headerSection = nullptr;
    sourcePath.clear();
    sourceDate = 0;
    sourceSize = 0;
    errorText.clear();
    exifDecoder.reset();
    iptcList.reset();
    heldFile.reset();
    bigEndian = false;
}

void TimgData::TakeFileInfo(const std::string& path, const struct stat& info)
{
    sourcePath = path;
    sourceDate = info.st_mtime;
    sourceSize = info.st_size;
}

bool TimgData::LoadJpegSegments(const std::string& path)
{
    readingTiff = false;
    heldFile = std::make_unique<LockedFile>(path);
    FileReader file(heldFile->descriptor(), path);
    try {
        return ScanJpegSegments(file);
    } catch (const ERangeError&) {
        return false;
    }
}

bool TimgData::ScanJpegSegments(FileReader& file)
{
    if (file.readByte() != 0xFF || file.readByte() != 0xD8)
        return false;
    sectionCount = 0;
    while (sectionCount < kSectionsRead) {
        int marker = 0;
        do
            marker = file.readByte();
        while (marker == 0xFF);
        const int high = marker < 0 ? -1 : file.readByte();
        const int low = high < 0 ? -1 : file.readByte();
        if (low < 0)
            return AnyMetadataFound();  // the file ends before the segment's length

        tSection& entry = sections[static_cast<size_t>(sectionCount++)];
        const int32_t length = high * 256 + low;
        entry.marker = static_cast<uint32_t>(marker);
        entry.length = length;
        entry.bytes.assign({static_cast<char>(high), static_cast<char>(low)});
        if (length < 2)
            throw ERangeError("segment length " + std::to_string(length));
        entry.bytes.reserve(static_cast<size_t>(length));
        const size_t payload = static_cast<size_t>(length - 2);
        if (file.readInto(entry.bytes, payload) < payload)
            return AnyMetadataFound();  // a segment cut short keeps the bytes that exist
        if (length == 2)
            continue;
        if (sectionCount == kGiveUpEntry && !AnyMetadataFound())
            return false;

        switch (entry.marker) {
        case kEndOfImage:
        case kStartOfScan:
            return AnyMetadataFound();
        case kApp0:
            headerSection = &entry;
            break;
        case kApp1:
            if (sectionCount > kGiveUpEntry || exifSection != nullptr) {
                --sectionCount;  // dropped: the next segment reuses the entry
                break;
            }
            exifSection = &entry;
            exifDecoder = std::make_unique<TImageInfo>(*this, decodeSelector);
            buffer = entry.bytes;
            DecodeExifData();
            break;
        case kApp13:
            if (iptcSection == nullptr) {
                iptcSection = &entry;
                iptcList = std::make_unique<TIPTCdata>(*this);
            }
            break;
        case kComment:
            commentSection = &entry;
            break;
        default:
            break;
        }
    }
    return AnyMetadataFound();
}

void TimgData::DecodeExifData()
{
    if (!exifDecoder)
        exifDecoder = std::make_unique<TImageInfo>(*this, decodeSelector);
    const std::string& bytes = exifSection->bytes;
    if (bytes.compare(2, 5, std::string("Exif\0", 5)) != 0) {
        errorText = "Incorrect Exif header";
        return;
    }
    const std::string mark = bytes.substr(8, 2);
    if (mark == "II")
        bigEndian = false;
    else if (mark == "MM")
        bigEndian = true;
    else {
        errorText = "Invalid Exif alignment marker";
        return;
    }
    exifDecoder->reportText.clear();
    exifDecoder->buffer = buffer;
    exifDecoder->bigEndian = bigEndian;
    const int32_t firstDirectory = readOffsetAt(13);
    const int64_t start = firstDirectory == 0 ? 17 : 9 + static_cast<int64_t>(firstDirectory);
    exifDecoder->WalkDirectory(start, 9, exifSection->length - 6, DirectoryKind::Main);
    if (!errorText.empty())
        exifDecoder->Derive35mmFocalLength();
}

bool TimgData::AnyMetadataFound() const
{
    return exifSection != nullptr || commentSection != nullptr || iptcSection != nullptr;
}

}  // namespace vistado
