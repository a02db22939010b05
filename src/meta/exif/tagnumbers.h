#pragma once

#include <cstdint>

namespace vistado {

// Numbers of the tags the Exif walk acts on: picked values and pointers to sub-directories.
inline constexpr uint16_t kImageWidth = 0x0100;
inline constexpr uint16_t kImageLength = 0x0101;
inline constexpr uint16_t kMake = 0x010F;
inline constexpr uint16_t kModel = 0x0110;
inline constexpr uint16_t kDateTime = 0x0132;
inline constexpr uint16_t kSubIfds = 0x014A;
inline constexpr uint16_t kIptcNaa = 0x83BB;
inline constexpr uint16_t kExifOffset = 0x8769;
inline constexpr uint16_t kGpsInfo = 0x8825;
inline constexpr uint16_t kExifVersion = 0x9000;
inline constexpr uint16_t kDateTimeOriginal = 0x9003;
inline constexpr uint16_t kDateTimeDigitized = 0x9004;
inline constexpr uint16_t kFlash = 0x9209;
inline constexpr uint16_t kMakerNote = 0x927C;
inline constexpr uint16_t kUserComment = 0x9286;
inline constexpr uint16_t kExifImageWidth = 0xA002;
inline constexpr uint16_t kExifImageLength = 0xA003;
inline constexpr uint16_t kInteroperabilityOffset = 0xA005;

}  // namespace vistado
