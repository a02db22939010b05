#include "meta/imageinfo.h"

#include "meta/imgdata.h"

namespace vistado {

TImageInfo::TImageInfo(TimgData& owner, int32_t decodeSelector)
    : owner(owner), decodeSelector(decodeSelector)
{
    FillDescriptions();
    ClearVisited();
}

bool TImageInfo::Renders() const
{
    return decodeSelector == kDecodeRender || decodeSelector == kDecodeAll;
}

bool TImageInfo::Stores() const
{
    return decodeSelector == kDecodeStore || decodeSelector == kDecodeAll;
}

int32_t TImageInfo::AddTag(const TTagEntry& entry)
{
    if (entry.tagId != 0)
        tags.push_back(entry);
    return static_cast<int32_t>(tags.size()) - 1;
}

void TImageInfo::AddDerivedTag(const std::string& name, const std::string& value,
                               uint16_t valueType)
{
    if (!Stores())
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
    AddTag(entry);
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
