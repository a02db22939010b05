#include "gpxbuilder.h"
#include "realjpeg.h"
#include "runprogram.h"
#include "testfiles.h"
#include "track/timezone.h"

#include "meta/container/imgdata.h"
#include "track/civiltime.h"
#include "track/track.h"
#include "track/trackresult.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace vistado::test {
namespace {

constexpr double kTen = 1721037600;  // 2024-07-15T10:00:00Z

// Two segments with heights: 10:00 to 10:20 UTC every five minutes (one point at a fraction
// of a second) and, after a gap of two hours, 12:20 to 12:40.
std::string peerTrack()
{
    std::vector<GpxPoint> first, second;
    for (int i = 0; i <= 4; ++i)
        first.push_back({kTen + i * 300 + (i == 2 ? 0.5 : 0), 48.1 + i * 0.003, 11.5 + i * 0.004, 500 + i * 7.5});
    for (int i = 0; i <= 4; ++i)
        second.push_back({kTen + 8400 + i * 300, 48.2 + i * 0.002, 11.6 - i * 0.003, 600 - i * 5.0});
    return gpxDocument({first, second});
}

struct PeerCase {
    const char* name;
    const char* original;        // DateTimeOriginal
    const char* originalOffset;  // OffsetTimeOriginal, or nullptr
    const char* zone;            // the camera's zone the command is given, or nullptr
    int correction;              // seconds
    const char* computerZone;
    bool positioned;
};

const PeerCase kPeerCases[] = {
    {"InterpolatedInTheGivenZone", "2024:07:15 12:07:30", nullptr, "+02:00", 0, "UTC", true},
    {"OwnOffsetTimeOriginal", "2024:07:15 07:12:10", "-03:00", "+02:00", 0, "UTC", true},
    {"ExactlyOnAPoint", "2024:07:15 10:15:00", nullptr, "+00:00", 0, "UTC", true},
    {"ClockCorrected", "2024:07:15 12:05:00", nullptr, "+02:00", 45, "UTC", true},
    {"SummerTimeOfTheComputer", "2024:07:15 14:31:00", nullptr, nullptr, 0, "Europe/Berlin", true},
    {"BeforeTheTrackWithinReach", "2024:07:15 09:40:00", nullptr, "+00:00", 0, "UTC", true},
    {"BeforeTheTrackOutOfReach", "2024:07:15 09:29:59", nullptr, "+00:00", 0, "UTC", false},
    {"NearTheEndOfASegment", "2024:07:15 10:45:00", nullptr, "+00:00", 0, "UTC", true},
    {"InAGapLongerThanHalfAnHour", "2024:07:15 11:20:00", nullptr, "+00:00", 0, "UTC", false},
    {"AfterTheTrackWithinReach", "2024:07:15 12:55:00", nullptr, "+00:00", 0, "UTC", true},
};

// The GPS tags of each file as ExifTool reads them, in numbers: "-" for a tag that is not
// there.
std::vector<std::vector<std::string>> gpsTagsRead(const std::vector<std::string>& paths)
{
    std::vector<std::string> command = {"exiftool", "-n", "-T", "-GPSLatitude", "-GPSLongitude", "-GPSAltitude",
                                        "-GPSAltitudeRef", "-GPSDateStamp", "-GPSTimeStamp", "-GPSVersionID",
                                        "-GPSLatitudeRef", "-GPSLongitudeRef", "--"};
    command.insert(command.end(), paths.begin(), paths.end());
    const ProgramResult read = runProgram(command);
    EXPECT_EQ(read.exitStatus, 0) << read.err;
    std::vector<std::vector<std::string>> files;
    std::istringstream lines(read.out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        files.emplace_back();
        for (std::string field; std::getline(fields, field, '\t');)
            files.back().push_back(field);
    }
    return files;
}

double metresBetween(double latitude1, double longitude1, double latitude2, double longitude2)
{
    constexpr double kMetresPerDegree = 111195;
    const double north = (latitude2 - latitude1) * kMetresPerDegree;
    const double east = (longitude2 - longitude1) * kMetresPerDegree * std::cos(latitude1 * std::numbers::pi / 180);
    return std::hypot(north, east);
}

class GeotagPeerTest : public testing::TestWithParam<PeerCase> {};

TEST_P(GeotagPeerTest, SamePositionAsExifToolsGeotag)
{
    if (!programAvailable("exiftool"))
        GTEST_SKIP() << "exiftool is not installed";
    const PeerCase& c = GetParam();
    TempDir dir;
    const std::string trackFile = dir.file("track.gpx");
    writeFile(trackFile, peerTrack());
    ProgramOptions inZone;
    inZone.environment["TZ"] = c.computerZone;

    const std::string theirs = dir.file("theirs.jpg");
    writeFile(theirs, realJpeg(16, 16));
    std::vector<std::string> dating = {"exiftool", "-q", "-overwrite_original",
                                       std::string("-DateTimeOriginal=") + c.original};
    if (c.originalOffset)
        dating.push_back(std::string("-OffsetTimeOriginal=") + c.originalOffset);
    dating.insert(dating.end(), {"--", theirs});
    ASSERT_EQ(runProgram(dating).exitStatus, 0);
    const std::string ours = dir.file("ours.jpg");
    writeFile(ours, readFile(theirs));

    const char* zone = c.originalOffset ? c.originalOffset : c.zone;
    std::vector<std::string> geotag = {"exiftool", "-q", "-q", "-overwrite_original", "-geotag", trackFile,
                                       "-api", "GeoMaxIntSecs=1800", "-api", "GeoMaxExtSecs=1800",
                                       std::string("-geotime<${DateTimeOriginal}") + (zone ? zone : "")};
    if (c.correction != 0)
        geotag.push_back("-geosync=" + std::to_string(c.correction));
    geotag.insert(geotag.end(), {"--", theirs});
    runProgram(geotag, inZone);

    CameraClock clock;
    clock.correctionSeconds = c.correction;
    if (c.zone)
        clock.zoneSeconds = parseZoneOffset(c.zone);
    PhotoTrackResult result;
    {
        TimgData photo(kDecodeAll);
        photo.lockForRewrite = false;
        ASSERT_TRUE(photo.OpenImage(ours)) << photo.errorText;
        const TimeZoneWhile computer(c.computerZone);
        result = matchPhoto(*photo.exifDecoder, clock, readTrackFiles({trackFile}));
    }
    const std::vector<TagAssignment> tags = trackGpsTags(result);
    EXPECT_EQ(!tags.empty(), c.positioned) << trackOutcomeText(result);
    if (!tags.empty()) {
        std::vector<std::string> writing = {"exiftool", "-q", "-overwrite_original"};
        for (const TagAssignment& tag : tags)
            writing.push_back("-" + tag.tag + "=" + tag.value);
        writing.insert(writing.end(), {"--", ours});
        const ProgramResult written = runProgram(writing);
        ASSERT_EQ(written.exitStatus, 0) << written.err;
    }

    const std::vector<std::vector<std::string>> read = gpsTagsRead({theirs, ours});
    ASSERT_EQ(read.size(), 2u);
    const std::vector<std::string>& want = read[0];
    const std::vector<std::string>& got = read[1];
    ASSERT_EQ(want.size(), 9u);
    ASSERT_EQ(got.size(), 9u);
    EXPECT_EQ(want[0] != "-", c.positioned) << "ExifTool";
    if (want[0] == "-" || got[0] == "-") {
        EXPECT_EQ(got, want);
        return;
    }
    EXPECT_LT(metresBetween(std::stod(want[0]), std::stod(want[1]), std::stod(got[0]), std::stod(got[1])), 1.0);
    EXPECT_NEAR(std::stod(got[2]), std::stod(want[2]), 0.01);
    for (size_t i = 3; i < want.size(); ++i)
        EXPECT_EQ(got[i], want[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(Cases, GeotagPeerTest, testing::ValuesIn(kPeerCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vistado::test
