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

// Raises the range error of a read of width bytes at pos.
[[noreturn]] void outsideBytes(const std::string& bytes, int64_t pos);

// The same readers over any byte string. Inline: the directory walks read
// every entry through them.
inline uint16_t read16In(const std::string& bytes, int64_t pos, bool bigEndian)
{
    if (pos < 1 || pos > static_cast<int64_t>(bytes.size()) - 1)
        outsideBytes(bytes, pos);
    const auto* at = reinterpret_cast<const unsigned char*>(bytes.data()) + (pos - 1);
    return static_cast<uint16_t>(bigEndian ? at[0] << 8 | at[1] : at[1] << 8 | at[0]);
}

inline uint32_t read32In(const std::string& bytes, int64_t pos, bool bigEndian)
{
    if (pos < 1 || pos > static_cast<int64_t>(bytes.size()) - 3)
        outsideBytes(bytes, pos);
    const auto* at = reinterpret_cast<const unsigned char*>(bytes.data()) + (pos - 1);
    return bigEndian ? static_cast<uint32_t>(at[0]) << 24 | static_cast<uint32_t>(at[1]) << 16 |
                           static_cast<uint32_t>(at[2]) << 8 | at[3]
                     : static_cast<uint32_t>(at[3]) << 24 | static_cast<uint32_t>(at[2]) << 16 |
                           static_cast<uint32_t>(at[1]) << 8 | at[0];
}

// read32In for a count or an offset: 2^31 or more is a range error.
int32_t readOffsetIn(const std::string& bytes, int64_t pos, bool bigEndian);

// The fixed part of a TIFF directory entry, as both directory walks read it.
struct EntryHead {
    uint16_t tag;
    uint16_t type;
    int64_t byteCount;  // value count times bytes per value
};
// The head of the entry at pos. A count of 2^31 or more and a type above 12
// are range errors.
EntryHead readEntryHead(const std::string& bytes, int64_t pos, bool bigEndian);

// The bytes at position pos on, at most count of them: fewer when the string
// ends earlier, none when pos lies outside it. Never raises.
std::string bytesAt(const std::string& bytes, int64_t pos, int64_t count);
// How many bytes bytesAt gives for the same arguments.
int64_t bytesAvailable(const std::string& bytes, int64_t pos, int64_t count);

}  // namespace vistado
