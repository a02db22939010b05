#include "meta/container/imgdata.h"
#include "meta/iptc/iptc.h"

namespace vistado {

// A list's own load is the container's work: it opens the file.
bool TIPTCdata::LoadFromImage(const std::string& fileName)
{
    if (owner.iptcList.get() == this)
        return false;
    ClearRecords();
    owner.OpenImage(fileName);  // what it found decides, not whether it succeeded
    if (owner.iptcSection != nullptr)
        ParseSegment(owner.iptcSection->bytes);
    return HasRecords();
}

}  // namespace vistado
