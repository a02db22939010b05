#pragma once

#include "meta/endind.h"
#include "meta/tagentry.h"
#include "meta/exif/tagtables.h"
#include "meta/makernote/makernote.h"

#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace vistado {

class TimgData;

// What a decode produces: rendered values and the report, stored tags, or both
// (what the program uses).
inline constexpr int32_t kDecodeRender = 2;
inline constexpr int32_t kDecodeStore = 4;
inline constexpr int32_t kDecodeAll = 255;
// Only the GPS directory's tags, rendered and stored, for the commands that
// read nothing but the position. Every other entry is still walked and
// checked, so that a file reads to the same end (and the same position) as
// with kDecodeAll; what nobody reads is neither rendered nor stored.
inline constexpr int32_t kDecodePosition = 8;

// The Exif decoder of one image: walks the TIFF directories of the container's
// Exif segment (or TIFF data) and holds the decoded tags, the report and a few
// picked values. Created and owned by its container, which hands in its
// errorText: the walks set it where a directory is broken.
class TImageInfo : public tEndInd {
public:
    TImageInfo(TimgData& owner, int32_t decodeSelector, std::string& errorText);
    virtual ~TImageInfo() = default;
    TImageInfo(const TImageInfo&) = delete;
    TImageInfo& operator=(const TImageInfo&) = delete;

    // The decoded tags in the order they were met, a maker note's among them.
    const std::vector<TTagEntry>& tags() const;
    TimgData& owner;
    std::string exifVersion;  // at most 6 bytes
    std::string cameraMake;   // at most 32 characters
    std::string cameraModel;  // at most 40 characters
    std::string photoDate;    // DateTime, replaced by a later DateTimeOriginal; at most 20
    int32_t imageHeight = 0;
    int32_t imageWidth = 0;
    int32_t heightValuePos = 0;  // segment position of the height entry's value field
    int32_t widthValuePos = 0;
    int32_t flashValue = 0;
    int32_t decodeSelector;
    std::string makerNoteBytes;
    // Raw bytes of IFD0's IPTC-NAA tag: the IPTC datasets of a TIFF file.
    std::string iptcNaaBytes;
    bool readingTiff = false;
    std::string userComment;
    int32_t userCommentPos = 0;
    int32_t userCommentLength = 0;
    int32_t dateTimePos = 0;
    int32_t dateTimeOriginalPos = 0;
    int32_t dateTimeDigitizedPos = 0;
    std::string reportText;  // CR LF + caption + " = " + text per tag of the main walk
    // The same for the maker-note walk.
    const std::string& makerNoteReport() const;
    // Whether the camera's maker was recognised, so that its note is walked.
    bool makerNoteDecoded = false;
    int32_t makerNotePos = 0;

    // Decodes the directory at segment position start. TIFF offsets in it
    // count from base; size is the byte count of the data they live in.
    void WalkDirectory(int64_t start, int64_t base, int64_t size, DirectoryKind kind);

    // The maker note as the walk hands it to its decoder: the note last met,
    // the Exif data around it, what the walk knows of the camera now.
    MakerNote makerNote();

    // Appends a copy unless the entry's tagId is 0; the index of the last
    // stored entry (-1 for an empty list).
    int32_t AddTag(const TTagEntry& entry);
    int32_t AddTag(TTagEntry&& entry);

    void ClearVisited();
    void MarkVisited(int64_t start, int64_t base);
    bool WasVisited(int64_t start, int64_t base) const;

    // Lookups by tag name (ASCII letters compared without regard to case).
    virtual int32_t IndexOfName(const std::string& name) const;
    virtual std::string TagValueText(const std::string& name) const;
    TTagEntry EntryByName(const std::string& name) const;
    double TagNumber(const std::string& name) const;
    int32_t TagInteger(const std::string& name) const;

    std::string SummaryText() const;
    // Writes new pixel dimensions into the width and height entries of the
    // container's Exif segment.
    void AdjustDimensions(int32_t height, int32_t width);
    // Adds FocalLengthin35mmFilm when the image lacks it and its data allows.
    void Derive35mmFocalLength();

private:
    std::string& errorText;  // the container's
    bool renders() const;
    bool stores() const;
    bool writesReport() const;
    // Whether the entries of a directory of this kind are stored (and rendered in full).
    bool keepsEntriesOf(DirectoryKind kind) const;
    // One directory entry in three steps: render its value, take what the decoder keeps of
    // the well-known tags, store the entry.
    void walkEntry(int64_t entryPos, int64_t base, int64_t size, DirectoryKind kind);
    static bool textNeeded(uint16_t tag, const TTagEntry& row);
    static void checkText(const EntryHead& head, const std::string& raw);
    std::string renderEntry(const EntryHead& head, const TTagEntry& row, const std::string& raw, int64_t valuePos);
    void takeWellKnownTag(const EntryHead& head, const std::string& raw, const std::string& text, int64_t entryPos,
                          int64_t valuePos, int64_t base, int64_t size);
    void storeEntry(const TTagEntry& row, uint16_t type, std::string raw, std::string text, int64_t valuePos);
    void walkSubDirectory(int64_t valuePos, int64_t base, int64_t size, DirectoryKind kind);

    // A maker note is walked when a caller first asks for what it may hold
    // (the tag list, the report, or a name a maker-note table or formatter
    // gives), with the make, model and Exif version the walk knew when it
    // met the note; its tags go where the walk met it.
    struct PendingNote {
        size_t at;
        std::span<const TTagEntry> table;
        MakerNote note;
    };
    void decodePendingNote() const;
    void walkPendingNote(PendingNote note);

    std::vector<TTagEntry> tagList;
    std::string noteReport;
    std::optional<PendingNote> pendingNote;
    std::set<std::pair<int64_t, int64_t>> visited;  // (base, start) of every directory walked
    int walkDepth = 0;                               // directories being walked, nested
    int64_t entriesWalked = 0;                       // entries of all directories walked
    ValueBudget valueBudget;                         // shared with the maker-note walks
};

}  // namespace vistado
