// The metadata writer: replaces the comment of a JPEG file and writes the
// file anew, the container's metadata segments in front of the source's image
// data, which is copied byte for byte and never decoded.

#include "meta/imgdata.h"

#include "meta/jpegimage.h"
#include "meta/jpegmarkers.h"
#include "meta/rangeerror.h"
#include "meta/replacefile.h"

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

// Where the source's image remainder starts: behind SOI and the run of an
// APP0, an APP1 and an APP13 segment directly behind it, each kind at most
// once and in this order, which the written metadata stands for.
size_t remainderStart(std::string_view source)
{
    size_t start = 2;
    for (const uint8_t marker : {kApp0, kApp1, kApp13})
        if (start + 3 < source.size() && byteAt(source, start + 1) == marker)
            start = segmentEnd(source, start + 2);
    return std::min(start, source.size());
}

// The source's comment: the one the reader takes, its last COM segment in
// front of the image data that holds any text (the reader passes over an
// empty one). Its offset and end; both 0 when there is none.
std::pair<size_t, size_t> sourceComment(std::string_view source)
{
    std::pair<size_t, size_t> comment{0, 0};
    size_t pos = 2;
    while (pos < source.size() && byteAt(source, pos) == 0xFF) {
        size_t marker = pos + 1;
        while (marker < source.size() && byteAt(source, marker) == 0xFF)
            ++marker;  // fill bytes
        if (marker + 2 >= source.size() || byteAt(source, marker) == kStartOfScan ||
            byteAt(source, marker) == kEndOfImage)
            break;
        const size_t end = segmentEnd(source, marker + 1);
        if (byteAt(source, marker) == kComment && end > marker + 3 && end <= source.size())
            comment = {pos, end};
        pos = end;
    }
    return comment;
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
    else
        out.write(kDefaultJfifHeader, sizeof kDefaultJfifHeader);
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
    // The source's comment is replaced by the container's (or dropped with
    // it) wherever it stands, so that the written file reads back with the
    // comment written; every other byte of the remainder is copied.
    const std::string_view source = image.bytes();
    const size_t start = remainderStart(source);
    const auto [commentStart, commentEnd] = sourceComment(source);
    if (commentStart >= start && commentEnd > commentStart) {
        file.write(source.substr(start, commentStart - start));
        file.write(source.substr(commentEnd));
    } else {
        file.write(source.substr(start));
    }
    return replacement;
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
