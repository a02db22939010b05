#include "meta/endind.h"

#include "meta/rangeerror.h"
#include "meta/text/valuerender.h"

#include <algorithm>

namespace vistado {

namespace {

void checkRange(const std::string& bytes, int64_t pos, int64_t width)
{
    const auto size = static_cast<int64_t>(bytes.size());
    if (pos < 1 || pos > size || width > size - pos + 1)
        outsideBytes(bytes, pos);
}

}  // namespace

void outsideBytes(const std::string& bytes, int64_t pos)
{
    throw ERangeError("position " + std::to_string(pos) + " outside " + std::to_string(bytes.size()) + " bytes");
}

int64_t bytesAvailable(const std::string& bytes, int64_t pos, int64_t count)
{
    const auto size = static_cast<int64_t>(bytes.size());
    if (pos < 1 || pos > size || count <= 0)
        return 0;
    return std::min(count, size - pos + 1);
}

std::string bytesAt(const std::string& bytes, int64_t pos, int64_t count)
{
    const int64_t available = bytesAvailable(bytes, pos, count);
    if (available == 0)
        return {};
    return bytes.substr(static_cast<size_t>(pos - 1), static_cast<size_t>(available));
}

uint16_t tEndInd::Read16At(int64_t pos) const
{
    return read16In(buffer, pos, bigEndian);
}

uint32_t tEndInd::Read32At(int64_t pos) const
{
    return read32In(buffer, pos, bigEndian);
}

int32_t tEndInd::readOffsetAt(int64_t pos) const
{
    return readOffsetIn(buffer, pos, bigEndian);
}

int32_t readOffsetIn(const std::string& bytes, int64_t pos, bool bigEndian)
{
    const uint32_t value = read32In(bytes, pos, bigEndian);
    if (value >= 0x80000000u)
        throw ERangeError("count or offset " + std::to_string(value) + " of 2^31 or more");
    return static_cast<int32_t>(value);
}

EntryHead readEntryHead(const std::string& bytes, int64_t pos, bool bigEndian)
{
    const uint16_t tag = read16In(bytes, pos, bigEndian);
    const uint16_t type = read16In(bytes, pos + 2, bigEndian);
    const int64_t count = readOffsetIn(bytes, pos + 4, bigEndian);
    return {tag, type, count * typeSize(type)};
}

void tEndInd::Write32At(std::string& target, uint32_t value, int64_t pos) const
{
    checkRange(target, pos, 4);
    for (int i = 0; i < 4; ++i) {
        const int shift = bigEndian ? 24 - 8 * i : 8 * i;
        target[static_cast<size_t>(pos - 1 + i)] = static_cast<char>(value >> shift & 0xFF);
    }
}

}  // namespace vistado
