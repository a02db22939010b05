#pragma once

#include "meta/endind.h"
#include "meta/imageinfo.h"
#include "meta/tsection.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <iosfwd>
#include <memory>
#include <string>
#include <sys/stat.h>

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
class TimgData : public tEndInd {
public:
    static constexpr int32_t kSectionCapacity = 21;
    // The scan stores at most this many, so one entry stays free for a new comment.
    static constexpr int32_t kSectionsRead = 20;

    explicit TimgData(int32_t decodeSelector);
    ~TimgData();
    TimgData(const TimgData&) = delete;
    TimgData& operator=(const TimgData&) = delete;

    std::array<tSection, kSectionCapacity> sections;  // entries 0 to sectionCount - 1 in use
    bool readingTiff = false;
    int32_t decodeSelector;
    int32_t sectionCount = 0;
    tSection* exifSection = nullptr;     // the APP1 segment taken as the Exif segment
    tSection* iptcSection = nullptr;     // the first APP13 segment
    tSection* commentSection = nullptr;  // the last COM segment
    tSection* headerSection = nullptr;   // the last APP0 segment
    std::string sourcePath;
    std::time_t sourceDate = 0;  // last-write time of the file
    int64_t sourceSize = 0;
    std::string errorText;  // "<none>" after a successful OpenImage
    std::unique_ptr<TImageInfo> exifDecoder;
    // Created at the first APP13 segment of the file; filled only on demand.
    std::unique_ptr<TIPTCdata> iptcList;

    // Reads the metadata of a ".jpg", ".jpeg", ".jpe", ".tif", ".tiff" or
    // ".nef" file. Never raises: false with a text in errorText on failure
    // (empty when there is no file at path).
    bool OpenImage(const std::string& path);
    bool ExifPresent() const;
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
    void DropCommentAndHeader();
    // SOI, then the Exif segment (else the header segment, else a default
    // JFIF header), the IPTC segment and the comment segment, each as held.
    void EmitMetadataSegments(std::ostream& out) const;
    // Writes the metadata segments and then the image's bytes from behind its
    // leading APP0, APP1 and APP13 segments on, unchanged, except that the
    // image's own comment segment (its last COM before the scan that holds
    // text, the one the reader takes) is left out: the container's comment
    // stands for it. The target is replaced only
    // when the new file is complete; on failure it stays as it was. With
    // adjustSize the Exif segment's pixel dimensions become the image's
    // first. Raises EWriteError (and ERangeError from the size patch).
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
    void ResetContainer();
    void TakeFileInfo(const std::string& path, const struct stat& info);
    bool LoadJpegSegments(const std::string& path);
    bool ScanJpegSegments(FileReader& file);
    void DecodeExifData();
    bool AnyMetadataFound() const;
    bool LoadTiffFile(const std::string& path);
    bool ScanTiffFile(FileReader& file);

    // The JPEG file as read, held under a shared lock from the read until
    // SaveJpeg replaces it or the next OpenImage, so that the writer can
    // tell whether it is still the file that was read.
    std::unique_ptr<LockedFile> heldFile;
};

}  // namespace vistado
