#include "meta/asciitext.h"
#include "meta/imageinfo.h"
#include "meta/imgdata.h"
#include "meta/rangeerror.h"
#include "meta/settings.h"
#include "meta/valuerender.h"

#include <utility>

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
        for (int64_t i = 0; i < count; ++i)
            walkMakerNoteEntry(start + 2 + 12 * i, base, table, fallbackBase, note.segment());
    } catch (const ERangeError& error) {
        owner.errorText = std::string("Error Detected = ") + error.what();
    }
}

void TImageInfo::walkMakerNoteEntry(int64_t entryPos, int64_t base,
                                    std::span<const TTagEntry> table, int64_t fallbackBase,
                                    const std::string& segment)
{
    const auto [tag, type, byteCount] = readEntryHead(entryPos);
    const int64_t offset = byteCount <= 4 ? 0 : readOffsetAt(entryPos + 8);
    const int64_t valuePos = byteCount <= 4 ? entryPos + 8 : base + offset;
    const bool inNote =
        valuePos >= 1 && valuePos + byteCount - 1 <= static_cast<int64_t>(buffer.size());
    const std::string raw = inNote ? bytesAt(buffer, valuePos, byteCount)
                                   : bytesAt(segment, fallbackBase + offset, byteCount);

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
                           mapRow != nullptr ? mapRow->valueMap : std::string(), bigEndian);

    setFormatterExpansion(false);
    const std::string shown =
        row != nullptr && row->formatter ? row->formatter(text) : PrintableText(text);
    const bool expanded = formatterExpansion();
    if (expanded)
        makerNoteReport += shown + "\r\n" + caption + " = " + text;
    else
        makerNoteReport += "\r\n" + caption + " = " + shown;

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
