// libFuzzer target: any bytes as the APP13 segment of an image, parsed into
// the IPTC record list. The list values of a record split and join back to
// themselves.

#include "meta/iptc/commalist.h"
#include "meta/container/imgdata.h"
#include "meta/iptc/iptc.h"
#include "meta/iptc/iptctable.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vistado;
    static TimgData owner(kDecodeAll);
    TIPTCdata list(owner);
    list.ParseSegment(std::string(reinterpret_cast<const char*>(data), size));
    for (int32_t i = 0; i < list.RecordCount(); ++i) {
        const TTagEntry record = list.RecordAt(i);
        if (!isListValued(record.tagId))
            continue;
        const auto items = splitCommaList(record.text);
        if (splitCommaList(joinCommaList(items)) != items)
            std::abort();
    }
    list.StoreValue("Keywords", "New York, Rom");
    list.ValueOf("City", "");
    return 0;
}
