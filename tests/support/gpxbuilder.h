#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vistado::test {

struct GpxPoint {
    double time;  // seconds since 1970-01-01 UTC; written with "Z", a fraction when it has one
    double latitude;
    double longitude;
    std::optional<double> height;  // written as ele when there is one
};

// "YYYY-MM-DDThh:mm:ss[.fff]Z".
std::string gpxTime(double utcSeconds);
// One trkpt element, on a line of its own.
std::string gpxTrackPoint(const GpxPoint& point);
// The start of a GPX document of that version ("1.0" or "1.1") up to its first trk's opening
// tag, and its end from that trk's closing tag on.
std::string gpxBegin(const std::string& version = "1.1");
std::string gpxEnd();
// A GPX document of one track whose segments hold the points.
std::string gpxDocument(const std::vector<std::vector<GpxPoint>>& segments, const std::string& version = "1.1");

}  // namespace vistado::test
