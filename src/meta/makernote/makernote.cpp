#include "meta/makernote/makernote.h"

#include "meta/text/asciitext.h"
#include "meta/endind.h"
#include "meta/makernote/makernoteformat.h"
#include "meta/makernote/makertables.h"

#include <algorithm>
#include <map>
#include <optional>
#include <span>
#include <string_view>
#include <unordered_set>

namespace vistado {

namespace {

// Where TIFF offset 0 of the Exif data lies, as a segment position: in a JPEG
// Exif segment behind its length field and "Exif\0\0"; in a TIFF file, whose
// loaded bytes begin at file offset 8, seven positions before the first.
constexpr int64_t kJpegTiffBase = 9;
constexpr int64_t kTiffFileBase = -7;
constexpr int64_t kTiffNotePosShift = 16;
constexpr size_t kMakeLength = 5;
// Value bytes the walks may take per byte of the Exif data, and the size
// below which a value always fits: such values cost little even when
// thousands of entries share one.
constexpr int64_t kValueBytesPerDataByte = 4;
constexpr int64_t kSmallValue = 32;

enum class Condition {
    Always,
    NikonFormA,       // a TIFF header inside the note, by Exif version or model
    NoteBeginsNikon,  // the "Nikon" header of older cameras
    NoteBeginsQvc,
    NoteBeginsOlympus,  // "OLYMPUS\0" and a byte-order mark: cameras since about 2004
};

// What a note's offsets count from: the TIFF header of the enclosing Exif
// data, or a fixed byte of the note itself.
enum class Origin { ExifData, Note };

// How one maker's note is laid out. dirOffset is the length of the note
// header in front of the directory's entry count. Note-relative offsets o
// designate 0-based note byte o + dirOffset - originDelta + 1.
struct Layout {
    const char* make;  // the first five letters of the make, upper-cased
    Condition condition;
    std::span<const TTagEntry> (*table)();
    int64_t dirOffset;
    Origin origin;
    int64_t originDelta;  // for Origin::Note
    bool littleEndian;    // read little-endian whatever the Exif data's order
    // Offset in the note of a byte-order mark ("II" or "MM") of its own; -1
    // for notes in the Exif data's order.
    int64_t orderMarkAt = -1;
    // The note ends with a trailer holding the TIFF offset it was written at,
    // which still holds when an editor has moved it.
    bool originTrailer = false;
};

// Tried in order; the first row whose make and condition match is taken.
const Layout kLayouts[] = {
    {"NIKON", Condition::NikonFormA, nikonTiffHeaderTable, 18, Origin::Note, 9, false, 10},
    {"NIKON", Condition::NoteBeginsNikon, nikonHeaderTable, 8, Origin::ExifData, 0, false},
    {"NIKON", Condition::Always, nikonTiffHeaderTable, 0, Origin::ExifData, 0, false},
    {"OLYMP", Condition::NoteBeginsOlympus, olympusTable, 12, Origin::Note, 13, false, 8},
    {"OLYMP", Condition::Always, olympusTable, 8, Origin::ExifData, 0, false},
    {"CASIO", Condition::NoteBeginsQvc, casioQvcTable, 6, Origin::ExifData, 0, false},
    {"CASIO", Condition::Always, casioTable, 0, Origin::ExifData, 0, false},
    {"FUJIF", Condition::Always, fujiTable, 12, Origin::Note, 13, true},
    {"CANON", Condition::Always, canonTable, 0, Origin::ExifData, 0, false, -1, true},
    {"SEIKO", Condition::Always, epsonTable, 8, Origin::ExifData, 0, false},
    {"SANYO", Condition::Always, sanyoTable, 8, Origin::ExifData, 0, false},
    {"MINOL", Condition::Always, minoltaTable, 0, Origin::ExifData, 0, false},
};

constexpr size_t kTrailerSize = 8;

// Switches the note's byte order for one walk and back, also when it fails.
class ByteOrder {
public:
    ByteOrder(bool& bigEndian, bool wanted) : bigEndian(bigEndian), saved(bigEndian)
    {
        bigEndian = wanted;
    }
    ~ByteOrder() { bigEndian = saved; }
    ByteOrder(const ByteOrder&) = delete;
    ByteOrder& operator=(const ByteOrder&) = delete;

private:
    bool& bigEndian;
    bool saved;
};

// The character behind the model's first blank, or its first character when
// it has none; 0 when there is no such character.
char modelLetter(const std::string& model)
{
    const size_t blank = model.find(' ');
    const size_t at = blank == std::string::npos ? 0 : blank + 1;
    return at < model.size() ? model[at] : '\0';
}

// Exif versions after 2.1 ("0220", "0221") compare greater than "0210" byte
// by byte. Without a version, a TIFF file of a D-series camera counts too.
bool NikonFormA(const MakerNote& note, bool readingTiff)
{
    if (note.exifVersion > "0210")
        return true;
    return note.exifVersion.empty() && readingTiff && modelLetter(note.cameraModel) == 'D';
}

bool holds(Condition condition, const MakerNote& makerNote, bool readingTiff)
{
    const std::string& note = makerNote.bytes;
    switch (condition) {
    case Condition::NikonFormA:
        return NikonFormA(makerNote, readingTiff);
    case Condition::NoteBeginsNikon:
        return note.starts_with("Nikon");
    case Condition::NoteBeginsQvc:
        return note.starts_with("QVC");
    case Condition::NoteBeginsOlympus: {
        return note.starts_with(std::string_view("OLYMPUS\0", 8)) &&
               (note.compare(8, 2, "II") == 0 || note.compare(8, 2, "MM") == 0);
    }
    case Condition::Always:
        break;
    }
    return true;
}

// Whether count entries fit the note behind its header: a count read in the
// wrong byte order is 0 or far too large.
bool plausibleCount(const std::string& note, int64_t dirOffset, uint16_t count)
{
    return count > 0 && dirOffset + 2 + 12 * static_cast<int64_t>(count) <= static_cast<int64_t>(note.size());
}

// The byte order a note is read in: its own mark where it has one; else the
// Exif data's, unless only the swapped order gives a plausible entry count.
bool noteBigEndian(const Layout& layout, const std::string& note, bool exifBigEndian)
{
    if (layout.littleEndian)
        return false;
    if (layout.orderMarkAt >= 0) {
        const std::string_view mark = std::string_view(note).substr(
            std::min(note.size(), static_cast<size_t>(layout.orderMarkAt)), 2);
        if (mark == "MM" || mark == "II")
            return mark == "MM";
        return exifBigEndian;
    }
    if (layout.dirOffset + 2 > static_cast<int64_t>(note.size()))
        return exifBigEndian;
    const int64_t countAt = layout.dirOffset + 1;
    if (!plausibleCount(note, layout.dirOffset, read16In(note, countAt, exifBigEndian)) &&
        plausibleCount(note, layout.dirOffset, read16In(note, countAt, !exifBigEndian)))
        return !exifBigEndian;
    return exifBigEndian;
}

// The TIFF offset the note was written at, from its trailer: "II*\0" or
// "MM\0*" and the offset in that order. None when the note has no trailer.
std::optional<int64_t> trailerOrigin(const std::string& note)
{
    if (note.size() < kTrailerSize)
        return std::nullopt;
    const std::string_view trailer = std::string_view(note).substr(note.size() - kTrailerSize);
    const bool motorola = trailer.starts_with(std::string_view("MM\0*", 4));
    if (!motorola && !trailer.starts_with(std::string_view("II*\0", 4)))
        return std::nullopt;
    return read32In(note, static_cast<int64_t>(note.size() - 3), motorola);
}

const Layout* findLayout(const MakerNote& note, bool readingTiff)
{
    const std::string make = upperAscii(note.cameraMake.substr(0, kMakeLength));
    for (const Layout& layout : kLayouts)
        if (make == layout.make && holds(layout.condition, note, readingTiff))
            return &layout;
    return nullptr;
}

}  // namespace

bool ValueBudget::fits(int64_t byteCount, const std::string& exifData)
{
    if (byteCount <= kSmallValue)
        return true;
    taken += byteCount;
    return taken <= kValueBytesPerDataByte * static_cast<int64_t>(exifData.size());
}

void MakerNote::AddDerivedTag(const std::string& name, const std::string& value, uint16_t valueType)
{
    if (!storesTags)
        return;
    TTagEntry& entry = tags.emplace_back();
    entry.tableId = 1;
    entry.valueType = valueType;
    entry.tagId = kDerivedTagId;
    entry.key = name;
    entry.caption = name;
    entry.text = value;
    entry.rawBytes = value;
    entry.maxLength = static_cast<int32_t>(value.size());
}

TmsInfo::TmsInfo(bool readingTiff, MakerNote& owner)
    : readingTiff(readingTiff), owner(owner), notePos(owner.position)
{
}

bool TmsInfo::DecodeMakerNote(MakerNote& note)
{
    makeText.clear();
    if (readingTiff)
        notePos += kTiffNotePosShift;

    const Layout* layout = findLayout(note, readingTiff);
    if (layout == nullptr)
        return false;

    // An offset counted from the Exif data's TIFF header lies at segment
    // position tiffBase + o; the walk wants it as a shift inside the note,
    // whose first byte is at the note's position. A note moved by an editor
    // keeps the offsets of the place its trailer names.
    const int64_t tiffBase = readingTiff ? kTiffFileBase : kJpegTiffBase;
    const int64_t notePosition = note.position;
    std::optional<int64_t> origin;
    if (layout->originTrailer)
        origin = trailerOrigin(note.bytes);
    const int64_t noteOffset = origin.value_or(notePosition - tiffBase);
    const int64_t originDelta = layout->origin == Origin::ExifData
        ? layout->dirOffset + noteOffset + 1
        : layout->originDelta;
    // A value that does not lie inside the note is read from the segment at
    // the same place the offset designates.
    const int64_t fallbackBase = notePosition + layout->dirOffset - originDelta + 1;

    const ByteOrder order(note.bigEndian, noteBigEndian(*layout, note.bytes, note.bigEndian));
    walkDirectory(note, note.bytes, layout->table(), layout->dirOffset, originDelta, fallbackBase);
    makeText = note.cameraMake;
    return true;
}

std::span<const TTagEntry> makerNoteTable(const MakerNote& note, bool readingTiff)
{
    const Layout* layout = findLayout(note, readingTiff);
    return layout != nullptr ? layout->table() : std::span<const TTagEntry>();
}

bool makerNoteMayHold(std::span<const TTagEntry> table, const std::string& name)
{
    // Upper-cased names per table, made at the first question about it.
    static std::map<const TTagEntry*, std::unordered_set<std::string>> names;
    auto [known, added] = names.try_emplace(table.data());
    if (added) {
        for (const TTagEntry& row : table) {
            known->second.insert(upperAscii(row.key));
            if (row.formatter == FormatCanonSettings || row.formatter == FormatCanonShotInfo ||
                row.formatter == FormatCanonCustomFunctions)
                for (const std::string& label : makerNoteFormatterLabels())
                    known->second.insert(upperAscii(label));
        }
    }
    return known->second.contains(upperAscii(name));
}

}  // namespace vistado
