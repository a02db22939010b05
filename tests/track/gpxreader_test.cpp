#include "gpxbuilder.h"
#include "testfiles.h"

#include "track/track.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace vistado::test {
namespace {

constexpr double kTen = 1721037600;  // 2024-07-15T10:00:00Z

struct Expected {
    double time;
    double latitude;
    std::optional<double> height;
    uint32_t segment;
};

struct ReadCase {
    const char* name;
    std::vector<std::string> files;  // the documents, one file each, read together
    std::vector<Expected> points;    // in time order; longitudes are all 11
};

std::string point(const char* time, double latitude, const char* more = "")
{
    return "<trkpt lat=\"" + std::to_string(latitude) + "\" lon=\"11\">" + more + "<time>" + time + "</time></trkpt>";
}

std::string gpx11(const std::string& tracks)
{
    return "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"t\" xmlns=\"http://www.topografix.com/GPX/1/1\">" +
           tracks + "</gpx>\n";
}

std::string segment(const std::string& points) { return "<trkseg>" + points + "</trkseg>"; }
std::string track(const std::string& segments) { return "<trk>" + segments + "</trk>"; }

const ReadCase kReadCases[] = {
    {"Gpx11WithHeights",
     {gpx11(track(segment(point("2024-07-15T10:00:00Z", 48, "<ele>520.5</ele>") +
                          point("2024-07-15T10:01:00Z", 49, "<ele> -3 </ele>"))))},
     {{kTen, 48, 520.5, 0}, {kTen + 60, 49, -3, 0}}},
    {"Gpx10",
     {"<gpx version=\"1.0\" xmlns=\"http://www.topografix.com/GPX/1/0\"><trk><trkseg>" +
      point("2024-07-15T10:00:00Z", 48, "<ele>1</ele><speed>3</speed>") + "</trkseg></trk></gpx>"},
     {{kTen, 48, 1, 0}}},
    {"OffsetsAndFractions",
     {gpx11(track(segment(point("2024-07-15T12:00:00+02:00", 48) + point("2024-07-15T04:31:00.25-05:30", 49) +
                          point("2024-07-15T10:02:00.125", 50))))},
     {{kTen, 48, {}, 0}, {kTen + 60.25, 49, {}, 0}, {kTen + 120.125, 50, {}, 0}}},
    {"TracksSegmentsAndFilesNumberedInReadOrder",
     {gpx11(track(segment(point("2024-07-15T10:00:00Z", 48)) + segment(point("2024-07-15T10:01:00Z", 49))) +
            track(segment(point("2024-07-15T10:02:00Z", 50)))),
      gpx11(track(segment(point("2024-07-15T10:03:00Z", 51))))},
     {{kTen, 48, {}, 0}, {kTen + 60, 49, {}, 1}, {kTen + 120, 50, {}, 2}, {kTen + 180, 51, {}, 3}}},
    {"UnsortedPointsAndFilesAreSortedKeepingSegments",
     {gpx11(track(segment(point("2024-07-15T10:02:00Z", 50) + point("2024-07-15T10:00:00Z", 48)))),
      gpx11(track(segment(point("2024-07-15T10:01:00Z", 49))))},
     {{kTen, 48, {}, 0}, {kTen + 60, 49, {}, 1}, {kTen + 120, 50, {}, 0}}},
    {"DuplicateTimesKeepReadOrder",
     {gpx11(track(segment(point("2024-07-15T10:00:00Z", 49) + point("2024-07-15T10:00:00Z", 48))))},
     {{kTen, 49, {}, 0}, {kTen, 48, {}, 0}}},
    {"PointsWithoutValidTimeOrPositionArePassedOver",
     {gpx11(track(segment("<trkpt lat=\"47\" lon=\"11\"><ele>5</ele></trkpt>" + point("2024-02-30T10:00:00Z", 46) +
                          point("yesterday", 45) + point("2024-07-15T10:00:00Z", 95) +
                          "<trkpt lat=\"48,5\" lon=\"11\"><time>2024-07-15T10:00:00Z</time></trkpt>" +
                          point("2024-07-15T10:00:00Z", 48, "<ele>high</ele>"))))},
     {{kTen, 48, {}, 0}}},
    {"OnlyTrackPointsOfTheGpxNamespace",
     {gpx11("<wpt lat=\"40\" lon=\"11\"><time>2024-07-15T10:00:00Z</time></wpt>" +
            track("<extensions><trkseg>" + point("2024-07-15T10:00:00Z", 41) + "</trkseg></extensions>" +
                  segment("<trkpt lat=\"48\" lon=\"11\"><x:time xmlns:x=\"urn:x\">2024-07-15T10:09:00Z</x:time>"
                          "<time>2024-07-15T10:00:00Z</time></trkpt>")))},
     {{kTen, 48, {}, 0}}},
    {"PrefixedNamespace",
     {"<g:gpx xmlns:g=\"http://www.topografix.com/GPX/1/1\"><g:trk><g:trkseg><g:trkpt lat=\"48\" lon=\"11\">"
      "<g:time>2024-07-15T10:00:00Z</g:time></g:trkpt></g:trkseg></g:trk></g:gpx>"},
     {{kTen, 48, {}, 0}}},
};

class GpxReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(GpxReadTest, ReadsTimedPointsSortedWithTheirSegments)
{
    TempDir dir;
    std::vector<std::string> paths;
    for (const std::string& document : GetParam().files) {
        paths.push_back(dir.file("track" + std::to_string(paths.size()) + ".gpx"));
        writeFile(paths.back(), document);
    }
    const Track read = readTrackFiles(paths);
    ASSERT_EQ(read.points().size(), GetParam().points.size());
    for (size_t i = 0; i < read.points().size(); ++i) {
        const TrackPoint& got = read.points()[i];
        const Expected& want = GetParam().points[i];
        EXPECT_NEAR(got.time, want.time, 1e-6) << i;
        EXPECT_DOUBLE_EQ(got.latitude, want.latitude) << i;
        EXPECT_DOUBLE_EQ(got.longitude, 11) << i;
        EXPECT_EQ(got.height, want.height) << i;
        EXPECT_EQ(got.segment, want.segment) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GpxReadTest, testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct RefusedCase {
    const char* name;
    std::optional<std::string> document;  // none: no such file
    const char* reason;
};

const RefusedCase kRefusedCases[] = {
    {"NotGpx", std::string("<?xml version=\"1.0\"?><kml xmlns=\"http://www.opengis.net/kml/2.2\"/>"),
     "keine GPX-Datei"},
    {"BrokenXml", gpx11("<trk>\n<trkseg>\n</trk>"), "Zeile 4: mismatched tag"},
    {"CutShort", gpx11(track(segment(point("2024-07-15T10:00:00Z", 48)))).substr(0, 120), "Zeile 2: unclosed token"},
    {"Empty", std::string(), "Zeile 1: no element found"},
    {"NoText", std::string("\x89PNG\r\n\x1a\n", 8), "Zeile 1: not well-formed (invalid token)"},
    {"Missing", std::nullopt, "No such file or directory"},
};

class GpxRefusedTest : public testing::TestWithParam<RefusedCase> {};

TEST_P(GpxRefusedTest, NamesTheFileAndTheReason)
{
    TempDir dir;
    const std::string good = dir.file("good.gpx");
    writeFile(good, gpxDocument({{{kTen, 48, 11, {}}}}));
    const std::string bad = dir.file("bad.gpx");
    if (GetParam().document)
        writeFile(bad, *GetParam().document);
    try {
        readTrackFiles({good, bad});
        FAIL() << "read";
    } catch (const TrackReadError& error) {
        EXPECT_EQ(std::string(error.what()), "Track nicht lesbar: " + bad + ": " + GetParam().reason);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GpxRefusedTest, testing::ValuesIn(kRefusedCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vistado::test
