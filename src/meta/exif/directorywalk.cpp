#include "meta/text/asciitext.h"
#include "meta/exif/formatters.h"
#include "meta/exif/imageinfo.h"
#include "meta/makernote/makernote.h"
#include "meta/text/numbertext.h"
#include "meta/rangeerror.h"
#include "meta/exif/tagnumbers.h"
#include "meta/text/valuerender.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace vistado {

namespace {

// Real files nest three or four directories deep; a chain of pointers much
// deeper than this is malformed and would otherwise exhaust the stack.
constexpr int kMaxDirectoryDepth = 32;

constexpr size_t kMakeLength = 32;
constexpr size_t kModelLength = 40;
constexpr size_t kDateLength = 20;
constexpr size_t kVersionLength = 6;
constexpr int64_t kUserCommentPrefix = 8;

// Positions past 2^31 address no byte of any buffer; they are kept as the
// largest int32 so that stored positions stay meaningful as "outside".
int32_t storedPosition(int64_t pos)
{
    return static_cast<int32_t>(std::clamp<int64_t>(pos, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Counts the sub-directory walks in progress.
class Nesting {
public:
    explicit Nesting(int& depth) : depth(depth) { ++depth; }
    ~Nesting() { --depth; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

private:
    int& depth;
};

}  // namespace

void TImageInfo::WalkDirectory(int64_t start, int64_t base, int64_t size, DirectoryKind kind)
{
    MarkVisited(start, base);
    const int64_t count = Read16At(start);
    if (2 + 12 * count > base + size) {
        errorText = "Illegally sized directory";
        return;
    }
    for (int64_t i = 0; i < count; ++i) {
        // Directories lie side by side, so the entries walked fit the data;
        // more means directories overlap, each walking the same entries again.
        if (12 * ++entriesWalked > size) {
            errorText = "Illegally sized directory";
            return;
        }
        walkEntry(start + 2 + 12 * i, base, size, kind);
    }
}

void TImageInfo::walkEntry(int64_t entryPos, int64_t base, int64_t size, DirectoryKind kind)
{
    const EntryHead head = readEntryHead(buffer, entryPos, bigEndian);
    if (head.byteCount == 0)
        return;
    const int64_t valuePos = head.byteCount <= 4 ? entryPos + 8 : readOffsetAt(entryPos + 8) + base;
    if (head.byteCount > 4 && !valueBudget.fits(bytesAvailable(buffer, valuePos, head.byteCount), buffer))
        return;
    std::string raw = bytesAt(buffer, valuePos, head.byteCount);

    static const TTagEntry noRow;
    const TTagEntry* row = &noRow;
    std::string text;
    if (renders()) {
        row = &tableRow(head.tag, kind);
        if (keepsEntriesOf(kind) || textNeeded(head.tag, *row))
            text = renderEntry(head, *row, raw, valuePos);
        else
            checkText(head, raw);
    }
    takeWellKnownTag(head, raw, text, entryPos, valuePos, base, size);
    if (stores() && keepsEntriesOf(kind) && row->tagId != 0)
        storeEntry(*row, head.type, std::move(raw), std::move(text), valuePos);
}

// Texts the decoder keeps, and values whose formatter may refuse them (which
// ends the walk): these are rendered even where the entry is not kept.
bool TImageInfo::textNeeded(uint16_t tag, const TTagEntry& row)
{
    return row.formatter != nullptr || tag == kMake || tag == kModel || tag == kDateTime ||
           tag == kDateTimeOriginal;
}

void TImageInfo::checkText(const EntryHead& head, const std::string& raw)
{
    if (head.type == kTypeAscii && static_cast<int64_t>(raw.size()) < head.byteCount)
        throw ERangeError("text value runs past the end of the data");
}

// The value as the tag list and the report show it; a user comment is also kept
// apart, without its character-code prefix.
std::string TImageInfo::renderEntry(const EntryHead& head, const TTagEntry& row, const std::string& raw,
                                    int64_t valuePos)
{
    checkText(head, raw);
    std::string text;
    if (head.type == kTypeAscii) {
        // A text is whole: it ends at its first zero byte, not at a length.
        text = textUpToZero(raw);
        const std::string mapped = row.valueMap.empty() ? std::string() : MapLookup(row.valueMap, text);
        if (!mapped.empty())
            text = mapped;
    } else if (head.type == kTypeUndefined && row.valueMap.empty()) {
        text = quotedUpToZero(raw);
    } else {
        // An UNDEFINED value with a map (FileSource, SceneType) is a byte.
        text = RenderValue(raw, head.type == kTypeUndefined ? kTypeByte : head.type, row.formatText, row.valueMap,
                           bigEndian, renderedLengthUsed(row.tagId != 0 ? row.formatter : nullptr));
    }
    if (row.tagId != 0 && row.formatter)
        text = row.formatter(text);
    else
        text = head.type == kTypeAscii ? visibleText(std::move(text)) : PrintableText(std::move(text));
    if (head.tag == kUserComment) {
        const int64_t commentLength = head.byteCount - kUserCommentPrefix - 1;
        userComment = commentLength > 0
            ? trimText(raw.substr(std::min<size_t>(raw.size(), kUserCommentPrefix),
                                  static_cast<size_t>(commentLength)))
            : std::string();
        text = userComment;
        userCommentPos = storedPosition(valuePos);
        userCommentLength = storedPosition(commentLength);
    }
    if (writesReport())
        reportText.append("\r\n").append(row.caption).append(" = ").append(text);
    return text;
}

// The tags the decoder keeps fields of its own for, and the pointers to the
// directories it walks on into.
void TImageInfo::takeWellKnownTag(const EntryHead& head, const std::string& raw, const std::string& text,
                                  int64_t entryPos, int64_t valuePos, int64_t base, int64_t size)
{
    switch (head.tag) {
    case kImageWidth:
    case kExifImageWidth:
        widthValuePos = storedPosition(entryPos + 8);
        imageWidth = roundToInt32(NumericValue(raw, head.type, bigEndian));
        break;
    case kImageLength:
    case kExifImageLength:
        heightValuePos = storedPosition(entryPos + 8);
        imageHeight = roundToInt32(NumericValue(raw, head.type, bigEndian));
        break;
    case kMake:
        cameraMake = text.substr(0, kMakeLength);
        break;
    case kModel:
        cameraModel = text.substr(0, kModelLength);
        break;
    case kDateTime:
        dateTimePos = storedPosition(valuePos);
        photoDate = text.substr(0, kDateLength);
        break;
    case kDateTimeOriginal:
        dateTimeOriginalPos = storedPosition(valuePos);
        photoDate = text.substr(0, kDateLength);
        break;
    case kDateTimeDigitized:
        dateTimeDigitizedPos = storedPosition(valuePos);
        break;
    case kExifVersion:
        exifVersion = raw.substr(0, kVersionLength);
        break;
    case kFlash:
        flashValue = roundToInt32(NumericValue(raw, head.type, bigEndian));
        break;
    case kIptcNaa:
        // Its type (BYTE, UNDEFINED, or LONG as some editors write it) does
        // not matter: the datasets are the bytes as they stand.
        if (walkDepth == 0)
            iptcNaaBytes = raw;
        break;
    case kSubIfds:
    case kExifOffset:
    case kInteroperabilityOffset:
        walkSubDirectory(valuePos, base, size, DirectoryKind::Main);
        break;
    case kGpsInfo:
        walkSubDirectory(valuePos, base, size, DirectoryKind::Gps);
        break;
    case kMakerNote:
        decodePendingNote();  // a second note: the first one goes first
        makerNoteBytes = raw;
        makerNotePos = storedPosition(valuePos);
    {
        MakerNote note = makerNote();
        const std::span<const TTagEntry> table = makerNoteTable(note, readingTiff);
        makerNoteDecoded = !table.empty();
        if (makerNoteDecoded)
            pendingNote.emplace(PendingNote{tagList.size(), table, std::move(note)});
        break;
    }
    default:
        break;
    }
}

void TImageInfo::storeEntry(const TTagEntry& row, uint16_t type, std::string raw, std::string text,
                            int64_t valuePos)
{
    // Made in place: a file holds a hundred tags or more, each stored once.
    TTagEntry& entry = tagList.emplace_back(row);
    entry.maxLength = static_cast<int32_t>(raw.size());
    entry.text = std::move(text);
    entry.rawBytes = std::move(raw);
    entry.rawOffset = storedPosition(valuePos);
    entry.valueType = type;
}

// A broken sub-directory is cut short where it breaks: what it yielded so far
// stays, and the directory that points to it goes on.
void TImageInfo::walkSubDirectory(int64_t valuePos, int64_t base, int64_t size,
                                  DirectoryKind kind)
{
    try {
        const int64_t start = readOffsetAt(valuePos) + base;
        if (WasVisited(start, base) || walkDepth >= kMaxDirectoryDepth)
            return;
        const Nesting nesting(walkDepth);
        WalkDirectory(start, base, size, kind);
    } catch (const ERangeError&) {
        return;
    }
}

}  // namespace vistado
