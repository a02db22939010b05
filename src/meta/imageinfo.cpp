#include "meta/imageinfo.h"

#include "meta/imgdata.h"

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
    tags.reserve(kTagsReserved);
}

bool TImageInfo::renders() const
{
    return decodeSelector == kDecodeRender || decodeSelector == kDecodeAll;
}

bool TImageInfo::stores() const
{
    return decodeSelector == kDecodeStore || decodeSelector == kDecodeAll;
}

int32_t TImageInfo::AddTag(const TTagEntry& entry)
{
    return AddTag(TTagEntry(entry));
}

int32_t TImageInfo::AddTag(TTagEntry&& entry)
{
    if (entry.tagId != 0)
        tags.push_back(std::move(entry));
    return static_cast<int32_t>(tags.size()) - 1;
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
