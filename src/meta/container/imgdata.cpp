#include "meta/container/imgdata.h"

#include "meta/text/asciitext.h"
#include "meta/file/filereader.h"
#include "meta/iptc/iptc.h"
#include "meta/container/jpegmarkers.h"
#include "meta/file/lockedfile.h"
#include "meta/file/pathparts.h"
#include "meta/rangeerror.h"

#include <algorithm>
#include <exception>
#include <string_view>
#include <sys/stat.h>
#include <system_error>

namespace vistado {

TimgData::TimgData(int32_t decodeSelector) : decodeSelector(decodeSelector)
{
    ResetContainer();
}

TimgData::~TimgData() = default;

namespace {

enum class ImageKind { Jpeg, Tiff, Other };

ImageKind kindOfName(const std::string& path)
{
    const std::string extension = lowerAscii(extensionPart(path));
    if (extension == ".jpg" || extension == ".jpeg" || extension == ".jpe")
        return ImageKind::Jpeg;
    if (extension == ".tif" || extension == ".tiff" || extension == ".nef")
        return ImageKind::Tiff;
    return ImageKind::Other;
}

}  // namespace

template <typename Load>
bool TimgData::readOpened(const std::string& path, const struct stat& info, Load load)
{
    if (S_ISDIR(info.st_mode)) {
        heldFile.reset();
        return false;  // no file there
    }
    TakeFileInfo(path, info);
    try {
        errorText = "Not an EXIF file";
        if (!load())
            return false;
        errorText = "<none>";
        return true;
    } catch (const std::exception&) {
        errorText = "Illegal Exif construction";
        failedRead = true;
        return false;
    }
}

bool TimgData::OpenImage(const std::string& path)
{
    ResetContainer();
    const ImageKind kind = kindOfName(path);
    std::exception_ptr notOpened;
    // A JPEG's status comes from the file once it is open: its path is
    // looked up once, not twice.
    if (kind == ImageKind::Jpeg) {
        try {
            if (lockForRewrite) {
                heldFile = std::make_unique<LockedFile>(path);
                FileReader file(heldFile->descriptor(), path);
                return readOpened(path, heldFile->current(), [&] { return scanJpegFile(file); });
            }
            FileReader file(path);
            return readOpened(path, file.status(), [&] { return scanJpegFile(file); });
        } catch (const std::system_error&) {
            // Not opened: its status by path tells a missing file from one
            // that cannot be read, which then fails as its read.
            heldFile.reset();
            notOpened = std::current_exception();
        }
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return false;  // no file there
    return readOpened(path, info, [&] {
        if (notOpened)
            std::rethrow_exception(notOpened);
        return kind == ImageKind::Tiff && LoadTiffFile(path);
    });
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
    jfifSection = nullptr;
    readComment = tSection();
    xmpSection = nullptr;
    readIptc = readXmp = heldXmp = madeIptc = madeXmp = tSection();
    sourcePath.clear();
    sourceDate = 0;
    sourceSize = 0;
    errorText.clear();
    failedRead = false;
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

bool TimgData::scanJpegFile(FileReader& file)
{
    readingTiff = false;
    try {
        return ScanJpegSegments(file);
    } catch (const ERangeError&) {
        failedRead = true;
        return false;
    }
}

namespace {

constexpr std::string_view kExifHeader("Exif\0\0", 6);
constexpr std::string_view kJfifHeader("JFIF\0", 5);

// Where the reader found a segment it took, kept for the writer.
tSection readPlace(const tSection& taken)
{
    tSection place;
    place.marker = taken.marker;
    place.length = taken.length;
    place.fileOffset = taken.fileOffset;
    return place;
}

// Whether the segment's payload (behind its two length bytes) begins so.
bool payloadBegins(const tSection& section, std::string_view header)
{
    return std::string_view(section.bytes).substr(std::min<size_t>(2, section.bytes.size())).starts_with(header);
}

// The kinds of segment the container refers to; the scan reads the payload
// of these even when the table is full.
bool mayBeTaken(int marker)
{
    return marker == kApp0 || marker == kApp1 || marker == kApp13 || marker == kComment;
}

}  // namespace

// Every segment up to the image data is seen: metadata may stand behind any
// number of colour-profile chunks or other segments, and the writer must know
// the comment it replaces wherever it stands.
bool TimgData::ScanJpegSegments(FileReader& file)
{
    if (file.readByte() != 0xFF || file.readByte() != 0xD8)
        return false;
    sectionCount = 0;
    readComment = tSection();
    tSection overflow;
    for (;;) {
        const int64_t start = file.position();
        int marker = 0;
        do
            marker = file.readByte();
        while (marker == 0xFF);
        const int high = marker < 0 ? -1 : file.readByte();
        const int low = high < 0 ? -1 : file.readByte();
        if (low < 0)
            return AnyMetadataFound();  // the file ends before the segment's length

        const bool inTable = sectionCount < kSectionsRead;
        const int32_t length = high * 256 + low;
        const size_t payload = static_cast<size_t>(std::max(length - 2, 0));
        if (!inTable && !mayBeTaken(marker)) {
            if (marker == kEndOfImage || marker == kStartOfScan)
                return AnyMetadataFound();
            if (length < 2)
                throw ERangeError("segment length " + std::to_string(length));
            file.skip(payload);
            continue;
        }
        tSection& entry = inTable ? sections[static_cast<size_t>(sectionCount++)] : overflow;
        const int64_t codeAt = file.position() - 3;
        entry.marker = static_cast<uint32_t>(marker);
        entry.length = length;
        entry.fileOffset = codeAt > start ? codeAt - 1 : codeAt;  // on its 0xFF
        entry.bytes.assign({static_cast<char>(high), static_cast<char>(low)});
        if (length < 2)
            throw ERangeError("segment length " + std::to_string(length));
        entry.bytes.reserve(static_cast<size_t>(length));
        if (file.readInto(entry.bytes, payload) < payload)
            return AnyMetadataFound();  // a segment cut short keeps the bytes that exist
        if (length == 2)
            continue;  // stored, never taken

        switch (entry.marker) {
        case kEndOfImage:
        case kStartOfScan:
            return AnyMetadataFound();
        case kApp0: {
            const bool jfif = jfifSection == nullptr && payloadBegins(entry, kJfifHeader);
            headerSection = nullptr;  // a full table may reuse its entry
            tSection& kept = keepTaken(entry, inTable);
            headerSection = &kept;
            if (jfif)
                jfifSection = &kept;
            break;
        }
        case kApp1: {
            // A segment that holds Exif data replaces one taken only for
            // want of it (an XMP packet in front); any other is dropped.
            const bool exif = payloadBegins(entry, kExifHeader);
            const bool xmp = xmpSection == nullptr && payloadBegins(entry, kXmpHeader);
            if (xmp)
                holdXmp(entry);
            if (exifSection != nullptr && (payloadBegins(*exifSection, kExifHeader) || !exif)) {
                if (inTable)
                    --sectionCount;  // dropped: the next segment reuses the entry
                break;
            }
            if (exifSection != nullptr)
                errorText = "Not an EXIF file";  // what the one in front set no longer holds
            exifSection = nullptr;
            exifSection = &keepTaken(entry, inTable);
            exifDecoder = std::make_unique<TImageInfo>(*this, decodeSelector, errorText);
            DecodeExifData();
            break;
        }
        case kApp13:
            if (iptcSection == nullptr) {
                iptcSection = &keepTaken(entry, inTable);
                readIptc = readPlace(*iptcSection);
                iptcList = std::make_unique<TIPTCdata>(*this);
            }
            break;
        case kComment:
            commentSection = nullptr;
            commentSection = &keepTaken(entry, inTable);
            readComment = readPlace(*commentSection);
            break;
        default:
            break;
        }
    }
}

tSection& TimgData::keepTaken(tSection& read, bool inTable)
{
    if (inTable)
        return read;
    // Twenty entries and at most five references: one is always free.
    for (int32_t i = sectionCount - 1;; --i) {
        tSection& entry = sections[static_cast<size_t>(i)];
        if (&entry != exifSection && &entry != iptcSection && &entry != commentSection &&
            &entry != headerSection && &entry != jfifSection) {
            entry = std::move(read);
            return entry;
        }
    }
}

void TimgData::holdXmp(const tSection& read)
{
    heldXmp = read;
    xmpSection = &heldXmp;
    readXmp = readPlace(heldXmp);
}

void TimgData::DecodeExifData()
{
    if (!exifDecoder)
        exifDecoder = std::make_unique<TImageInfo>(*this, decodeSelector, errorText);
    const std::string& bytes = exifSection->bytes;
    if (!payloadBegins(*exifSection, kExifHeader.substr(0, 5))) {
        errorText = "Incorrect Exif header";
        return;
    }
    // A segment that ends inside the TIFF header has no byte-order mark.
    const std::string mark = bytes.size() >= 10 ? bytes.substr(8, 2) : std::string();
    if (mark == "II")
        bigEndian = false;
    else if (mark == "MM")
        bigEndian = true;
    else {
        errorText = "Invalid Exif alignment marker";
        return;
    }
    // The decoder holds the one copy of the segment it reads; the
    // container's entry keeps the bytes the writer writes.
    exifDecoder->reportText.clear();
    exifDecoder->buffer = bytes;
    exifDecoder->bigEndian = bigEndian;
    const int32_t firstDirectory = exifDecoder->readOffsetAt(13);
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
