#pragma once

#include <cstdint>
#include <string>

namespace vistado {

// Byte-order base shared by the container and the Exif decoder. Positions are
// 1-based: position 1 is the first byte of the string (a segment's first
// length byte).
class tEndInd {
public:
    bool bigEndian = false;  // "MM" (Motorola) when true, "II" (Intel) when false
    std::string buffer;

    uint16_t Read16At(int64_t pos) const;
    uint32_t Read32At(int64_t pos) const;
    // Read32At for a count or an offset: 2^31 or more is a range error.
    int32_t readOffsetAt(int64_t pos) const;
    void Write32At(std::string& target, uint32_t value, int64_t pos) const;
};

// The same readers over any byte string.
uint16_t read16In(const std::string& bytes, int64_t pos, bool bigEndian);
uint32_t read32In(const std::string& bytes, int64_t pos, bool bigEndian);

// The bytes at position pos on, at most count of them: fewer when the string
// ends earlier, none when pos lies outside it. Never raises.
std::string bytesAt(const std::string& bytes, int64_t pos, int64_t count);

}  // namespace vistado
