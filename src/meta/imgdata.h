#pragma once

#include "meta/endind.h"
#include "meta/imageinfo.h"
#include "meta/tsection.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace vistado {

class TFileReader;

// The metadata of one image file: the JPEG segments in front of the image
// data, references to the Exif, IPTC, comment and header segments among them,
// the file's path, date and size, a status text and the Exif decoder. One
// container serves one file after another; each OpenImage starts afresh.
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

    // Reads the metadata of a ".jpg", ".jpeg", ".jpe", ".tif", ".tiff" or
    // ".nef" file. Never raises: false with a text in errorText on failure
    // (empty when there is no file at path).
    bool OpenImage(const std::string& path);
    bool ExifPresent() const;
    // The payload of the comment segment, unchanged.
    std::string CommentText() const;

private:
    void ResetContainer();
    void TakeFileInfo(const std::string& path, const struct stat& info);
    bool LoadJpegSegments(const std::string& path);
    bool ScanJpegSegments(TFileReader& file);
    void DecodeExifData();
    bool AnyMetadataFound() const;
    bool LoadTiffFile(const std::string& path);
    bool ScanTiffFile(TFileReader& file);
};

}  // namespace vistado
