#pragma once

#include "meta/tagentry.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vistado {

// Tag number of the entries that AddDerivedTag stores (values that a
// maker-note formatter split off one tag). Not a tag of any table, so a
// derived entry is never mistaken for a decoded one; found by name.
inline constexpr uint16_t kDerivedTagId = 0xFFFF;

// The bytes of large values that the walks of one Exif data have taken, the
// Exif walk's and the maker-note walk's together. The values of a segment's
// tags lie side by side in it; a few tags may share one. Values adding up to
// several times the segment overlap on purpose: each entry would copy the
// same bytes again, and a 64 KB segment would take gigabytes and seconds to
// read.
class ValueBudget {
public:
    // Counts a value's bytes against what the Exif data can hold; false once
    // they no longer fit, and the entry is passed over. Small values always
    // fit, so that positions and texts stay readable behind an overlap.
    bool fits(int64_t byteCount, const std::string& exifData);

private:
    int64_t taken = 0;
};

// What the Exif walk hands the maker-note decoder about one MakerNote entry,
// and what the decoder hands back.
struct MakerNote {
    const std::string& bytes;     // the entry's value
    int32_t position;             // segment position of its first byte
    const std::string& exifData;  // the Exif segment (or TIFF data), for values outside the note
    // What the walk knew of the camera when it met the note.
    std::string cameraMake;
    std::string cameraModel;
    std::string exifVersion;
    bool bigEndian;   // the Exif data's byte order
    bool storesTags;  // whether the decode stores entries (else it walks only)
    ValueBudget& budget;

    // The entries in the order the walk made them, each derived entry in
    // front of the entry it came from.
    std::vector<TTagEntry> tags{};
    std::string report{};     // CR LF + caption + " = " + value per entry
    std::string errorText{};  // "Error Detected = ..." when the walk broke off

    // Stores a value that a formatter split off (when the decode stores entries).
    void AddDerivedTag(const std::string& name, const std::string& value, uint16_t valueType);
};

// The maker-note decoder: recognises the camera maker from the make text,
// picks the layout of that maker's note and a tag table for it, and walks the
// note with them. The Exif walk makes one for every MakerNote entry and frees
// it right after the decode.
class TmsInfo {
public:
    TmsInfo(bool readingTiff, MakerNote& owner);

    bool readingTiff;
    MakerNote& owner;
    int32_t notePos;       // the note's position; 16 more while a TIFF file is read
    std::string makeText;  // the camera's make once a maker was recognised

    // Walks the note with the layout and table of the camera's maker. True
    // when the maker was recognised and the walk made (which may still have
    // failed: errorText of the note then tells why); false for an unknown maker.
    bool DecodeMakerNote(MakerNote& owner);

    // Decodes one maker-note directory held in noteBytes against a maker's
    // table, in the byte order of the owner. dirOffset is the 0-based offset
    // of the directory's entry count in noteBytes; an offset o stored in an
    // entry designates 1-based position o + dirOffset - originDelta + 2 of
    // noteBytes, and a value that does not lie inside noteBytes is taken from
    // the Exif data at fallbackBase + o. Errors end the walk and leave
    // "Error Detected = ..." in the owner's errorText.
    void WalkMakerNoteDirectory(const std::string& noteBytes, std::span<const TTagEntry> table,
                                int64_t dirOffset, int64_t originDelta, int64_t fallbackBase);

private:
    // WalkMakerNoteDirectory into the note given: DecodeMakerNote walks the
    // note it is handed, WalkMakerNoteDirectory the owner.
    static void walkDirectory(MakerNote& note, const std::string& noteBytes, std::span<const TTagEntry> table,
                              int64_t dirOffset, int64_t originDelta, int64_t fallbackBase);
};

// The table DecodeMakerNote would walk the note with; empty when the camera's
// maker is none whose notes are known.
std::span<const TTagEntry> makerNoteTable(const MakerNote& note, bool readingTiff);

// Whether a note walked with the table may yield a tag of that name (ASCII
// letters compared without regard to case): a key of the table, or a label
// under which its formatters store derived entries.
bool makerNoteMayHold(std::span<const TTagEntry> table, const std::string& name);

// The note being walked, to which the maker-note formatters add their derived
// entries; none outside a walk.
MakerNote* currentMakerNote();

}  // namespace vistado
