#include "track/trackmatch.h"

#include <algorithm>
#include <cmath>

namespace vistado {

namespace {

TrackPosition positionOf(const TrackPoint& point) { return {point.latitude, point.longitude, point.height}; }

TrackPosition interpolated(const TrackPoint& from, const TrackPoint& to, double utcSeconds)
{
    const double share = (utcSeconds - from.time) / (to.time - from.time);
    const auto between = [share](double a, double b) { return a + (b - a) * share; };
    // A segment over the 180th meridian goes the short way, not round the earth.
    double toLongitude = to.longitude;
    if (toLongitude - from.longitude > 180)
        toLongitude -= 360;
    else if (from.longitude - toLongitude > 180)
        toLongitude += 360;
    double longitude = between(from.longitude, toLongitude);
    if (longitude > 180)
        longitude -= 360;
    else if (longitude < -180)
        longitude += 360;
    std::optional<double> height;
    if (from.height && to.height)
        height = between(*from.height, *to.height);
    return {between(from.latitude, to.latitude), longitude, height};
}

}  // namespace

TrackMatch matchTrack(const Track& track, double utcSeconds)
{
    const auto points = track.points();
    const auto byTime = [](const TrackPoint& point, double time) { return point.time < time; };
    const auto first = std::lower_bound(points.begin(), points.end(), utcSeconds, byTime);
    if (first != points.end() && first->time == utcSeconds)
        return {positionOf(*first), 0.0};
    const TrackPoint* before = first == points.begin() ? nullptr : &*(first - 1);
    const TrackPoint* after = first == points.end() ? nullptr : &*first;
    if (before == nullptr && after == nullptr)
        return {};
    const double sinceBefore = before ? utcSeconds - before->time : INFINITY;
    const double untilAfter = after ? after->time - utcSeconds : INFINITY;
    const double nearest = std::min(sinceBefore, untilAfter);
    if (before && after && before->segment == after->segment && after->time - before->time <= kMaxTrackSeconds)
        return {interpolated(*before, *after, utcSeconds), nearest};
    if (nearest > kMaxTrackSeconds)
        return {std::nullopt, nearest};
    // Halfway between, the later point is taken, as ExifTool takes it.
    return {positionOf(sinceBefore < untilAfter ? *before : *after), nearest};
}

}  // namespace vistado
