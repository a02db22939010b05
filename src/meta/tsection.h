#pragma once

#include <cstdint>
#include <string>

namespace vistado {

// One JPEG segment held in memory, copied by value.
struct tSection {
    std::string bytes;    // the two length bytes (high first) and the payload, as in the file
    uint32_t marker = 0;  // second byte of the marker: 0xE1 APP1, 0xED APP13, 0xFE COM, ...
    int32_t length = 0;   // value of the length field; counts itself and the payload
};

}  // namespace vistado
