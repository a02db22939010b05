#include "meta/makernote.h"

#include "meta/asciitext.h"
#include "meta/makertables.h"

#include <span>

namespace vistado {

namespace {

// Where TIFF offset 0 of the Exif data lies, as a segment position: in a JPEG
// Exif segment behind its length field and "Exif\0\0"; in a TIFF file, whose
// loaded bytes begin at file offset 8, seven positions before the first.
constexpr int64_t kJpegTiffBase = 9;
constexpr int64_t kTiffFileBase = -7;
constexpr int64_t kTiffNotePosShift = 16;
constexpr size_t kMakeLength = 5;

enum class TCondition {
    Always,
    NikonFormA,       // a TIFF header inside the note, by Exif version or model
    NoteBeginsNikon,  // the "Nikon" header of older cameras
    NoteBeginsQvc,
};

// What a note's offsets count from: the TIFF header of the enclosing Exif
// data, or a fixed byte of the note itself.
enum class TOrigin { ExifData, Note };

// How one maker's note is laid out. dirOffset is the length of the note
// header in front of the directory's entry count. Note-relative offsets o
// designate 0-based note byte o + dirOffset - originDelta + 1.
struct TLayout {
    const char* make;  // the first five letters of the make, upper-cased
    TCondition condition;
    std::span<const TTagEntry> (*table)();
    int64_t dirOffset;
    TOrigin origin;
    int64_t originDelta;  // for TOrigin::Note
    bool littleEndian;    // read little-endian whatever the Exif data's order
};

// Tried in order; the first row whose make and condition match is taken.
const TLayout kLayouts[] = {
    {"NIKON", TCondition::NikonFormA, NikonTiffHeaderTable, 18, TOrigin::Note, 9, false},
    {"NIKON", TCondition::NoteBeginsNikon, NikonHeaderTable, 8, TOrigin::ExifData, 0, false},
    {"NIKON", TCondition::Always, NikonTiffHeaderTable, 0, TOrigin::ExifData, 0, false},
    {"OLYMP", TCondition::Always, OlympusTable, 8, TOrigin::ExifData, 0, false},
    {"CASIO", TCondition::NoteBeginsQvc, CasioQvcTable, 6, TOrigin::ExifData, 0, false},
    {"CASIO", TCondition::Always, CasioTable, 0, TOrigin::ExifData, 0, false},
    {"FUJIF", TCondition::Always, FujiTable, 12, TOrigin::Note, 13, true},
    {"CANON", TCondition::Always, CanonTable, 0, TOrigin::ExifData, 0, false},
    {"SEIKO", TCondition::Always, EpsonTable, 8, TOrigin::ExifData, 0, false},
    {"SANYO", TCondition::Always, SanyoTable, 8, TOrigin::ExifData, 0, false},
    {"MINOL", TCondition::Always, MinoltaTable, 0, TOrigin::ExifData, 0, false},
};

TImageInfo* makerNoteImage = nullptr;

// The image being decoded for the length of one decode, also when it fails:
// a formatter never reaches a decoder that may have been freed since.
class TCurrentImage {
public:
    explicit TCurrentImage(TImageInfo& image) { makerNoteImage = &image; }
    ~TCurrentImage() { makerNoteImage = nullptr; }
    TCurrentImage(const TCurrentImage&) = delete;
    TCurrentImage& operator=(const TCurrentImage&) = delete;
};

// Switches the decoder's byte order for one walk and back, also when it fails.
class TByteOrder {
public:
    TByteOrder(bool& bigEndian, bool wanted) : bigEndian(bigEndian), saved(bigEndian)
    {
        bigEndian = wanted;
    }
    ~TByteOrder() { bigEndian = saved; }
    TByteOrder(const TByteOrder&) = delete;
    TByteOrder& operator=(const TByteOrder&) = delete;

private:
    bool& bigEndian;
    bool saved;
};

// The character behind the model's first blank, or its first character when
// it has none; 0 when there is no such character.
char ModelLetter(const std::string& model)
{
    const size_t blank = model.find(' ');
    const size_t at = blank == std::string::npos ? 0 : blank + 1;
    return at < model.size() ? model[at] : '\0';
}

// Exif versions after 2.1 ("0220", "0221") compare greater than "0210" byte
// by byte. Without a version, a TIFF file of a D-series camera counts too.
bool NikonFormA(const TImageInfo& image, bool readingTiff)
{
    if (image.exifVersion > "0210")
        return true;
    return image.exifVersion.empty() && readingTiff && ModelLetter(image.cameraModel) == 'D';
}

bool Holds(TCondition condition, const TImageInfo& image, bool readingTiff)
{
    switch (condition) {
    case TCondition::NikonFormA:
        return NikonFormA(image, readingTiff);
    case TCondition::NoteBeginsNikon:
        return image.makerNoteBytes.starts_with("Nikon");
    case TCondition::NoteBeginsQvc:
        return image.makerNoteBytes.starts_with("QVC");
    case TCondition::Always:
        break;
    }
    return true;
}

const TLayout* FindLayout(const TImageInfo& image, bool readingTiff)
{
    const std::string make = UpperAscii(image.cameraMake.substr(0, kMakeLength));
    for (const TLayout& layout : kLayouts)
        if (make == layout.make && Holds(layout.condition, image, readingTiff))
            return &layout;
    return nullptr;
}

}  // namespace

TmsInfo::TmsInfo(bool readingTiff, TImageInfo& owner)
    : readingTiff(readingTiff), owner(owner), notePos(owner.makerNotePos)
{
}

bool TmsInfo::DecodeMakerNote(TImageInfo& image)
{
    makeText.clear();
    const TCurrentImage current(image);
    if (readingTiff)
        notePos += kTiffNotePosShift;

    const TLayout* layout = FindLayout(image, readingTiff);
    if (layout == nullptr)
        return false;

    // An offset counted from the Exif data's TIFF header lies at segment
    // position tiffBase + o; the walk wants it as a shift inside the note,
    // whose first byte is at makerNotePos.
    const int64_t tiffBase = readingTiff ? kTiffFileBase : kJpegTiffBase;
    const int64_t notePosition = image.makerNotePos;
    const int64_t originDelta = layout->origin == TOrigin::ExifData
        ? layout->dirOffset + notePosition - tiffBase + 1
        : layout->originDelta;
    // A value that does not lie inside the note is read from the segment at
    // the same place the offset designates.
    const int64_t fallbackBase = notePosition + layout->dirOffset - originDelta + 1;

    const TByteOrder order(image.bigEndian, layout->littleEndian ? false : image.bigEndian);
    image.WalkMakerNoteDirectory(image.makerNoteBytes, layout->table(), layout->dirOffset,
                                 originDelta, fallbackBase);
    makeText = image.cameraMake;
    return true;
}

TImageInfo* MakerNoteImage()
{
    return makerNoteImage;
}

}  // namespace vistado
