#pragma once

#include <cstdint>
#include <string_view>

namespace vistado {

// The JPEG marker codes the container reads and writes: the second byte of
// a marker, behind 0xFF.
inline constexpr uint8_t kApp0 = 0xE0;
inline constexpr uint8_t kApp1 = 0xE1;
inline constexpr uint8_t kApp13 = 0xED;
inline constexpr uint8_t kComment = 0xFE;
inline constexpr uint8_t kEndOfImage = 0xD9;
inline constexpr uint8_t kStartOfScan = 0xDA;

// What an APP1 segment holding an XMP packet begins with.
inline constexpr std::string_view kXmpHeader("http://ns.adobe.com/xap/1.0/\0", 29);

}  // namespace vistado
