#pragma once

#include "meta/exif/imageinfo.h"

#include <cstdint>
#include <span>
#include <string>

namespace vistado {

// The maker-note decoder: recognises the camera maker from the make text,
// picks the layout of that maker's note and a tag table for it, and has the
// Exif decoder walk the note with them. The Exif walk makes one for every
// MakerNote entry and frees it right after the decode.
class TmsInfo {
public:
    TmsInfo(bool readingTiff, TImageInfo& owner);

    bool readingTiff;
    TImageInfo& owner;
    int32_t notePos;       // the owner's makerNotePos; 16 more while a TIFF file is read
    std::string makeText;  // the owner's cameraMake once a maker was recognised

    // Walks the owner's makerNoteBytes with the layout and table of the
    // camera's maker. True when the maker was recognised and the walk made
    // (which may still have failed: the container's errorText then begins
    // "Error Detected = "); false for an unknown maker.
    bool DecodeMakerNote(TImageInfo& owner);
};

// The table DecodeMakerNote would walk the image's note with; empty when
// the camera's maker is none whose notes are known.
std::span<const TTagEntry> makerNoteTable(const TImageInfo& image, bool readingTiff);

// Whether a note walked with the table may yield a tag of that name (ASCII
// letters compared without regard to case): a key of the table, or a label
// under which its formatters store derived entries.
bool makerNoteMayHold(std::span<const TTagEntry> table, const std::string& name);

// The decoder whose maker note is being decoded, to which the maker-note
// formatters add their derived entries; none outside a decode.
TImageInfo* makerNoteImage();

}  // namespace vistado
