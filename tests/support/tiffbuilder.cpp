#include "tiffbuilder.h"

namespace vistado::test {

namespace {

constexpr uint32_t kHeaderSize = 8;

uint32_t padded(uint32_t size)
{
    return size + (size & 1);
}

}  // namespace

int TiffBuilder::addDirectory()
{
    directories.emplace_back();
    return static_cast<int>(directories.size()) - 1;
}

void TiffBuilder::addEntry(int dir, uint16_t tag, uint16_t type, uint32_t count,
                            const std::string& value)
{
    directories.at(static_cast<size_t>(dir)).push_back({tag, type, count, value});
}

void TiffBuilder::addRawEntry(int dir, uint16_t tag, uint16_t type, uint32_t count,
                               uint32_t field)
{
    Entry entry{tag, type, count, {}};
    entry.raw = true;
    entry.field = field;
    directories.at(static_cast<size_t>(dir)).push_back(entry);
}

void TiffBuilder::addAscii(int dir, uint16_t tag, const std::string& text)
{
    addEntry(dir, tag, 2, static_cast<uint32_t>(text.size() + 1), text + '\0');
}

void TiffBuilder::addBytes(int dir, uint16_t tag, const std::vector<uint8_t>& values)
{
    addEntry(dir, tag, 1, static_cast<uint32_t>(values.size()),
             std::string(values.begin(), values.end()));
}

void TiffBuilder::addShorts(int dir, uint16_t tag, const std::vector<uint16_t>& values)
{
    std::string bytes;
    for (uint16_t v : values)
        bytes += u16(v);
    addEntry(dir, tag, 3, static_cast<uint32_t>(values.size()), bytes);
}

void TiffBuilder::addLongs(int dir, uint16_t tag, const std::vector<uint32_t>& values)
{
    std::string bytes;
    for (uint32_t v : values)
        bytes += u32(v);
    addEntry(dir, tag, 4, static_cast<uint32_t>(values.size()), bytes);
}

void TiffBuilder::addRationals(int dir, uint16_t tag,
                                const std::vector<std::pair<uint32_t, uint32_t>>& values,
                                uint16_t type)
{
    std::string bytes;
    for (const auto& [numerator, denominator] : values)
        bytes += u32(numerator) + u32(denominator);
    addEntry(dir, tag, type, static_cast<uint32_t>(values.size()), bytes);
}

void TiffBuilder::addUndefined(int dir, uint16_t tag, const std::string& bytes)
{
    addEntry(dir, tag, 7, static_cast<uint32_t>(bytes.size()), bytes);
}

void TiffBuilder::addPointer(int dir, uint16_t tag, int target)
{
    Entry entry{tag, 4, 1, {}};
    entry.target = target;
    directories.at(static_cast<size_t>(dir)).push_back(entry);
}

std::string TiffBuilder::u16(uint16_t value) const
{
    const char high = static_cast<char>(value >> 8);
    const char low = static_cast<char>(value & 0xFF);
    return motorola ? std::string{high, low} : std::string{low, high};
}

std::string TiffBuilder::u32(uint32_t value) const
{
    return motorola ? u16(static_cast<uint16_t>(value >> 16)) + u16(static_cast<uint16_t>(value))
                     : u16(static_cast<uint16_t>(value)) + u16(static_cast<uint16_t>(value >> 16));
}

uint32_t TiffBuilder::blockSize(int dir) const
{
    const auto& entries = directories[static_cast<size_t>(dir)];
    uint32_t size = 2 + 12 * static_cast<uint32_t>(entries.size()) + 4;
    for (const Entry& entry : entries)
        if (!entry.raw && entry.target < 0 && entry.value.size() > 4)
            size += padded(static_cast<uint32_t>(entry.value.size()));
    return size;
}

std::vector<uint32_t> TiffBuilder::layout() const
{
    std::vector<uint32_t> offsets;
    uint32_t at = kHeaderSize;
    for (size_t dir = 0; dir < directories.size(); ++dir) {
        offsets.push_back(at);
        at += blockSize(static_cast<int>(dir));
    }
    return offsets;
}

std::string TiffBuilder::serialize(int dir, uint32_t at,
                                    const std::vector<uint32_t>& dirOffsets) const
{
    const auto& entries = directories[static_cast<size_t>(dir)];
    std::string table = u16(static_cast<uint16_t>(entries.size()));
    std::string data;
    uint32_t dataAt = at + 2 + 12 * static_cast<uint32_t>(entries.size()) + 4;
    for (const Entry& entry : entries) {
        table += u16(entry.tag) + u16(entry.type) + u32(entry.count);
        if (entry.raw) {
            table += u32(entry.field);
        } else if (entry.target >= 0) {
            table += u32(dirOffsets.at(static_cast<size_t>(entry.target)));
        } else if (entry.value.size() <= 4) {
            table += entry.value + std::string(4 - entry.value.size(), '\0');
        } else {
            table += u32(dataAt + static_cast<uint32_t>(data.size()));
            data += entry.value;
            if (entry.value.size() & 1)
                data += '\0';
        }
    }
    return table + u32(0) + data;
}

std::string TiffBuilder::build() const
{
    const std::vector<uint32_t> offsets = layout();
    std::string tiff = motorola ? "MM" : "II";
    tiff += u16(42) + u32(hasFirstOffset ? firstOffset : offsets[0]);
    for (size_t dir = 0; dir < directories.size(); ++dir)
        tiff += serialize(static_cast<int>(dir), offsets[dir], offsets);
    return tiff;
}

uint32_t TiffBuilder::directoryOffset(int dir) const
{
    return layout().at(static_cast<size_t>(dir));
}

std::string TiffBuilder::directoryBlock(int dir, uint32_t at) const
{
    return serialize(dir, at, {});
}

std::string overlappingDirectories(uint32_t cells, uint32_t targets)
{
    const TiffBuilder order(true);
    std::string tiff = "MM" + order.u16(42) + order.u32(8) + order.u16(static_cast<uint16_t>(cells));
    for (uint32_t cell = 0; cell < cells; ++cell)
        tiff += order.u16(0x8769) + order.u16(4) + order.u32(1) + order.u32(8 + 12 * (cell % targets));
    return tiff + order.u32(0);
}

}  // namespace vistado::test
