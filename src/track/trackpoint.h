#pragma once

#include <cstdint>
#include <optional>

namespace vistado {

// One point of a GPS track: when (seconds since 1970-01-01 UTC, with the fraction the file
// gives), where (decimal degrees, negative for south and west) and, when the file says, the
// height in metres. Points are interpolated only between points of the same segment; segments
// are numbered across all tracks and files read together.
struct TrackPoint {
    double time;
    double latitude;
    double longitude;
    std::optional<double> height;
    uint32_t segment;
};

}  // namespace vistado
