// libFuzzer target: any bytes as an APP13 payload, its location datasets set and the
// segment read back. The other resources and datasets stay byte for byte and in their
// order, and the values read back as written.

#include "meta/iptc/app13writer.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vistado;
    const std::string payload(reinterpret_cast<const char*>(data), size);
    const LocationFields place{"M\xC3\xBCnchen", "Bayern", "Deutschland", "DEU"};
    try {
        const App13Writer read(payload);
        if (read.location().any() || !read.canHold(place))
            return 0;
        const App13Writer again(read.withLocation(place));
        if (again.keptParts() != read.keptParts() || again.location() != place || !again.canHold(place))
            std::abort();
    } catch (const EFieldsNotWritable&) {
    }
    return 0;
}
