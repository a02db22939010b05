#include "meta/makernote/makernote.h"

#include "meta/endind.h"
#include "meta/makernote/makernoteformat.h"
#include "meta/rangeerror.h"
#include "meta/text/asciitext.h"
#include "meta/text/settings.h"
#include "meta/text/valuerender.h"

#include <vector>

namespace vistado {

namespace {

MakerNote* walkedNote = nullptr;

// The note being walked for the length of one walk, also when it fails: a
// formatter never reaches a note that may have been freed since.
class WalkedNote {
public:
    explicit WalkedNote(MakerNote& note) { walkedNote = &note; }
    ~WalkedNote() { walkedNote = nullptr; }
    WalkedNote(const WalkedNote&) = delete;
    WalkedNote& operator=(const WalkedNote&) = delete;
};

// One walk of a note's directory: where its offsets point, in the note or in
// the Exif data around it.
struct NoteWalk {
    MakerNote& note;
    const std::string& noteBytes;
    std::span<const TTagEntry> table;
    int64_t base;          // 1-based position in noteBytes of offset 0
    int64_t fallbackBase;  // segment position of offset 0 for values outside the note
    bool offsetsHold;

    bool inNote(int64_t valuePos, int64_t byteCount) const
    {
        return valuePos >= 1 && valuePos + byteCount - 1 <= static_cast<int64_t>(noteBytes.size());
    }
};

// An editor that moves a note without mending its offsets leaves them
// pointing outside the Exif data or into the note's own directory: then no
// value read by offset is what it claims to be.
bool offsetsHold(const NoteWalk& walk, int64_t start, int64_t count)
{
    const bool bigEndian = walk.note.bigEndian;
    const int64_t entriesEnd = start + 2 + 12 * count;
    for (int64_t entryPos = start + 2; entryPos < entriesEnd; entryPos += 12) {
        int64_t byteCount = 0;
        int64_t offset = 0;
        try {
            byteCount = readEntryHead(walk.noteBytes, entryPos, bigEndian).byteCount;
            if (byteCount <= 4)
                continue;
            offset = readOffsetIn(walk.noteBytes, entryPos + 8, bigEndian);
        } catch (const ERangeError&) {
            break;  // the walk ends at this entry
        }
        const int64_t valuePos = walk.base + offset;
        if (walk.inNote(valuePos, byteCount)) {
            if (valuePos < entriesEnd && valuePos + byteCount > start)
                return false;
        } else if (walk.fallbackBase + offset < 1 ||
                   walk.fallbackBase + offset + byteCount - 1 > static_cast<int64_t>(walk.note.exifData.size())) {
            return false;
        }
    }
    return true;
}

void walkEntry(NoteWalk& walk, int64_t entryPos)
{
    MakerNote& note = walk.note;
    const auto [tag, type, byteCount] = readEntryHead(walk.noteBytes, entryPos, note.bigEndian);
    if (byteCount > 4 && !walk.offsetsHold)
        return;
    const int64_t offset = byteCount <= 4 ? 0 : readOffsetIn(walk.noteBytes, entryPos + 8, note.bigEndian);
    const int64_t valuePos = byteCount <= 4 ? entryPos + 8 : walk.base + offset;
    const bool inNote = walk.inNote(valuePos, byteCount);
    const std::string& source = inNote ? walk.noteBytes : note.exifData;
    const int64_t sourcePos = inNote ? valuePos : walk.fallbackBase + offset;
    if (byteCount > 4 && !note.budget.fits(bytesAvailable(source, sourcePos, byteCount), note.exifData))
        return;
    const std::string raw = bytesAt(source, sourcePos, byteCount);

    const TTagEntry* row = nullptr;
    const TTagEntry* mapRow = nullptr;
    for (const TTagEntry& candidate : walk.table) {
        if (candidate.tagId != tag)
            continue;
        if (row == nullptr)
            row = &candidate;
        mapRow = &candidate;
    }
    const std::string caption = row != nullptr ? row->caption : "Unknown";
    if (upperAscii(caption) == "SKIP" || !note.storesTags)
        return;

    std::string text;
    if (type == kTypeAscii)
        text = quotedUpToZero(raw);
    else if (type == kTypeUndefined)
        text = "\"" + raw + "\"";
    else
        text = RenderValue(raw, type, row != nullptr ? row->formatText : std::string(),
                           mapRow != nullptr ? mapRow->valueMap : std::string(), note.bigEndian,
                           makerNoteLengthUsed(row != nullptr ? row->formatter : nullptr));

    setFormatterExpansion(false);
    // A text is shown whole; of other values the start.
    const std::string shown = row != nullptr && row->formatter ? row->formatter(text)
                              : type == kTypeAscii             ? visibleText(text)
                                                               : PrintableText(text);
    const bool expanded = formatterExpansion();
    if (expanded)
        note.report += shown + "\r\n" + caption + " = " + text;
    else
        note.report += "\r\n" + caption + " = " + shown;

    if (row != nullptr && row->tagId != 0) {
        TTagEntry& entry = note.tags.emplace_back(*row);
        entry.tableId = 1;
        entry.text = expanded ? text : shown;
        entry.rawBytes = raw;
        entry.valueType = type;
    }
}

}  // namespace

MakerNote* currentMakerNote()
{
    return walkedNote;
}

void TmsInfo::WalkMakerNoteDirectory(const std::string& noteBytes, std::span<const TTagEntry> table,
                                     int64_t dirOffset, int64_t originDelta, int64_t fallbackBase)
{
    walkDirectory(owner, noteBytes, table, dirOffset, originDelta, fallbackBase);
}

void TmsInfo::walkDirectory(MakerNote& note, const std::string& noteBytes, std::span<const TTagEntry> table,
                            int64_t dirOffset, int64_t originDelta, int64_t fallbackBase)
{
    const WalkedNote walked(note);
    NoteWalk walk{note, noteBytes, table, dirOffset - originDelta + 2, fallbackBase, true};
    try {
        const int64_t start = dirOffset + 1;
        const int64_t count = read16In(noteBytes, start, note.bigEndian);
        walk.offsetsHold = offsetsHold(walk, start, count);
        // Cameras write each tag once; a note that repeats one thousands of
        // times would make every formatter's lines thousands of times.
        std::vector<bool> met(0x10000);
        for (int64_t i = 0; i < count; ++i) {
            const int64_t entryPos = start + 2 + 12 * i;
            const uint16_t tag = read16In(noteBytes, entryPos, note.bigEndian);
            if (!met[tag])
                walkEntry(walk, entryPos);
            met[tag] = true;
        }
    } catch (const ERangeError& error) {
        note.errorText = std::string("Error Detected = ") + error.what();
    }
}

}  // namespace vistado
