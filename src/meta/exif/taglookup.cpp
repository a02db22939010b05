#include "meta/exif/imageinfo.h"
#include "meta/makernote/makernote.h"
#include "meta/text/numbertext.h"
#include "meta/text/valuerender.h"

namespace vistado {

int32_t TImageInfo::IndexOfName(const std::string& name) const
{
    if (pendingNote && makerNoteMayHold(pendingNote->table, name))
        decodePendingNote();
    return indexOfKey(tagList, name);
}

std::string TImageInfo::TagValueText(const std::string& name) const
{
    const int32_t index = IndexOfName(name);
    return index < 0 ? std::string() : tagList[static_cast<size_t>(index)].text;
}

TTagEntry TImageInfo::EntryByName(const std::string& name) const
{
    const int32_t index = IndexOfName(name);
    return index < 0 ? TTagEntry() : tagList[static_cast<size_t>(index)];
}

double TImageInfo::TagNumber(const std::string& name) const
{
    const int32_t index = IndexOfName(name);
    if (index < 0)
        return 0;
    const TTagEntry& entry = tagList[static_cast<size_t>(index)];
    return NumericValue(entry.rawBytes, entry.valueType, bigEndian);
}

int32_t TImageInfo::TagInteger(const std::string& name) const
{
    return roundToInt32(TagNumber(name));
}

}  // namespace vistado
