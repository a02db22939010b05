// The metadata writer: replaces the comment of a JPEG file and writes the
// file anew, the container's metadata segments in front of the source's image
// data, which is copied byte for byte and never decoded.

#include "meta/container/imgdata.h"

#include "meta/container/jpegimage.h"
#include "meta/container/jpegmarkers.h"
#include "meta/rangeerror.h"
#include "meta/file/replacefile.h"
#include "meta/file/writeerror.h"

#include <algorithm>
#include <ostream>
#include <sstream>
#include <utility>

namespace vistado {

namespace {

// Written in place of an APP0 segment when the container has neither an Exif
// nor a header segment: JFIF 1.02, 300 dots per inch, no thumbnail.
constexpr char kDefaultJfifHeader[] = {
    '\xFF', '\xE0', '\x00', '\x10', 'J', 'F', 'I', 'F', '\x00', '\x01',
    '\x02', '\x01', '\x01', '\x2C', '\x01', '\x2C', '\x00', '\x00',
};

// The largest text a COM segment holds: its length field counts itself.
constexpr size_t kMaxCommentLength = 0xFFFF - 2;

void writeSegment(std::ostream& out, const tSection& section)
{
    out.put('\xFF');
    out.put(static_cast<char>(section.marker & 0xFF));
    out << section.bytes;
}

uint8_t byteAt(std::string_view bytes, size_t offset)
{
    return static_cast<uint8_t>(bytes[offset]);
}

// Offset behind the segment whose length field is at offset lengthAt.
size_t segmentEnd(std::string_view bytes, size_t lengthAt)
{
    return lengthAt + byteAt(bytes, lengthAt) * 256u + byteAt(bytes, lengthAt + 1);
}

// [start, end) of the segment the reader found at the section's file
// offset. The image holds something else there when it has changed since it
// was read: then none of it is written, since leaving out the wrong bytes
// would damage it.
std::pair<size_t, size_t> segmentAt(std::string_view image, const tSection& read)
{
    const size_t start = static_cast<size_t>(read.fileOffset);
    size_t code = start;
    if (code < image.size() && byteAt(image, code) == 0xFF)
        ++code;
    if (read.fileOffset < 2 || code + 3 > image.size() || byteAt(image, code) != read.marker ||
        segmentEnd(image, code + 1) != code + 1 + static_cast<size_t>(read.length) ||
        code + 1 + static_cast<size_t>(read.length) > image.size())
        throw EWriteError("wurde inzwischen geändert");
    return {start, code + 1 + static_cast<size_t>(read.length)};
}

}  // namespace

void TimgData::SetCommentText(const std::string& text)
{
    if (text.size() > kMaxCommentLength)
        throw ERangeError("Kommentar mit " + std::to_string(text.size()) +
                          " Bytes ist zu lang für ein JPEG-Segment (höchstens " +
                          std::to_string(kMaxCommentLength) + ")");
    if (commentSection == nullptr) {
        if (sectionCount >= kSectionCapacity)
            throw ERangeError("kein freier Eintrag für ein Kommentarsegment");
        commentSection = &sections[static_cast<size_t>(sectionCount++)];
    }
    const size_t length = text.size() + 2;
    commentSection->bytes = {static_cast<char>(length >> 8), static_cast<char>(length & 0xFF)};
    commentSection->bytes += text;
    commentSection->length = static_cast<int32_t>(length);
    commentSection->marker = kComment;
    commentSection->fileOffset = -1;
}

void TimgData::DropCommentAndHeader()
{
    commentSection = nullptr;
    headerSection = nullptr;
}

void TimgData::EmitMetadataSegments(std::ostream& out) const
{
    out << "\xFF\xD8";
    if (exifSection != nullptr)
        writeSegment(out, *exifSection);
    else if (headerSection != nullptr)
        writeSegment(out, *headerSection);
    else if (jfifSection != nullptr)
        writeSegment(out, *jfifSection);
    else
        out.write(kDefaultJfifHeader, sizeof kDefaultJfifHeader);
    // A new XMP segment; in a file without Exif data it stands in the Exif segment's place.
    if (xmpSection == &madeXmp && exifSection != &madeXmp)
        writeSegment(out, madeXmp);
    if (iptcSection != nullptr)
        writeSegment(out, *iptcSection);
    if (commentSection != nullptr)
        writeSegment(out, *commentSection);
}

std::unique_ptr<ReplacementFile> TimgData::writeNewFile(const TJPEGImage& image, const std::string& target,
                                                        bool adjustSize)
{
    // Replacing the file that was read, the writer goes on under the read's
    // lock and only if the file is still the one read.
    auto replacement = std::make_unique<ReplacementFile>(target, std::move(heldFile));
    ReplacementFile& file = *replacement;
    if (adjustSize && exifDecoder && exifSection != nullptr)
        exifDecoder->AdjustDimensions(image.height(), image.width());
    std::ostringstream metadata;
    EmitMetadataSegments(metadata);
    file.write(metadata.view());
    // The image's bytes behind SOI, less the segments the metadata in front
    // stands for.
    const std::string_view source = image.bytes();
    size_t copied = std::min<size_t>(2, source.size());
    for (const auto& [start, end] : replacedSegments(source)) {
        file.write(source.substr(copied, start - copied));
        copied = end;
    }
    file.write(source.substr(copied));
    return replacement;
}

std::vector<std::pair<size_t, size_t>> TimgData::replacedSegments(std::string_view image) const
{
    std::vector<std::pair<size_t, size_t>> replaced;
    // An APP0 segment directly behind SOI: the Exif segment or a JFIF header
    // takes its place in front.
    if (image.size() > 5 && byteAt(image, 2) == 0xFF && byteAt(image, 3) == kApp0)
        replaced.emplace_back(2, std::min(segmentEnd(image, 4), image.size()));
    const tSection* header = exifSection != nullptr ? nullptr
                           : headerSection != nullptr ? headerSection
                                                      : jfifSection;
    const tSection* xmp = xmpSection == &madeXmp ? &readXmp : nullptr;
    for (const tSection* written : std::initializer_list<const tSection*>{exifSection, header, xmp, &readIptc, &readComment})
        if (written != nullptr && written->fileOffset >= 0)
            replaced.push_back(segmentAt(image, *written));
    std::sort(replaced.begin(), replaced.end());
    replaced.erase(std::unique(replaced.begin(), replaced.end()), replaced.end());
    return replaced;
}

std::unique_ptr<ReplacementFile> TimgData::writeNewFile(const std::string& target)
{
    // The whole source is in memory before the target is touched, so the
    // target may be the source itself.
    const TJPEGImage image = TJPEGImage::loadFromFile(sourcePath);
    return writeNewFile(image, target, false);
}

void TimgData::SaveJpegWith(const TJPEGImage& image, const std::string& target, bool adjustSize)
{
    writeNewFile(image, target, adjustSize)->commit();
}

void TimgData::SaveJpeg(const std::string& target)
{
    writeNewFile(target)->commit();
}

}  // namespace vistado
