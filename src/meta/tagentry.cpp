#include "meta/tagentry.h"

#include "meta/text/asciitext.h"

namespace vistado {

int32_t indexOfKey(std::span<const TTagEntry> entries, const std::string& key)
{
    // Most keys differ in length: that test comes first, inline.
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].key.size() == key.size() && sameTextAscii(entries[i].key, key))
            return static_cast<int32_t>(i);
    return -1;
}

}  // namespace vistado
