#include "meta/exif/imageinfo.h"


#include <iterator>
#include <utility>

namespace vistado {

namespace {
// Room for the tags of a typical camera file, so the list rarely grows.
constexpr size_t kTagsReserved = 128;
}  // namespace

TImageInfo::TImageInfo(TimgData& owner, int32_t decodeSelector, std::string& errorText)
    : owner(owner), decodeSelector(decodeSelector), errorText(errorText)
{
    FillDescriptions();
    ClearVisited();
    tagList.reserve(kTagsReserved);
}

bool TImageInfo::renders() const
{
    return decodeSelector == kDecodeRender || decodeSelector == kDecodeAll || decodeSelector == kDecodePosition;
}

bool TImageInfo::stores() const
{
    return decodeSelector == kDecodeStore || decodeSelector == kDecodeAll || decodeSelector == kDecodePosition;
}

bool TImageInfo::writesReport() const
{
    return decodeSelector == kDecodeRender || decodeSelector == kDecodeAll;
}

bool TImageInfo::keepsEntriesOf(DirectoryKind kind) const
{
    return decodeSelector != kDecodePosition || kind == DirectoryKind::Gps;
}

int32_t TImageInfo::AddTag(const TTagEntry& entry)
{
    return AddTag(TTagEntry(entry));
}

int32_t TImageInfo::AddTag(TTagEntry&& entry)
{
    if (entry.tagId != 0)
        tagList.push_back(std::move(entry));
    return static_cast<int32_t>(tagList.size()) - 1;
}

MakerNote TImageInfo::makerNote()
{
    return MakerNote{.bytes = makerNoteBytes,
                     .position = makerNotePos,
                     .exifData = buffer,
                     .cameraMake = cameraMake,
                     .cameraModel = cameraModel,
                     .exifVersion = exifVersion,
                     .bigEndian = bigEndian,
                     .storesTags = stores(),
                     .budget = valueBudget};
}

const std::vector<TTagEntry>& TImageInfo::tags() const
{
    decodePendingNote();
    return tagList;
}

const std::string& TImageInfo::makerNoteReport() const
{
    decodePendingNote();
    return noteReport;
}

// Asking is not changing: the note's tags were there to be had all along.
void TImageInfo::decodePendingNote() const
{
    if (pendingNote)
        const_cast<TImageInfo*>(this)->walkPendingNote(*std::exchange(const_cast<TImageInfo*>(this)->pendingNote, std::nullopt));
}

// The note's error text is not taken: what a walk reports lasts only until the
// end of the read, which may be over.
void TImageInfo::walkPendingNote(PendingNote pending)
{
    MakerNote& note = pending.note;
    TmsInfo decoder(readingTiff, note);
    decoder.DecodeMakerNote(note);
    tagList.insert(tagList.begin() + static_cast<std::ptrdiff_t>(pending.at), std::make_move_iterator(note.tags.begin()),
                   std::make_move_iterator(note.tags.end()));
    noteReport += note.report;
}

void TImageInfo::ClearVisited()
{
    visited.clear();
}

void TImageInfo::MarkVisited(int64_t start, int64_t base)
{
    visited.emplace(base, start);
}

bool TImageInfo::WasVisited(int64_t start, int64_t base) const
{
    return visited.contains({base, start});
}

}  // namespace vistado
