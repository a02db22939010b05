#include "meta/iptc/iptcsegment.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace vistado {

namespace {

constexpr std::string_view kSignature("Photoshop 3.0\0", 14);
// Resource type, IPTC resource number, an empty name padded to two bytes.
constexpr std::string_view kResourceHead("8BIM\x04\x04\0\0", 8);
constexpr size_t kLongestSegment = 0xFFFF;

void appendBigEndian(std::string& bytes, uint32_t value, int size)
{
    for (int shift = 8 * (size - 1); shift >= 0; shift -= 8)
        bytes += static_cast<char>(value >> shift & 0xFF);
}

}  // namespace

std::string iptcSegmentOf(const std::string& datasets)
{
    std::string payload;
    payload.reserve(kSignature.size() + kResourceHead.size() + 4 + datasets.size() + 1);
    payload.append(kSignature).append(kResourceHead);
    appendBigEndian(payload, static_cast<uint32_t>(datasets.size()), 4);
    payload += datasets;
    if (datasets.size() % 2 != 0)
        payload += '\0';  // resources are padded to an even size
    std::string segment;
    appendBigEndian(segment, static_cast<uint32_t>(std::min(payload.size() + 2, kLongestSegment)), 2);
    return segment + payload;
}

}  // namespace vistado
