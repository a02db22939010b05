#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vistado::test {

// Builds TIFF data (as in a TIFF file or behind "Exif\0\0" in an APP1
// segment) in either byte order: directory 0 is IFD0, further directories are
// reached through pointer entries. Values longer than 4 bytes are placed
// behind their directory and addressed by offset. Entries can also be given
// raw, to build malformed data.
class TiffBuilder {
public:
    explicit TiffBuilder(bool bigEndian) : motorola(bigEndian) { addDirectory(); }

    int addDirectory();

    // value: the value bytes, already in this builder's byte order.
    void addEntry(int dir, uint16_t tag, uint16_t type, uint32_t count, const std::string& value);
    // An entry whose 4-byte value field is given as it stands (an offset or
    // an inline value), whatever its type and count say.
    void addRawEntry(int dir, uint16_t tag, uint16_t type, uint32_t count, uint32_t field);
    void addAscii(int dir, uint16_t tag, const std::string& text);  // adds the zero byte
    void addBytes(int dir, uint16_t tag, const std::vector<uint8_t>& values);
    void addShorts(int dir, uint16_t tag, const std::vector<uint16_t>& values);
    void addLongs(int dir, uint16_t tag, const std::vector<uint32_t>& values);
    void addRationals(int dir, uint16_t tag, const std::vector<std::pair<uint32_t, uint32_t>>& values,
                      uint16_t type = 5);
    void addUndefined(int dir, uint16_t tag, const std::string& bytes);
    // A LONG entry holding the offset of directory target.
    void addPointer(int dir, uint16_t tag, int target);

    // The offset of the first directory written in the header (default: where
    // IFD0 is, 8).
    void setFirstDirectoryOffset(uint32_t offset) { firstOffset = offset; hasFirstOffset = true; }

    std::string build() const;
    // TIFF offset of a directory in what Build returns.
    uint32_t directoryOffset(int dir) const;
    // A directory and its values alone, laid out as if it began at TIFF
    // offset at (a maker-note directory, for instance). No pointer entries.
    std::string directoryBlock(int dir, uint32_t at) const;

    std::string u16(uint16_t value) const;
    std::string u32(uint32_t value) const;
    bool bigEndian() const { return motorola; }

private:
    struct Entry {
        uint16_t tag;
        uint16_t type;
        uint32_t count;
        std::string value;   // value bytes; placed inline when 4 or fewer
        bool raw = false;    // field holds the value field as it stands
        uint32_t field = 0;
        int target = -1;     // pointer to this directory
    };
    std::string serialize(int dir, uint32_t at, const std::vector<uint32_t>& dirOffsets) const;
    std::vector<uint32_t> layout() const;
    uint32_t blockSize(int dir) const;

    bool motorola;  // big-endian byte order
    bool hasFirstOffset = false;
    uint32_t firstOffset = 0;
    std::vector<std::vector<Entry>> directories;
};

// Big-endian TIFF data of overlapping directories: one starts every 12
// bytes, each of its entries points to one of the first targets of them, and
// each count is the low half of the pointer in front of it.
std::string overlappingDirectories(uint32_t cells, uint32_t targets);

}  // namespace vistado::test
