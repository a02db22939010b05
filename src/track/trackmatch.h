#pragma once

#include "track/track.h"

#include <optional>

namespace vistado {

// The most time between two points of a segment that are interpolated, and the most time a
// photo may lie before or after the point whose position it takes.
inline constexpr double kMaxTrackSeconds = 1800;

struct TrackPosition {
    double latitude;   // decimal degrees, negative for south
    double longitude;  // decimal degrees, negative for west
    std::optional<double> height;  // metres
};

// What the track says about one moment.
struct TrackMatch {
    std::optional<TrackPosition> position;  // none: "keine Trackposition"
    // Seconds from the moment to the track's nearest point; none for a track without points.
    std::optional<double> nearestSeconds;
};

// The position of the track at a moment (seconds since 1970-01-01 UTC):
// - exactly at a point's time: that point (the first read of several at that time);
// - between two points of one segment at most kMaxTrackSeconds apart: interpolated linearly
//   (the height only when both points have one; the shorter way round in longitude);
// - otherwise the nearer of the points in front and behind, when it is at most
//   kMaxTrackSeconds away: its position (before the first point or after the last of a
//   segment, or in a gap of the recording);
// - otherwise none.
TrackMatch matchTrack(const Track& track, double utcSeconds);

}  // namespace vistado
