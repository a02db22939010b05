#include "meta/text/asciitext.h"
#include "meta/exif/formatters.h"
#include "meta/exif/imageinfo.h"
#include "meta/container/imgdata.h"
#include "meta/rangeerror.h"
#include "meta/text/settings.h"
#include "meta/text/valuerender.h"

#include <utility>
#include <vector>

namespace vistado {

namespace {

// Points the decoder's buffer at the maker-note bytes for one walk and back at
// the Exif data afterwards, also when the walk fails.
class NoteBuffer {
public:
    NoteBuffer(std::string& buffer, const std::string& noteBytes)
        : buffer(buffer), exifSegment(std::exchange(buffer, noteBytes))
    {
    }
    ~NoteBuffer() { buffer = std::move(exifSegment); }
    NoteBuffer(const NoteBuffer&) = delete;
    NoteBuffer& operator=(const NoteBuffer&) = delete;

    const std::string& segment() const { return exifSegment; }

private:
    std::string& buffer;
    std::string exifSegment;
};

}  // namespace

void TImageInfo::WalkMakerNoteDirectory(const std::string& noteBytes,
                                        std::span<const TTagEntry> table, int64_t dirOffset,
                                        int64_t originDelta, int64_t fallbackBase)
{
    const NoteBuffer note(buffer, noteBytes);
    try {
        const int64_t start = dirOffset + 1;
        const int64_t base = dirOffset - originDelta + 2;
        const int64_t count = Read16At(start);
        const bool offsetsHold = noteOffsetsHold(start, count, base, fallbackBase, note.segment());
        // Cameras write each tag once; a note that repeats one thousands of
        // times would make every formatter's lines thousands of times.
        std::vector<bool> met(0x10000);
        for (int64_t i = 0; i < count; ++i) {
            const int64_t entryPos = start + 2 + 12 * i;
            const uint16_t tag = Read16At(entryPos);
            if (!met[tag])
                walkMakerNoteEntry(entryPos, base, table, fallbackBase, note.segment(), offsetsHold);
            met[tag] = true;
        }
    } catch (const ERangeError& error) {
        owner.errorText = std::string("Error Detected = ") + error.what();
    }
}

// An editor that moves a note without mending its offsets leaves them
// pointing outside the Exif data or into the note's own directory: then no
// value read by offset is what it claims to be.
bool TImageInfo::noteOffsetsHold(int64_t start, int64_t count, int64_t base, int64_t fallbackBase,
                                 const std::string& segment) const
{
    const int64_t entriesEnd = start + 2 + 12 * count;
    for (int64_t entryPos = start + 2; entryPos < entriesEnd; entryPos += 12) {
        int64_t byteCount = 0;
        int64_t offset = 0;
        try {
            byteCount = readEntryHead(entryPos).byteCount;
            if (byteCount <= 4)
                continue;
            offset = readOffsetAt(entryPos + 8);
        } catch (const ERangeError&) {
            break;  // the walk ends at this entry
        }
        const int64_t valuePos = base + offset;
        if (valuePos >= 1 && valuePos + byteCount - 1 <= static_cast<int64_t>(buffer.size())) {
            if (valuePos < entriesEnd && valuePos + byteCount > start)
                return false;
        } else if (fallbackBase + offset < 1 ||
                   fallbackBase + offset + byteCount - 1 > static_cast<int64_t>(segment.size())) {
            return false;
        }
    }
    return true;
}

void TImageInfo::walkMakerNoteEntry(int64_t entryPos, int64_t base,
                                    std::span<const TTagEntry> table, int64_t fallbackBase,
                                    const std::string& segment, bool offsetsHold)
{
    const auto [tag, type, byteCount] = readEntryHead(entryPos);
    if (byteCount > 4 && !offsetsHold)
        return;
    const int64_t offset = byteCount <= 4 ? 0 : readOffsetAt(entryPos + 8);
    const int64_t valuePos = byteCount <= 4 ? entryPos + 8 : base + offset;
    const bool inNote =
        valuePos >= 1 && valuePos + byteCount - 1 <= static_cast<int64_t>(buffer.size());
    const std::string& source = inNote ? buffer : segment;
    const int64_t sourcePos = inNote ? valuePos : fallbackBase + offset;
    if (byteCount > 4 && !valueFits(bytesAvailable(source, sourcePos, byteCount), segment))
        return;
    const std::string raw = bytesAt(source, sourcePos, byteCount);

    const TTagEntry* row = nullptr;
    const TTagEntry* mapRow = nullptr;
    for (const TTagEntry& candidate : table) {
        if (candidate.tagId != tag)
            continue;
        if (row == nullptr)
            row = &candidate;
        mapRow = &candidate;
    }
    const std::string caption = row != nullptr ? row->caption : "Unknown";
    if (upperAscii(caption) == "SKIP" || !stores())
        return;

    std::string text;
    if (type == kTypeAscii)
        text = quotedUpToZero(raw);
    else if (type == kTypeUndefined)
        text = "\"" + raw + "\"";
    else
        text = RenderValue(raw, type, row != nullptr ? row->formatText : std::string(),
                           mapRow != nullptr ? mapRow->valueMap : std::string(), bigEndian,
                           renderedLengthUsed(row != nullptr ? row->formatter : nullptr));

    setFormatterExpansion(false);
    // A text is shown whole; of other values the start.
    const std::string shown = row != nullptr && row->formatter ? row->formatter(text)
                              : type == kTypeAscii             ? visibleText(text)
                                                               : PrintableText(text);
    const bool expanded = formatterExpansion();
    if (expanded)
        noteReport += shown + "\r\n" + caption + " = " + text;
    else
        noteReport += "\r\n" + caption + " = " + shown;

    if (row != nullptr) {
        TTagEntry entry = *row;
        entry.tableId = 1;
        entry.text = expanded ? text : shown;
        entry.rawBytes = raw;
        entry.valueType = type;
        AddTag(entry);
    }
}

}  // namespace vistado
