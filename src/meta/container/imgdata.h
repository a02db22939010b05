#pragma once

#include "meta/endind.h"
#include "meta/exif/imageinfo.h"
#include "meta/container/tsection.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace vistado {

class FileReader;
class LockedFile;
class ReplacementFile;
class TIPTCdata;
class TJPEGImage;

// The metadata of one image file: the JPEG segments in front of the image
// data, references to the Exif, IPTC, comment and header segments among them,
// the file's path, date and size, a status text, the Exif decoder and the
// IPTC record list. One container serves one file after another; each
// OpenImage starts afresh.
// Its own buffer stays empty: the Exif decoder holds the bytes it reads, and
// the section table the bytes the writer writes.
class TimgData : public tEndInd {
public:
    static constexpr int32_t kSectionCapacity = 21;
    // The scan stores at most this many, so one entry stays free for a new comment.
    static constexpr int32_t kSectionsRead = 20;

    explicit TimgData(int32_t decodeSelector);
    ~TimgData();
    TimgData(const TimgData&) = delete;
    TimgData& operator=(const TimgData&) = delete;

    // Entries 0 to sectionCount - 1 in use: the segments in front of the image
    // data in file order. A file with more keeps the first twenty; a segment
    // taken behind them replaces the last entry that nothing refers to.
    std::array<tSection, kSectionCapacity> sections;
    bool readingTiff = false;
    int32_t decodeSelector;
    int32_t sectionCount = 0;
    // The first APP1 segment that holds Exif data ("Exif\0\0"), wherever it
    // stands; in a file without one, the first APP1 segment.
    tSection* exifSection = nullptr;
    // The first APP13 segment; in a TIFF file, its IPTC-NAA tag made one.
    tSection* iptcSection = nullptr;
    // A copy of the first APP1 segment that holds an XMP packet (not its extension
    // segments), outside the table: the segment stays where it stands in the file unless
    // SetXmpPacket replaces it.
    tSection* xmpSection = nullptr;
    tSection* commentSection = nullptr;  // the last COM segment that holds text
    tSection* headerSection = nullptr;   // the last APP0 segment
    // The first APP0 segment that is a JFIF header. The writer puts it in
    // front of a file without Exif data when the header has been dropped.
    tSection* jfifSection = nullptr;
    std::string sourcePath;
    std::time_t sourceDate = 0;  // last-write time of the file
    int64_t sourceSize = 0;
    std::string errorText;  // "<none>" after a successful OpenImage
    // Whether OpenImage keeps the photo locked (shared) until the writer
    // replaces it, so that no other writer of ours changes it between the
    // read and the rewrite. A reader that never writes turns it off and
    // reads with three system calls fewer.
    bool lockForRewrite = true;
    std::unique_ptr<TImageInfo> exifDecoder;
    // Created at the first APP13 segment of the file; filled only on demand.
    std::unique_ptr<TIPTCdata> iptcList;

    // Reads the metadata of a ".jpg", ".jpeg", ".jpe", ".tif", ".tiff" or
    // ".nef" file. Never raises: false with a text in errorText on failure
    // (empty when there is no file at path).
    bool OpenImage(const std::string& path);
    bool ExifPresent() const;
    // Whether the last OpenImage ended in an error (the file could not be
    // read, a segment or the first directory is broken) rather than with the
    // file read or found without metadata. Nothing may be written from such
    // a read: the container does not hold what the file holds.
    bool readFailed() const { return failedRead; }
    // The payload of the comment segment, unchanged.
    std::string CommentText() const;

    // The writer. Nothing reaches a file before SaveJpeg; the table keeps
    // describing the source as it was read, plus a new comment entry.
    //
    // Makes commentSection a COM segment holding the text, taking the next
    // free entry when there is none. A text longer than 65533 bytes does not
    // fit a segment and, like a full table, raises ERangeError; nothing
    // changes then.
    void SetCommentText(const std::string& text);
    // Make iptcSection an APP13 segment, xmpSection an XMP segment, holding the payload
    // given (behind the length field; for XMP, the packet behind its header). The writer
    // puts them in front and leaves out the ones read, wherever they stood. A payload that
    // does not fit a segment raises ERangeError; nothing changes then.
    void SetIptcPayload(const std::string& payload);
    void SetXmpPacket(const std::string& packet);
    void DropCommentAndHeader();
    // SOI, then the Exif segment (else the header segment, else the JFIF
    // segment, else a default JFIF header), the IPTC segment and the comment
    // segment, each as held, with a new XMP segment behind the Exif segment.
    void EmitMetadataSegments(std::ostream& out) const;
    // Writes the metadata segments and then the image's bytes behind its SOI,
    // unchanged, except for the segments the metadata in front stands for:
    // the Exif, IPTC and JFIF segments written in front (and the XMP segment, when
    // SetXmpPacket replaced it), the comment the
    // reader took (the container's comment replaces it, or its drop removes
    // it), and an APP0 segment directly behind SOI. Those are left out where
    // the reader found them, and nothing else is; an image that holds another
    // thing there is not the one that was read and raises EWriteError. The
    // target is replaced only when the new file is complete; on failure it
    // stays as it was. With adjustSize the Exif segment's pixel dimensions
    // become the image's first. Raises EWriteError (and ERangeError from the
    // size patch).
    void SaveJpegWith(const TJPEGImage& image, const std::string& target, bool adjustSize);
    // SaveJpegWith of the source file, loaded completely, without the size
    // patch. The target may be the source itself.
    void SaveJpeg(const std::string& target);
    // SaveJpeg up to the commit: the new file complete beside the target,
    // which is still as it was. The caller commits it, perhaps on another
    // thread (CommitQueue); the read's lock goes with it.
    std::unique_ptr<ReplacementFile> writeNewFile(const std::string& target);

private:
    std::unique_ptr<ReplacementFile> writeNewFile(const TJPEGImage& image, const std::string& target,
                                                 bool adjustSize);
    // Where the reader found the segments that the written metadata stands
    // for: [start, end) offsets of the image's bytes, in file order.
    std::vector<std::pair<size_t, size_t>> replacedSegments(std::string_view image) const;
    // A segment the scan took: kept in its entry, or in place of the last
    // entry nothing refers to once the table is full.
    tSection& keepTaken(tSection& read, bool inTable);

    // The comment segment the reader took, as it stood in the file: the
    // writer leaves it out of the copy whatever becomes of commentSection.
    tSection readComment;
    // Likewise the IPTC and XMP segments the reader took, the XMP segment's bytes, and the
    // segments that replace them.
    tSection readIptc;
    tSection readXmp;
    tSection heldXmp;
    tSection madeIptc;
    tSection madeXmp;
    bool failedRead = false;

    void ResetContainer();
    void TakeFileInfo(const std::string& path, const struct stat& info);
    // Reads the file after its status: nothing for a folder, else what it
    // holds through load; never raises.
    template <typename Load>
    bool readOpened(const std::string& path, const struct stat& info, Load load);
    bool scanJpegFile(FileReader& file);
    bool ScanJpegSegments(FileReader& file);
    void DecodeExifData();
    bool AnyMetadataFound() const;
    void holdXmp(const tSection& read);
    bool LoadTiffFile(const std::string& path);
    bool ScanTiffFile(FileReader& file);
    void takeIptcOfTiff();

    // The JPEG file as read, held under a shared lock from the read until
    // SaveJpeg replaces it or the next OpenImage, so that the writer can
    // tell whether it is still the file that was read.
    std::unique_ptr<LockedFile> heldFile;
};

}  // namespace vistado
