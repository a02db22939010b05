#pragma once

#include <cstdint>
#include <string>

namespace vistado {

// One JPEG segment held in memory, copied by value.
struct tSection {
    std::string bytes;    // the two length bytes (high first) and the payload, as in the file
    uint32_t marker = 0;  // second byte of the marker: 0xE1 APP1, 0xED APP13, 0xFE COM, ...
    int32_t length = 0;   // value of the length field; counts itself and the payload
    // Where the segment's 0xFF stood in the file it was read from (its marker
    // code, when none stood in front); -1 for a segment made in memory.
    int64_t fileOffset = -1;
};

}  // namespace vistado
