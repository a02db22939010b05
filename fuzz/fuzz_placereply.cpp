// libFuzzer target: any bytes as a geocoder reply, scanned into the place
// text the place run writes, in both character sets the program meets.

#include "places/placetext.h"

#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vistado;
    const std::string reply(reinterpret_cast<const char*>(data), size);
    for (const char* charset : {"ISO-8859-1", "UTF-8"}) {
        std::istringstream in(reply);
        nochkeinort(placeTextFromReply(in, charset));
    }
    return 0;
}
