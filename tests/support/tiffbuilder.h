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
class TTiffBuilder {
public:
    explicit TTiffBuilder(bool bigEndian) : bigEndian(bigEndian) { AddDirectory(); }

    int AddDirectory();

    // value: the value bytes, already in this builder's byte order.
    void AddEntry(int dir, uint16_t tag, uint16_t type, uint32_t count, const std::string& value);
    // An entry whose 4-byte value field is given as it stands (an offset or
    // an inline value), whatever its type and count say.
    void AddRawEntry(int dir, uint16_t tag, uint16_t type, uint32_t count, uint32_t field);
    void AddAscii(int dir, uint16_t tag, const std::string& text);  // adds the zero byte
    void AddBytes(int dir, uint16_t tag, const std::vector<uint8_t>& values);
    void AddShorts(int dir, uint16_t tag, const std::vector<uint16_t>& values);
    void AddLongs(int dir, uint16_t tag, const std::vector<uint32_t>& values);
    void AddRationals(int dir, uint16_t tag, const std::vector<std::pair<uint32_t, uint32_t>>& values,
                      uint16_t type = 5);
    void AddUndefined(int dir, uint16_t tag, const std::string& bytes);
    // A LONG entry holding the offset of directory target.
    void AddPointer(int dir, uint16_t tag, int target);

    // The offset of the first directory written in the header (default: where
    // IFD0 is, 8).
    void SetFirstDirectoryOffset(uint32_t offset) { firstOffset = offset; hasFirstOffset = true; }

    std::string Build() const;
    // TIFF offset of a directory in what Build returns.
    uint32_t DirectoryOffset(int dir) const;
    // A directory and its values alone, laid out as if it began at TIFF
    // offset at (a maker-note directory, for instance). No pointer entries.
    std::string DirectoryBlock(int dir, uint32_t at) const;

    std::string U16(uint16_t value) const;
    std::string U32(uint32_t value) const;
    bool BigEndian() const { return bigEndian; }

private:
    struct TEntry {
        uint16_t tag;
        uint16_t type;
        uint32_t count;
        std::string value;   // value bytes; placed inline when 4 or fewer
        bool raw = false;    // field holds the value field as it stands
        uint32_t field = 0;
        int target = -1;     // pointer to this directory
    };
    std::string Serialize(int dir, uint32_t at, const std::vector<uint32_t>& dirOffsets) const;
    std::vector<uint32_t> Layout() const;
    uint32_t BlockSize(int dir) const;

    bool bigEndian;
    bool hasFirstOffset = false;
    uint32_t firstOffset = 0;
    std::vector<std::vector<TEntry>> directories;
};

}  // namespace vistado::test
