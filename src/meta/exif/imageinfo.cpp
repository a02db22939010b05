#include "meta/exif/imageinfo.h"

#include "meta/container/imgdata.h"
#include "meta/makernote/makernote.h"

#include <iterator>
#include <utility>

namespace vistado {

namespace {
// Room for the tags of a typical camera file, so the list rarely grows.
constexpr size_t kTagsReserved = 128;
}  // namespace

TImageInfo::TImageInfo(TimgData& owner, int32_t decodeSelector)
    : owner(owner), decodeSelector(decodeSelector)
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

void TImageInfo::AddDerivedTag(const std::string& name, const std::string& value,
                               uint16_t valueType)
{
    if (!stores())
        return;
    TTagEntry entry;
    entry.tableId = 1;
    entry.valueType = valueType;
    entry.tagId = kDerivedTagId;
    entry.key = name;
    entry.caption = name;
    entry.text = value;
    entry.rawBytes = value;
    entry.maxLength = static_cast<int32_t>(value.size());
    AddTag(std::move(entry));
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

void TImageInfo::walkPendingNote(PendingNote note)
{
    std::swap(cameraMake, note.make);
    std::swap(cameraModel, note.model);
    std::swap(exifVersion, note.version);
    // What the walk reports lasts only until the end of the read, which may be over.
    const std::string errorText = owner.errorText;
    std::vector<TTagEntry> walked = std::exchange(tagList, {});
    TmsInfo makerNote(readingTiff, *this);
    makerNote.DecodeMakerNote(*this);
    std::swap(walked, tagList);
    tagList.insert(tagList.begin() + static_cast<std::ptrdiff_t>(note.at), std::make_move_iterator(walked.begin()),
                   std::make_move_iterator(walked.end()));
    owner.errorText = errorText;
    std::swap(cameraMake, note.make);
    std::swap(cameraModel, note.model);
    std::swap(exifVersion, note.version);
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
