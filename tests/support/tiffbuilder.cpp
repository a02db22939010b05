#include "tiffbuilder.h"

namespace vistado::test {

namespace {

constexpr uint32_t kHeaderSize = 8;

uint32_t Padded(uint32_t size)
{
    return size + (size & 1);
}

}  // namespace

int TTiffBuilder::AddDirectory()
{
    directories.emplace_back();
    return static_cast<int>(directories.size()) - 1;
}

void TTiffBuilder::AddEntry(int dir, uint16_t tag, uint16_t type, uint32_t count,
                            const std::string& value)
{
    directories.at(static_cast<size_t>(dir)).push_back({tag, type, count, value});
}

void TTiffBuilder::AddRawEntry(int dir, uint16_t tag, uint16_t type, uint32_t count,
                               uint32_t field)
{
    TEntry entry{tag, type, count, {}};
    entry.raw = true;
    entry.field = field;
    directories.at(static_cast<size_t>(dir)).push_back(entry);
}

void TTiffBuilder::AddAscii(int dir, uint16_t tag, const std::string& text)
{
    AddEntry(dir, tag, 2, static_cast<uint32_t>(text.size() + 1), text + '\0');
}

void TTiffBuilder::AddBytes(int dir, uint16_t tag, const std::vector<uint8_t>& values)
{
    AddEntry(dir, tag, 1, static_cast<uint32_t>(values.size()),
             std::string(values.begin(), values.end()));
}

void TTiffBuilder::AddShorts(int dir, uint16_t tag, const std::vector<uint16_t>& values)
{
    std::string bytes;
    for (uint16_t v : values)
        bytes += U16(v);
    AddEntry(dir, tag, 3, static_cast<uint32_t>(values.size()), bytes);
}

void TTiffBuilder::AddLongs(int dir, uint16_t tag, const std::vector<uint32_t>& values)
{
    std::string bytes;
    for (uint32_t v : values)
        bytes += U32(v);
    AddEntry(dir, tag, 4, static_cast<uint32_t>(values.size()), bytes);
}

void TTiffBuilder::AddRationals(int dir, uint16_t tag,
                                const std::vector<std::pair<uint32_t, uint32_t>>& values,
                                uint16_t type)
{
    std::string bytes;
    for (const auto& [numerator, denominator] : values)
        bytes += U32(numerator) + U32(denominator);
    AddEntry(dir, tag, type, static_cast<uint32_t>(values.size()), bytes);
}

void TTiffBuilder::AddUndefined(int dir, uint16_t tag, const std::string& bytes)
{
    AddEntry(dir, tag, 7, static_cast<uint32_t>(bytes.size()), bytes);
}

void TTiffBuilder::AddPointer(int dir, uint16_t tag, int target)
{
    TEntry entry{tag, 4, 1, {}};
    entry.target = target;
    directories.at(static_cast<size_t>(dir)).push_back(entry);
}

std::string TTiffBuilder::U16(uint16_t value) const
{
    const char high = static_cast<char>(value >> 8);
    const char low = static_cast<char>(value & 0xFF);
    return bigEndian ? std::string{high, low} : std::string{low, high};
}

std::string TTiffBuilder::U32(uint32_t value) const
{
    return bigEndian ? U16(static_cast<uint16_t>(value >> 16)) + U16(static_cast<uint16_t>(value))
                     : U16(static_cast<uint16_t>(value)) + U16(static_cast<uint16_t>(value >> 16));
}

uint32_t TTiffBuilder::BlockSize(int dir) const
{
    const auto& entries = directories[static_cast<size_t>(dir)];
    uint32_t size = 2 + 12 * static_cast<uint32_t>(entries.size()) + 4;
    for (const TEntry& entry : entries)
        if (!entry.raw && entry.target < 0 && entry.value.size() > 4)
            size += Padded(static_cast<uint32_t>(entry.value.size()));
    return size;
}

std::vector<uint32_t> TTiffBuilder::Layout() const
{
    std::vector<uint32_t> offsets;
    uint32_t at = kHeaderSize;
    for (size_t dir = 0; dir < directories.size(); ++dir) {
        offsets.push_back(at);
        at += BlockSize(static_cast<int>(dir));
    }
    return offsets;
}

std::string TTiffBuilder::Serialize(int dir, uint32_t at,
                                    const std::vector<uint32_t>& dirOffsets) const
{
    const auto& entries = directories[static_cast<size_t>(dir)];
    std::string table = U16(static_cast<uint16_t>(entries.size()));
    std::string data;
    uint32_t dataAt = at + 2 + 12 * static_cast<uint32_t>(entries.size()) + 4;
    for (const TEntry& entry : entries) {
        table += U16(entry.tag) + U16(entry.type) + U32(entry.count);
        if (entry.raw) {
            table += U32(entry.field);
        } else if (entry.target >= 0) {
            table += U32(dirOffsets.at(static_cast<size_t>(entry.target)));
        } else if (entry.value.size() <= 4) {
            table += entry.value + std::string(4 - entry.value.size(), '\0');
        } else {
            table += U32(dataAt + static_cast<uint32_t>(data.size()));
            data += entry.value;
            if (entry.value.size() & 1)
                data += '\0';
        }
    }
    return table + U32(0) + data;
}

std::string TTiffBuilder::Build() const
{
    const std::vector<uint32_t> offsets = Layout();
    std::string tiff = bigEndian ? "MM" : "II";
    tiff += U16(42) + U32(hasFirstOffset ? firstOffset : offsets[0]);
    for (size_t dir = 0; dir < directories.size(); ++dir)
        tiff += Serialize(static_cast<int>(dir), offsets[dir], offsets);
    return tiff;
}

uint32_t TTiffBuilder::DirectoryOffset(int dir) const
{
    return Layout().at(static_cast<size_t>(dir));
}

std::string TTiffBuilder::DirectoryBlock(int dir, uint32_t at) const
{
    return Serialize(dir, at, {});
}

}  // namespace vistado::test
