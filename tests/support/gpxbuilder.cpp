#include "gpxbuilder.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace vistado::test {

std::string gpxTime(double utcSeconds)
{
    const double whole = std::floor(utcSeconds);
    const std::time_t seconds = static_cast<std::time_t>(whole);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[64];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    std::string result = text;
    if (utcSeconds != whole) {
        std::snprintf(text, sizeof text, "%.3f", utcSeconds - whole);
        result += text + 1;  // without the "0" in front of the point
    }
    return result + "Z";
}

std::string gpxTrackPoint(const GpxPoint& point)
{
    char text[256];
    std::snprintf(text, sizeof text, "<trkpt lat=\"%.7f\" lon=\"%.7f\">", point.latitude, point.longitude);
    std::string element = text;
    if (point.height) {
        std::snprintf(text, sizeof text, "<ele>%.2f</ele>", *point.height);
        element += text;
    }
    return element + "<time>" + gpxTime(point.time) + "</time></trkpt>\n";
}

std::string gpxBegin(const std::string& version)
{
    const std::string space = version == "1.0" ? "http://www.topografix.com/GPX/1/0" : "http://www.topografix.com/GPX/1/1";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"" + version +
           "\" creator=\"vistado tests\" xmlns=\"" + space + "\">\n<trk><name>Test</name>\n";
}

std::string gpxEnd() { return "</trk>\n</gpx>\n"; }

std::string gpxDocument(const std::vector<std::vector<GpxPoint>>& segments, const std::string& version)
{
    std::string document = gpxBegin(version);
    for (const std::vector<GpxPoint>& segment : segments) {
        document += "<trkseg>\n";
        for (const GpxPoint& point : segment)
            document += gpxTrackPoint(point);
        document += "</trkseg>\n";
    }
    return document + gpxEnd();
}

}  // namespace vistado::test
